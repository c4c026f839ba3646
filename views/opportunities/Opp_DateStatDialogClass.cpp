#include "views/opportunities/Opp_DateStatDialogClass.h"

#include "resources/opportunities_ids.h"

namespace {
const DateRowDef kRows[Opp_DateStatDialogClass::kRows] = {
    {IDC_OPPT_ROW1_FROM, IDC_OPPT_ROW1_TO, IDC_OPPT_ROW1_FIND, 45, "前结束的销售机会",
     "Opp_HomepageDialogClass.cpp 58: cod_GetEstimateOver Error."},
    {IDC_OPPT_ROW2_FROM, IDC_OPPT_ROW2_TO, IDC_OPPT_ROW2_FIND, 75, "间增加的销售机会",
     "Opp_HomepageDialogClass.cpp 58: cod_GetAdd Error."},
    {IDC_OPPT_ROW3_DATE, 0, IDC_OPPT_ROW3_FIND, 105, "以来没有跟踪过的销售机会",
     "Opp_HomepageDialogClass.cpp 58: cod_NoTrack Error."},
    {IDC_OPPT_ROW4_FROM, IDC_OPPT_ROW4_TO, IDC_OPPT_ROW4_FIND, 135, "间跟踪过的销售机会",
     "Opp_HomepageDialogClass.cpp 58: cod_GetAdd Error."},
    {IDC_OPPT_ROW5_FROM, IDC_OPPT_ROW5_TO, IDC_OPPT_ROW5_FIND, 165, "间成功的销售机会",
     "Opp_HomepageDialogClass.cpp 58: cod_GetAdd Error."},
    {IDC_OPPT_ROW6_FROM, IDC_OPPT_ROW6_TO, IDC_OPPT_ROW6_FIND, 195, "间失败的销售机会",
     "Opp_HomepageDialogClass.cpp 58: cod_GetAdd Error."},
};

const int kMenuIDs[5] = {IDC_OPPT_MENU0, IDC_OPPT_MENU1, IDC_OPPT_MENU2, IDC_OPPT_MENU3, IDC_OPPT_MENU4};

DatePageDef MakeDef() {
    return {
        UM_OPEN_DATE,
        IDC_OPPT_SEARCH_EDIT,
        IDC_OPPT_SEARCH,
        IDC_OPPT_LIST,
        IDC_OPPT_EXPORT,
        IDC_OPPT_HELP,
        OppMenu(kMenuIDs),
        kRows,
        Opp_DateStatDialogClass::kRows,
        "所有项目机会按其日期分类统计如下，用鼠标单击按某日期查找，可以显示符合条件的记录。",
        "用鼠标双击下面的记录可显示详细内容，点击列表标题栏，可重新排序。",
        240,
        238,
        260,
        350,
        "时间相关查询",
    };
}
}  // namespace

Opp_DateStatDialogClass g_Opp_DateStat;

Opp_DateStatDialogClass::Opp_DateStatDialogClass() : DateStatPage<Opp_ListPageClass>(MakeDef()) {}

void Opp_DateStatDialogClass::CreateDateRecordList(HWND hWnd, int nID, int y, int h) {
    CreateOppRecordList(hWnd, nID, y, h, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT);
}

int Opp_DateStatDialogClass::QueryKind(int nKind, const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    switch (nKind) {
    case 1: return m_Opp.cod_GetEstimateOver(stFrom, stTo);
    case 2: return m_Opp.cod_GetAdd(stFrom, stTo);
    case 3: return m_Opp.cod_NoTrack(stFrom);
    case 4: return m_Opp.cod_GetTrack(stFrom, stTo);
    case 5: return m_Opp.cod_GetSucceed(stFrom, stTo);
    case 6: return m_Opp.cod_GetFail(stFrom, stTo);
    default: return 0;
    }
}

void Opp_DateStatDialogClass::PrepareSort(BOOL bToggle, int nColumn) {
    if (bToggle) m_Opp.m_bDesc = !m_Opp.m_bDesc;
    m_Opp.m_iSortColumn = nColumn;
    m_Opp.m_iQueryMode = 2;
}
