#include "views/accounts/Acc_CategoryStatClass.h"

#include <cstdio>

#include "resources/accounts_ids.h"

namespace {
constexpr AccMenuIDs kImportantMenu = AccMenuFrom(IDC_ACCI_MENU0);
constexpr AccMenuIDs kRelationMenu = AccMenuFrom(IDC_ACCR_MENU0);
constexpr AccMenuIDs kProvinceMenu = AccMenuFrom(IDC_ACCP_MENU0);
constexpr AccMenuIDs kOpportunitiesMenu = AccMenuFrom(IDC_ACCO_MENU0);
const ListPageTexts kTexts = {
    "Opp_HomepageDialogClass.cpp 89: m_pulID Error.",
    "Acc_HomepageDialogClass.cpp 135: m_pAccHead Error.",
};
#define ACC_MENU(m) \
    { m.ids[0], m.ids[1], m.ids[2], m.ids[3], m.ids[4], m.ids[5], m.ids[6], m.ids[7], m.ids[8] }
}  // namespace

constexpr AccCategoryRow g_AccCategoryRows[6] = {
    {kAccImportant, UM_OPEN_IMPORTANT, IDC_ACCI_SEARCH_EDIT, IDC_ACCI_SEARCH, IDC_ACCI_CATEGORIES, IDC_ACCI_LIST,
     IDC_ACCI_EXPORT, IDC_ACCI_HELP, ACC_MENU(kImportantMenu), "重要性",
     "所有客户单位按其重要性分类统计如下表，用鼠标单击某重要性分类，可以显示符合条件的记录。", "重要性=\"%s\""},
    {kAccRelation, UM_OPEN_RELATION, IDC_ACCR_SEARCH_EDIT, IDC_ACCR_SEARCH, IDC_ACCR_CATEGORIES, IDC_ACCR_LIST,
     IDC_ACCR_EXPORT, IDC_ACCR_HELP, ACC_MENU(kRelationMenu), "客户关系",
     "所有客户单位按其关系分类统计如下表，用鼠标单击某重要性分类，可以显示符合条件的记录。", "关系=\"%s\""},
    // The type page has the importance page's ids.
    {kAccType, UM_OPEN_TYPE, IDC_ACCI_SEARCH_EDIT, IDC_ACCI_SEARCH, IDC_ACCI_CATEGORIES, IDC_ACCI_LIST, IDC_ACCI_EXPORT,
     IDC_ACCI_HELP, ACC_MENU(kImportantMenu), "客户类型",
     "所有客户单位按其类型分类统计如下表，用鼠标单击某重要性分类，可以显示符合条件的记录。", "类型=\"%s\""},
    // The industry page's menu and help link have the list page's ids.
    {kAccIndustry,
     UM_OPEN_INDUSTRY,
     IDC_ACCN_SEARCH_EDIT,
     IDC_ACCN_SEARCH,
     IDC_ACCN_CATEGORIES,
     IDC_ACCN_LIST,
     IDC_ACCN_EXPORT,
     IDC_ACCN_HELP,
     {IDC_ACCH_MENU0, IDC_ACCH_MENU1, IDC_ACCH_MENU2, IDC_ACCH_MENU3, IDC_ACCH_MENU4, IDC_ACCH_MENU5, IDC_ACCH_MENU6,
      IDC_ACCH_MENU7, IDC_ACCH_MENU8},
     "客户行业",
     "所有客户单位按其行业分类统计如下表，用鼠标单击某重要性分类，可以显示符合条件的记录。",
     "行业=\"%s\""},
    {kAccProvince, UM_OPEN_PROVINCE, IDC_ACCP_SEARCH_EDIT, IDC_ACCP_SEARCH, IDC_ACCP_CATEGORIES, IDC_ACCP_LIST,
     IDC_ACCP_EXPORT, IDC_ACCP_HELP, ACC_MENU(kProvinceMenu), "所在区域",
     "所有客户单位按其区域分类统计如下表，用鼠标单击某重要性分类，可以显示符合条件的记录。", "区域=\"%s\""},
    {kAccOpportunities, UM_OPEN_HASOPP, IDC_ACCO_SEARCH_EDIT, IDC_ACCO_SEARCH, IDC_ACCO_CATEGORIES, IDC_ACCO_LIST,
     IDC_ACCO_EXPORT, IDC_ACCO_HELP, ACC_MENU(kOpportunitiesMenu), "是否存在销售机会",
     "所有客户单位按其项目机会分类统计如下表，用鼠标单击某重要性分类，可以显示符合条件的记录。",
     "是否存在销售机会=\"%s\""},
};

Acc_CategoryStatClass::Acc_CategoryStatClass(const AccCategoryRow& row)
    : CategoryStatPage<Acc_ListPageClass>(MakeDef(row)), m_Row(row), m_szFixed{} {
    m_Acc.cad_GetOpportunitiesCategoryName(0, m_szFixed[0]);
    m_Acc.cad_GetOpportunitiesCategoryName(1, m_szFixed[1]);
}

