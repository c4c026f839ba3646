#include "views/opportunities/Opp_CategoryStatClass.h"
#include "shell/CellText.h"

#include <cstdio>

Opp_CategoryStatClass::Opp_CategoryStatClass(const OppCategoryPageDef& def)
    : CategoryStatPage<Opp_ListPageClass>(MakeDef(def)), m_OppDef(def) {}

CategoryPageDef Opp_CategoryStatClass::MakeDef(const OppCategoryPageDef& def) {
    CategoryPageDef page = {};
    page.menu = OppMenu(def.nMenuIDs);
    page.categoryColumns[0] = {def.pszCategoryCaption, 150};
    page.categoryColumns[1] = {"销售机会数量", 150};
    page.categoryColumns[2] = {"预计销售额", def.nSumWidth};
    page.uOpenMessage = def.uOpenMessage;
    page.nSearchEditID = def.nSearchEditID;
    page.nSearchID = def.nSearchID;
    page.nCategoryListID = def.nCategoryListID;
    page.nExportID = def.nExportID;
    page.nRecordListID = def.nRecordListID;
    page.nHelpID = def.nHelpID;
    page.nCategoryColumns = 3;
    page.pszTopLine = def.pszTopLine;
    page.pszTitleFormat = def.pszTitleFormat;
    page.pszQueryError = g_szOppQueryError;
    page.pExportFont = &BaseDialogClass::m_hFont;
    return page;
}

int Opp_CategoryStatClass::CategoryCount() const {
    const int n = m_OppDef.bPhase ? m_Opp.m_nPhase : m_Opp.m_nImportant;
    const int nMax = m_OppDef.bPhase ? (int)Opp_DetailClass::MAX_PHASE : (int)Opp_DetailClass::MAX_IMPORTANT;
    const int nCap = nMax < (int)Opp_DetailClass::MAX_CATEGORY ? nMax : (int)Opp_DetailClass::MAX_CATEGORY;
    return n < 0 ? 0 : (n > nCap ? nCap : n);
}

const char* Opp_CategoryStatClass::CategoryName(int i) const {
    if (i < 0 || i >= CategoryCount()) return "";
    return m_OppDef.bPhase ? m_Opp.m_szPhase[i] : m_Opp.m_szImportant[i];
}

void Opp_CategoryStatClass::CategoryCell(int i, int nColumn, char* pszBuf, int nSize) const {
    if (nColumn == 1)
        snprintf(pszBuf, (size_t)nSize, "%d", m_Opp.m_iCount[i]);
    else
        cell::FormatAmount(pszBuf, nSize, (double)m_Opp.m_fSum[i]);
}

void Opp_CategoryStatClass::CreateCategoryRecordList(HWND hWnd, int nID) {
    CreateOppRecordList(hWnd, nID, 220, 390, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT);
}

int Opp_CategoryStatClass::CountCategories() {
    return m_OppDef.bPhase ? m_Opp.cod_CountByPhase() : m_Opp.cod_CountByImportant();
}

int Opp_CategoryStatClass::QueryCategory(const char* pszName) {
    return m_OppDef.bPhase ? m_Opp.cod_GetByPhase(pszName) : m_Opp.cod_GetByImportant(pszName);
}

void Opp_CategoryStatClass::PrepareSort(BOOL bToggle, int nColumn, BOOL bSorted) {
    if (bToggle) m_Opp.m_bDesc = !m_Opp.m_bDesc;
    m_Opp.m_iSortColumn = nColumn;
    if (bSorted) m_Opp.m_iQueryMode = 2;
}
