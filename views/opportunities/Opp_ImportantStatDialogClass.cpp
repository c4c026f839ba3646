#include "views/opportunities/Opp_ImportantStatDialogClass.h"

#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "resources/opportunities_ids.h"

namespace {
WNDPROC g_pfnOldSearchEdit = nullptr;

const OppCategoryPageDef kPage = {
    FALSE,
    UM_OPEN_IMPORTANT,
    IDC_OPPI_SEARCH_EDIT,
    IDC_OPPI_SEARCH,
    IDC_OPPI_CATEGORIES,
    IDC_OPPI_EXPORT,
    IDC_OPPI_LIST,
    IDC_OPPI_HELP,
    {IDC_OPPI_MENU0, IDC_OPPI_MENU1, IDC_OPPI_MENU2, IDC_OPPI_MENU3, IDC_OPPI_MENU4},
    "重要性",
    550,
    "所有项目机会按其重要性分类统计如下表，用鼠标单击某重要性分类，可以显示符合条件的记录。",
    "重要性=\"%s\"",
    SearchEditProc_OppImportantStat,
    &g_pfnOldSearchEdit,
};
}  // namespace

Opp_ImportantStatDialogClass g_Opp_ImportantStat;

LRESULT CALLBACK SearchEditProc_OppImportantStat(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (PageFrameClass::IsEnterInEdit(hWnd, uMsg, wParam, IDC_OPPI_SEARCH_EDIT))
        SearchOnListPage(&g_Opp_Homepage, g_Opp_Homepage.m_szKeyword, hWnd);
    return CallWindowProcA(g_pfnOldSearchEdit, hWnd, uMsg, wParam, lParam);
}

Opp_ImportantStatDialogClass::Opp_ImportantStatDialogClass() : Opp_CategoryStatClass(kPage) {}