CategoryPageDef Acc_CategoryStatClass::MakeDef(const AccCategoryRow& row) {
    CategoryPageDef page = {};
    page.uOpenMessage = row.uOpenMessage;
    page.nSearchEditID = row.nSearchEditID;
    page.nSearchID = row.nSearchID;
    page.nCategoryListID = row.nCategoryListID;
    page.nExportID = row.nExportID;
    page.nRecordListID = row.nRecordListID;
    page.nHelpID = row.nHelpID;
    page.menu = AccMenu(row.nMenuIDs);
    page.categoryColumns[0] = {row.pszCategoryCaption, 150};
    page.categoryColumns[1] = {"客户数量", 700};
    page.nCategoryColumns = 2;
    page.pszTopLine = row.pszTopLine;
    page.pszTitleFormat = row.pszTitleFormat;
    page.pszQueryError = "Opp_HomepageDialogClass.cpp 58: cod_InitDetail Error.";
    page.pszCountError = "Acc_HomepageDialogClass.cpp 58: cod_InitDetail Error.";
    page.pExportFont = &BaseDialogClass::m_hFontArial;
    return page;
}

int Acc_CategoryStatClass::CategoryCount() const {
    int n = 0, nMax = 0;
    switch (m_Row.kind) {
    case kAccImportant: n = m_Acc.m_nImportant, nMax = Acc_DetailClass::MAX_IMPORTANT; break;
    case kAccRelation: n = m_Acc.m_nRelation, nMax = Acc_DetailClass::MAX_RELATION; break;
    case kAccType: n = m_Acc.m_nType, nMax = Acc_DetailClass::MAX_TYPE; break;
    case kAccIndustry: n = m_Acc.m_nIndustry, nMax = Acc_DetailClass::MAX_INDUSTRY; break;
    case kAccProvince: n = m_Acc.m_nProvince, nMax = Acc_DetailClass::MAX_PROVINCE; break;
    case kAccOpportunities: return 2;
    }
    // Counts are kept for as many categories as any table can hold.
    if (nMax > Acc_DetailClass::MAX_CATEGORY) nMax = Acc_DetailClass::MAX_CATEGORY;
    return n < 0 ? 0 : (n > nMax ? nMax : n);
}

const char* Acc_CategoryStatClass::CategoryName(int i) const {
    if (i < 0 || i >= CategoryCount()) return "";
    switch (m_Row.kind) {
    case kAccImportant: return m_Acc.m_szImportant[i];
    case kAccRelation: return m_Acc.m_szRelation[i];
    case kAccType: return m_Acc.m_szType[i];
    case kAccIndustry: return m_Acc.m_szIndustry[i];
    case kAccProvince: return m_Acc.m_szProvince[i];
    case kAccOpportunities: return m_szFixed[i];
    }
    return "";
}

void Acc_CategoryStatClass::CategoryCell(int i, int nColumn, char* pszBuf, int nSize) const {
    const int nCount = i >= 0 && i < Acc_DetailClass::MAX_CATEGORY ? m_Acc.m_iCount[i] : 0;
    if (nColumn == 1)
        snprintf(pszBuf, (size_t)nSize, "%d", nCount);
    else
        pszBuf[0] = 0;
}

void Acc_CategoryStatClass::CreateCategoryRecordList(HWND hWnd, int nID) {
    CreateAccRecordList(hWnd, nID, 220, 390, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT);
}

int Acc_CategoryStatClass::CountCategories() {
    switch (m_Row.kind) {
    case kAccImportant: return m_Acc.cad_CountByImportant();
    case kAccRelation: return m_Acc.cad_CountByRelation();
    case kAccType: return m_Acc.cad_CountByType();
    case kAccIndustry: return m_Acc.cad_CountByIndustry();
    case kAccProvince: return m_Acc.cad_CountByProvince();
    case kAccOpportunities: return m_Acc.cad_CountByOpportunities();
    }
    return -1;
}

int Acc_CategoryStatClass::QueryCategory(const char* pszName) {
    switch (m_Row.kind) {
    case kAccImportant: return m_Acc.cad_GetByImportant(pszName);
    case kAccRelation: return m_Acc.cad_GetByRelation(pszName);
    case kAccType: return m_Acc.cad_GetByType(pszName);
    case kAccIndustry: return m_Acc.cad_GetByIndustry(pszName);
    case kAccProvince: return m_Acc.cad_GetByProvince(pszName);
    case kAccOpportunities: return m_Acc.cad_GetByOpportunities(m_nCategory);  // by index, not by name
    }
    return -1;
}

const ListPageTexts& Acc_CategoryStatClass::Texts() const { return kTexts; }

void Acc_CategoryStatClass::PrepareSort(BOOL bToggle, int nColumn, BOOL bSorted) {
    if (bToggle) m_Acc.m_bDesc = !m_Acc.m_bDesc;
    m_Acc.m_iSortColumn = nColumn;
    if (bSorted) m_Acc.m_iQueryMode = 2;
}
