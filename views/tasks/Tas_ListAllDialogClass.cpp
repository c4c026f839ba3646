#include "views/tasks/Tas_ListAllDialogClass.h"

#include "resources/tasks_ids.h"

namespace {
const int kMenuIDs[kTasMenuEntries] = {IDC_TASL_MENU_NEW,  IDC_TASL_MENU_ALL,   IDC_TASL_MENU_TODAY, IDC_TASL_MENU_DAY,
                                       IDC_TASL_MENU_WEEK, IDC_TASL_MENU_MONTH, IDC_TASL_MENU_CLOSED};

KeywordPageDef MakeDef() {
    return {
        IDC_TASL_SEARCH_EDIT,
        IDC_TASL_SEARCH,
        IDC_TASL_LIST,
        0,  // no export
        IDC_TASL_HELP,
        TasMenu(kMenuIDs),
        "所有的计划日志共%d条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。",
        "搜索关键字=\"%s\"的记录共%d条",
        g_szTasQueryError,
        g_szTasListTitle,
        LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM,
        FALSE,  // opening empties the search box
    };
}
}  // namespace

Tas_ListAllDialogClass g_Tas_ListAll;

Tas_ListAllDialogClass::Tas_ListAllDialogClass() : KeywordListPage<Tas_ListPageClass>(MakeDef()) {}

void Tas_ListAllDialogClass::CreateKeywordRecordList(HWND hWnd, int nID) { CreateTasRecordList(hWnd, nID, 40, 573); }

int Tas_ListAllDialogClass::QueryList(int nMode) {
    // The store lists newest first; the page shows them the other way round.
    m_Tas.m_iQueryMode = nMode == 1 ? 1 : 0;
    return m_Tas.ctd_GetAllTasks();
}
