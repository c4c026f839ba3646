#include "views/accounts/Acc_DateStatDialogClass.h"

#include "resources/accounts_ids.h"

namespace {
const DateRowDef kRows[Acc_DateStatDialogClass::kRows] = {
    {IDC_ACCT_ROW1_FROM, IDC_ACCT_ROW1_TO, IDC_ACCT_ROW1_FIND, 45, "间增加的客户单位",
     "Opp_HomepageDialogClass.cpp 58: cod_GetAdd Error."},
    {IDC_ACCT_ROW2_DATE, 0, IDC_ACCT_ROW2_FIND, 75, "以来没有跟踪过的客户单位",
     "Opp_HomepageDialogClass.cpp 58: cod_NoTrack Error."},
    {IDC_ACCT_ROW3_FROM, IDC_ACCT_ROW3_TO, IDC_ACCT_ROW3_FIND, 105, "间跟踪过的客户单位",
     "Opp_HomepageDialogClass.cpp 58: cod_GetAdd Error."},
};

const ListPageTexts kTexts = {
    "Opp_HomepageDialogClass.cpp 89: m_pulID Error.",
    "Opp_HomepageDialogClass.cpp 135: m_pOppHead Error.",
};

constexpr AccMenuIDs kMenu = AccMenuFrom(IDC_ACCT_MENU0);

DatePageDef MakeDef() {
    return {
        UM_OPEN_DATE,
        IDC_ACCT_SEARCH_EDIT,
        IDC_ACCT_SEARCH,
        IDC_ACCT_LIST,
        IDC_ACCT_EXPORT,
        IDC_ACCT_HELP,
        AccMenu(kMenu.ids),
        kRows,
        Acc_DateStatDialogClass::kRows,
        "所有客户单位按其日期分类统计如下，用鼠标单击按某日期查找，可以显示符合条件的记录。",
        "用鼠标双击下面的记录可显示详细内容，点击列表标题栏，可重新排序。",
        147,
        147,
        170,
        440,
        "时间相关查询",
    };
}
}  // namespace

Acc_DateStatDialogClass g_Acc_DateStat;

Acc_DateStatDialogClass::Acc_DateStatDialogClass() : DateStatPage<Acc_ListPageClass>(MakeDef()) {}

void Acc_DateStatDialogClass::CreateDateRecordList(HWND hWnd, int nID, int y, int h) {
    CreateAccRecordList(hWnd, nID, y, h, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT);
}

int Acc_DateStatDialogClass::QueryKind(int nKind, const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    switch (nKind) {
    case 1: return m_Acc.cad_GetAdd(stFrom, stTo);
    case 2: return m_Acc.cad_NoTrack(stFrom);
    case 3: return m_Acc.cad_GetTrack(stFrom, stTo);
    default: return 0;
    }
}

void Acc_DateStatDialogClass::PrepareSort(BOOL bToggle, int nColumn) {
    if (bToggle) m_Acc.m_bDesc = !m_Acc.m_bDesc;
    m_Acc.m_iSortColumn = nColumn;
    m_Acc.m_iQueryMode = 2;
}

const ListPageTexts& Acc_DateStatDialogClass::Texts() const { return kTexts; }
