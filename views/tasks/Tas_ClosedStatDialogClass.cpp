#include "views/tasks/Tas_ClosedStatDialogClass.h"

#include <cstdio>

#include "resources/tasks_ids.h"

namespace {
const int kMenuIDs[kTasMenuEntries] = {IDC_TASC_MENU_NEW,  IDC_TASC_MENU_ALL,   IDC_TASC_MENU_TODAY, IDC_TASC_MENU_DAY,
                                       IDC_TASC_MENU_WEEK, IDC_TASC_MENU_MONTH, IDC_TASC_MENU_CLOSED};

const ListPageTexts kTexts = {
    "Opp_HomepageDialogClass.cpp 89: m_pulID Error.",
    "Acc_HomepageDialogClass.cpp 135: m_pConHead Error.",
};

CategoryPageDef MakeDef() {
    CategoryPageDef def = {};
    def.uOpenMessage = UM_OPEN_CLOSED;
    def.nSearchEditID = IDC_TASC_SEARCH_EDIT;
    def.nSearchID = IDC_TASC_SEARCH;
    def.nCategoryListID = IDC_TASC_CATEGORIES;
    def.nExportID = IDC_TASC_EXPORT;
    def.nRecordListID = IDC_TASC_LIST;
    def.nHelpID = IDC_TASC_HELP;
    def.menu = TasMenu(kMenuIDs);
    def.categoryColumns[0] = {"是否已完成", 150};
    def.categoryColumns[1] = {"计划日志数量", 150};
    def.nCategoryColumns = 2;
    def.pszTopLine = "所有计划日至按其是否完成分类统计如下表，用鼠标单击是否完成分类，可以显示符合条件的记录。";
    def.pszTitleFormat = g_szTasListTitle;
    def.pszQueryError = "Opp_HomepageDialogClass.cpp 58: cod_InitDetail Error.";
    def.pExportFont = &BaseDialogClass::m_hFont;
    return def;
}
}  // namespace

Tas_ClosedStatDialogClass g_Tas_ClosedStat;

Tas_ClosedStatDialogClass::Tas_ClosedStatDialogClass() : CategoryStatPage<Tas_ListPageClass>(MakeDef()) {
    for (int i = 0; i < 2; i++)
        if (m_Tas.ctd_GetClosedCategoryName(i, m_szNames[i]) != 0) m_szNames[i][0] = 0;
}

const ListPageTexts& Tas_ClosedStatDialogClass::Texts() const { return kTexts; }

void Tas_ClosedStatDialogClass::CreateCategoryRecordList(HWND hWnd, int nID) {
    CreateTasRecordList(hWnd, nID, 220, 390);
}

int Tas_ClosedStatDialogClass::CountCategories() { return m_Tas.ctd_CountByClosed() == -1 ? -1 : 0; }

const char* Tas_ClosedStatDialogClass::CategoryName(int i) const { return i == 0 || i == 1 ? m_szNames[i] : ""; }

void Tas_ClosedStatDialogClass::CategoryCell(int i, int nColumn, char* pszBuf, int nSize) const {
    snprintf(pszBuf, (size_t)nSize, "%d", i == 0 || i == 1 ? m_Tas.m_iCount[i] : 0);
}

int Tas_ClosedStatDialogClass::QueryCategory(const char* pszName) {
    // The category index is the tas_closed value listed.
    return m_Tas.ctd_GetByClosed(m_nCategory == 1 ? 1 : 0);
}
