#include "views/contacts/Con_CategoryStatClass.h"

#include <cstdio>

#include "resources/contacts_ids.h"
#include "shell/Report.h"

namespace {
const char kListError[] = "Opp_HomepageDialogClass.cpp 58: cod_InitDetail Error.";
const char kCountError[] = "Acc_HomepageDialogClass.cpp 58: cod_InitDetail Error.";
const ListPageTexts kTexts = {
    "Opp_HomepageDialogClass.cpp 89: m_pulID Error.",
    "Acc_HomepageDialogClass.cpp 135: m_pConHead Error.",
};
}  // namespace

Con_CategoryStatClass::Con_CategoryStatClass(const ConCategoryPageDef& def)
    : CategoryStatPage<Con_ListPageClass>(MakeDef(def)), m_ConDef(def), m_szOppCategory{} {
    for (int i = 0; i < 2; i++) m_Contact.ccd_GetOpportunitiesCategoryName(i, m_szOppCategory[i]);
}

CategoryPageDef Con_CategoryStatClass::MakeDef(const ConCategoryPageDef& def) {
    int nMenuIDs[8];
    for (int k = 0; k < 8; k++) nMenuIDs[k] = def.nMenuBaseID + k;
    CategoryPageDef page = {};
    page.uOpenMessage = def.uOpenMessage;
    page.nSearchEditID = def.nBaseID;
    page.nSearchID = def.nBaseID + 1;
    page.nCategoryListID = def.nBaseID + 2;
    page.nRecordListID = def.nBaseID + 3;
    page.nExportID = def.nBaseID + 4;
    page.nHelpID = def.nMenuBaseID + 8;
    page.menu = ConMenu(nMenuIDs);
    page.categoryColumns[0] = {def.pszCategoryCaption, 150};
    page.categoryColumns[1] = {"联系人数量", def.nCountWidth};
    page.nCategoryColumns = 2;
    page.pszTopLine = def.pszTopLine;
    page.pszTitleFormat = def.pszTitleFormat ? def.pszTitleFormat : "";
    page.pszQueryError = kListError;
    page.pszCountError = kCountError;
    page.pExportFont = &BaseDialogClass::m_hFontArial;
    page.bKeepRows = def.bKeepRows;
    return page;
}

int Con_CategoryStatClass::CategoryCount() const {
    int n = 0, nMax = 0;
    switch (m_ConDef.kind) {
    case ConCategoryPageDef::kImportant:
        n = m_Contact.m_nImportant;
        nMax = Con_DetailClass::MAX_IMPORTANT;
        break;
    case ConCategoryPageDef::kRelation:
        n = m_Contact.m_nRelation;
        nMax = Con_DetailClass::MAX_RELATION;
        break;
    case ConCategoryPageDef::kIndustry:
        n = m_Contact.m_nIndustry;
        nMax = Con_DetailClass::MAX_INDUSTRY;
        break;
    case ConCategoryPageDef::kProvince:
        n = m_Contact.m_nProvince;
        nMax = Con_DetailClass::MAX_PROVINCE;
        break;
    case ConCategoryPageDef::kOpportunities: return 2;
    }
    // Never more than the counts the data object holds.
    if (nMax > (int)Con_DetailClass::MAX_CATEGORY) nMax = Con_DetailClass::MAX_CATEGORY;
    return n < 0 ? 0 : (n > nMax ? nMax : n);
}

const char* Con_CategoryStatClass::CategoryName(int i) const {
    if (i < 0 || i >= CategoryCount()) return "";
    switch (m_ConDef.kind) {
    case ConCategoryPageDef::kImportant: return m_Contact.m_szImportant[i];
    case ConCategoryPageDef::kRelation: return m_Contact.m_szRelation[i];
    case ConCategoryPageDef::kIndustry: return m_Contact.m_szIndustry[i];
    case ConCategoryPageDef::kProvince: return m_Contact.m_szProvince[i];
    case ConCategoryPageDef::kOpportunities: return m_szOppCategory[i];
    }
    return "";
}

void Con_CategoryStatClass::CategoryCell(int i, int nColumn, char* pszBuf, int nSize) const {
    snprintf(pszBuf, (size_t)nSize, "%d", i >= 0 && i < (int)Con_DetailClass::MAX_CATEGORY ? m_Contact.m_iCount[i] : 0);
}

void Con_CategoryStatClass::CreateCategoryRecordList(HWND hWnd, int nID) {
    CreateConRecordList(hWnd, nID, 220, 390, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT, m_ConDef.nBaseID + 5, 198);
}

int Con_CategoryStatClass::CountCategories() {
    int nResult = -1;
    switch (m_ConDef.kind) {
    case ConCategoryPageDef::kImportant: nResult = m_Contact.ccd_CountByImportant(); break;
    case ConCategoryPageDef::kRelation: nResult = m_Contact.ccd_CountByRelation(); break;
    case ConCategoryPageDef::kIndustry: nResult = m_Contact.ccd_CountByIndustry(); break;
    case ConCategoryPageDef::kProvince: nResult = m_Contact.ccd_CountByProvince(); break;
    case ConCategoryPageDef::kOpportunities: nResult = m_Contact.ccd_CountByOpportunities(); break;
    }
    return nResult;
}

int Con_CategoryStatClass::QueryCategoryInto(Con_DetailClass& contacts, int i) const {
    if (i < 0 || i >= CategoryCount()) return 0;
    const char* pszName = CategoryName(i);
    switch (m_ConDef.kind) {
    case ConCategoryPageDef::kImportant: return contacts.ccd_GetByImportant(pszName);
    case ConCategoryPageDef::kRelation: return contacts.ccd_GetByRelation(pszName);
    case ConCategoryPageDef::kIndustry: return contacts.ccd_GetByIndustry(pszName);
    case ConCategoryPageDef::kProvince: return contacts.ccd_GetByProvince(pszName);
    case ConCategoryPageDef::kOpportunities: return contacts.ccd_GetByOpportunities(i);
    }
    return 0;
}

int Con_CategoryStatClass::QueryCategory(const char* pszName) { return QueryCategoryInto(m_Contact, m_nCategory); }

const ListPageTexts& Con_CategoryStatClass::Texts() const { return kTexts; }

void Con_CategoryStatClass::PrepareSort(BOOL bToggle, int nColumn, BOOL bSorted) {
    if (bToggle) m_Contact.m_bDesc = !m_Contact.m_bDesc;
    m_Contact.m_iSortColumn = nColumn;
    if (bSorted) m_Contact.m_iQueryMode = 2;
}

void Con_CategoryStatClass::HandOverToMail() {
    const HistoryNode* pNode = OwnHistoryNode();
    if (!pNode || pNode->m_nKind != 1) {
        HandContactsToMail(nullptr, nullptr);
        return;
    }
    const int nCategory = pNode->m_nParam;
    HandContactsToMail([&](Con_DetailClass& c) {
        const int n = QueryCategoryInto(c, nCategory);
        if (n < 0) ReportError(kListError);
        return n;
    });
}
