#include "views/opportunities/Opp_HomepageDialogClass.h"

#include "resources/opportunities_ids.h"

namespace {
const int kMenuIDs[5] = {IDC_OPPH_MENU0, IDC_OPPH_MENU1, IDC_OPPH_MENU2, IDC_OPPH_MENU3, IDC_OPPH_MENU4};
constexpr UINT kColumnMask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;

KeywordPageDef MakeDef() {
    return {
        IDC_OPPH_SEARCH_EDIT,
        IDC_OPPH_SEARCH,
        IDC_OPPH_LIST,
        IDC_OPPH_EXPORT,
        IDC_OPPH_HELP,
        OppMenu(kMenuIDs),
        "所有的项目机会共%d条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。",
        "搜索关键字=\"%s\"的记录共%d条",
        "Opp_HomepageDialogClass.cpp 58: cod_InitDetail Error.",
        "所有项目机会",
        kColumnMask,
        FALSE,
    };
}
}  // namespace

Opp_HomepageDialogClass g_Opp_Homepage;

Opp_HomepageDialogClass::Opp_HomepageDialogClass() : KeywordListPage<Opp_ListPageClass>(MakeDef()) {}

void Opp_HomepageDialogClass::CreateKeywordRecordList(HWND hWnd, int nID) {
    CreateOppRecordList(hWnd, nID, 40, 573, kColumnMask);
}

int Opp_HomepageDialogClass::QueryList(int nMode) {
    m_Opp.m_iQueryMode = nMode;
    return m_Opp.cod_InitDetail();
}

void Opp_HomepageDialogClass::PrepareSort(BOOL bToggle, int nColumn) {
    if (bToggle) m_Opp.m_bDesc = !m_Opp.m_bDesc;
    m_Opp.m_iSortColumn = nColumn;
}
