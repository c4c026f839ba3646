#include "views/accounts/Acc_HomepageDialogClass.h"

#include "resources/accounts_ids.h"

namespace {
const int kMenuIDs[9] = {IDC_ACCH_MENU0, IDC_ACCH_MENU1, IDC_ACCH_MENU2, IDC_ACCH_MENU3, IDC_ACCH_MENU4,
                         IDC_ACCH_MENU5, IDC_ACCH_MENU6, IDC_ACCH_MENU7, IDC_ACCH_MENU8};
constexpr UINT kColumnMask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;

KeywordPageDef MakeDef() {
    return {
        IDC_ACCH_SEARCH_EDIT,
        IDC_ACCH_SEARCH,
        IDC_ACCH_LIST,
        IDC_ACCH_EXPORT,
        IDC_ACCH_HELP,
        AccMenu(kMenuIDs),
        "所有的客户单位共%d条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。",
        "搜索关键字=\"%s\"的记录共%d条",
        "Acc_HomepageDialogClass.cpp 94: cad_GetAllAccounts Error.",
        "所有客户",
        kColumnMask,
        TRUE,  // reopening keeps the search box's text
    };
}
}  // namespace

Acc_HomepageDialogClass g_Acc_Homepage;

// The last clicked column starts at 0: the first click on 客户单位 reverses.
Acc_HomepageDialogClass::Acc_HomepageDialogClass() : KeywordListPage<Acc_ListPageClass>(MakeDef()) {
    m_nLastSortColumn = 0;
}

void Acc_HomepageDialogClass::CreateKeywordRecordList(HWND hWnd, int nID) {
    CreateAccRecordList(hWnd, nID, 40, 573, kColumnMask, 220);
}

int Acc_HomepageDialogClass::QueryList(int nMode) {
    m_Acc.m_iQueryMode = nMode;
    return m_Acc.cad_GetAllAccounts();
}

void Acc_HomepageDialogClass::PrepareSort(BOOL bToggle, int nColumn) {
    if (bToggle) m_Acc.m_bDesc = !m_Acc.m_bDesc;
    m_Acc.m_iSortColumn = nColumn;
}
