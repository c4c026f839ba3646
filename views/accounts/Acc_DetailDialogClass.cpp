#include "views/accounts/Acc_DetailDialogClass.h"

#include "dialogs/RelatedPages.h"
#include "platform/gbk/gbk.h"
#include "resources/accounts_ids.h"
#include "shell/Report.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_Form.h"
#include "views/accounts/Acc_ListPageClass.h"

Acc_DetailDialogClass g_Acc_Detail;

RecordFormClass* AccountForm() { return &g_Acc_Detail; }

namespace {
const int kMenuIDs[9] = {IDC_ACCD_MENU0, IDC_ACCD_MENU1, IDC_ACCD_MENU2, IDC_ACCD_MENU3, IDC_ACCD_MENU4,
                         IDC_ACCD_MENU5, IDC_ACCD_MENU6, IDC_ACCD_MENU7, IDC_ACCD_MENU8};

constexpr UINT kCycle = kFieldInTabCycle;

// In Tab order; the description keeps Tab to itself. The name and the postcode
// take no more bytes than their stored width, so saving never cuts a character.
const FormFieldDef kFields[] = {
    {kFieldEdit, IDC_ACCD_NAME, 240, 65, 560, 20, kEditFieldStyle, 49, nullptr, kCycle},
    {kFieldCheck, IDC_ACCD_PRIVATE, 830, 65, 55, 20, kCheckFieldStyle, 0, "私有", kCycle},
    {kFieldMemo, IDC_ACCD_DESCRIPTION, 240, 90, 780, 130, kMemoFieldStyle, 0, nullptr, kCycle},
    {kFieldEdit, IDC_ACCD_TELEPHONE, 240, 230, 150, 20, kEditFieldStyle, 49, nullptr, kCycle},
    {kFieldEdit, IDC_ACCD_FAX, 455, 230, 150, 20, kEditFieldStyle, 49, nullptr, kCycle},
    {kFieldEdit, IDC_ACCD_WEBSITE, 670, 230, 350, 20, kEditFieldStyle, 49, nullptr, kCycle},
    {kFieldEdit, IDC_ACCD_ADDRESS, 240, 260, 365, 20, kEditFieldStyle, 49, nullptr, kCycle},
    {kFieldEdit, IDC_ACCD_POSTCODE, 670, 260, 150, 20, kEditFieldStyle, 9, nullptr, kCycle},
    {kFieldCombo, IDC_ACCD_PROVINCE, 875, 260, 145, 200, kComboFieldStyle, 0, nullptr, kCycle},
    {kFieldCombo, IDC_ACCD_IMPORTANT, 240, 290, 150, 200, kComboFieldStyle, 0, nullptr, kCycle},
    {kFieldCombo, IDC_ACCD_INDUSTRY, 455, 290, 150, 200, kComboFieldStyle, 0, nullptr, kCycle},
    {kFieldCombo, IDC_ACCD_TYPE, 670, 290, 150, 200, kComboFieldStyle, 0, nullptr, kCycle},
    {kFieldCombo, IDC_ACCD_RELATION, 875, 290, 145, 200, kComboFieldStyle, 0, nullptr, kCycle},
    {kFieldDate, IDC_ACCD_CREATE_DATE, 240, 320, 105, 20, WS_TABSTOP, 0, nullptr, kCycle | kFieldCreation},
    {kFieldDate, IDC_ACCD_CONTACT_DATE, 455, 320, 105, 20, WS_DISABLED, 0, nullptr, kFieldFixed},
};

const FormLabelDef kLabels[] = {
    {166, 67, "客户:"},      {166, 92, "客户简述:"},      {166, 232, "主要电话:"}, {410, 232, "传真:"},
    {625, 232, "网站:"},     {166, 262, "地址:"},         {625, 262, "邮编:"},     {830, 262, "区域:"},
    {166, 292, "重要性:"},   {410, 292, "行业:"},         {625, 292, "类型:"},     {830, 292, "关系:"},
    {166, 322, "创建日期:"}, {350, 322, "最近联系日期:"}, {166, 352, "关联信息:"},
};

const RelationTabDef kTabs[3] = {
    {"计划日志", RelatedTasksPageProc_AccDetail},
    {"联系人", RelatedContactsPageProc_AccDetail},
    {"销售机会", RelatedOpportunitiesPageProc_AccDetail},
};

RecordFormDef MakeDef() {
    RecordFormDef def = {};
    def.nButton = TB_ACCOUNTS;
    def.nSearchEditID = IDC_ACCD_SEARCH_EDIT;
    def.nSearchID = IDC_ACCD_SEARCH;
    def.nHelpID = IDC_ACCD_HELP;
    def.menu = AccMenu(kMenuIDs);
    def.ids = {IDC_ACCD_SAVE,  IDC_ACCD_CANCEL, IDC_ACCD_EDIT, IDC_ACCD_DELETE,
               IDC_ACCD_FIRST, IDC_ACCD_PREV,   IDC_ACCD_NEXT, IDC_ACCD_LAST};
    def.SetTables(kFields, kLabels);
    def.SetTabs(240, 350, 780, 262, kTabs);
    def.texts = {
        "Opp_DetailDialogClass.cpp 260: cod_GetOpportunity Error.",
        "Acc_DetailDialogClass.cpp 269: cad_AddAccount Error.",
        "Acc_DetailDialogClass.cpp 281: cad_ChageAccount Error.",
        "Opp_HomepageDialogClass.cpp 89: m_pulID Error.",
    };
    def.pListPage = &g_Acc_Homepage;
    def.pszListKeyword = g_Acc_Homepage.m_szKeyword;
    return def;
}

int Bounded(int n, int nMax) { return n < 0 ? 0 : (n > nMax ? nMax : n); }
}  // namespace

Acc_DetailDialogClass::Acc_DetailDialogClass()
    : RecordFormClass(MakeDef()),
      m_hName(nullptr),
      m_hDescription(nullptr),
      m_hPrivate(nullptr),
      m_hCreateDate(nullptr),
      m_hContactDate(nullptr),
      m_hImportant(nullptr),
      m_hType(nullptr),
      m_hIndustry(nullptr),
      m_hRelation(nullptr),
      m_hAddress(nullptr),
      m_hPostcode(nullptr),
      m_hProvince(nullptr),
      m_hTelephone(nullptr),
      m_hFax(nullptr),
      m_hWebsite(nullptr) {}

void Acc_DetailDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    RecordFormClass::InitDialog(hWnd);
    m_hName = Field(IDC_ACCD_NAME);
    m_hDescription = Field(IDC_ACCD_DESCRIPTION);
    m_hPrivate = Field(IDC_ACCD_PRIVATE);
    m_hCreateDate = Field(IDC_ACCD_CREATE_DATE);
    m_hContactDate = Field(IDC_ACCD_CONTACT_DATE);
    m_hImportant = Field(IDC_ACCD_IMPORTANT);
    m_hType = Field(IDC_ACCD_TYPE);
    m_hIndustry = Field(IDC_ACCD_INDUSTRY);
    m_hRelation = Field(IDC_ACCD_RELATION);
    m_hAddress = Field(IDC_ACCD_ADDRESS);
    m_hPostcode = Field(IDC_ACCD_POSTCODE);
    m_hProvince = Field(IDC_ACCD_PROVINCE);
    m_hTelephone = Field(IDC_ACCD_TELEPHONE);
    m_hFax = Field(IDC_ACCD_FAX);
    m_hWebsite = Field(IDC_ACCD_WEBSITE);
}

void Acc_DetailDialogClass::RefillLookups() {
    ClearCombo(m_hImportant);
    m_Acc.cad_LoadImportantTable();
    LoadCombo(m_hImportant, m_Acc.m_szImportant, Bounded(m_Acc.m_nImportant, Acc_DetailClass::MAX_IMPORTANT));
    ClearCombo(m_hIndustry);
    m_Acc.cad_LoadIndustryTable();
    LoadCombo(m_hIndustry, m_Acc.m_szIndustry, Bounded(m_Acc.m_nIndustry, Acc_DetailClass::MAX_INDUSTRY));
    ClearCombo(m_hRelation);
    m_Acc.cad_LoadRelationTable();
    LoadCombo(m_hRelation, m_Acc.m_szRelation, Bounded(m_Acc.m_nRelation, Acc_DetailClass::MAX_RELATION));
    ClearCombo(m_hProvince);
    m_Acc.cad_LoadProvinceTable();
    LoadCombo(m_hProvince, m_Acc.m_szProvince, Bounded(m_Acc.m_nProvince, Acc_DetailClass::MAX_PROVINCE));
    ClearCombo(m_hType);
    m_Acc.cad_LoadTypeTable();
    LoadCombo(m_hType, m_Acc.m_szType, Bounded(m_Acc.m_nType, Acc_DetailClass::MAX_TYPE));
}

void Acc_DetailDialogClass::RecordToForm() {
    const AccNode* p = m_Acc.m_pCurrent;
    if (!p) return;
    SetWindowTextA(m_hName, p->acc_name);
    SetWindowTextA(m_hDescription, p->acc_description ? p->acc_description : "");
    SetWindowTextA(m_hAddress, p->acc_address);
    SetWindowTextA(m_hPostcode, p->acc_postcode);
    SetWindowTextA(m_hTelephone, p->acc_telephone);
    SetWindowTextA(m_hFax, p->acc_fax);
    SetWindowTextA(m_hWebsite, p->acc_website);
    SetPickerDate(m_hCreateDate, p->acc_create_date);
    SetPickerDate(m_hContactDate, p->acc_recent_contact_date);
    SendMessageA(m_hPrivate, BM_SETCHECK, p->acc_private == 1 ? BST_CHECKED : BST_UNCHECKED, 0);

    // A value the lookup table does not hold is still shown and selected,
    // however full the table is, so that saving keeps it.
    m_Acc.cad_LoadImportantTable();
    FillCombo(m_hImportant, m_Acc.m_szImportant, Bounded(m_Acc.m_nImportant, Acc_DetailClass::MAX_IMPORTANT),
              p->acc_important);
    m_Acc.cad_LoadRelationTable();
    FillCombo(m_hRelation, m_Acc.m_szRelation, Bounded(m_Acc.m_nRelation, Acc_DetailClass::MAX_RELATION),
              p->acc_relation);
    m_Acc.cad_LoadTypeTable();
    FillCombo(m_hType, m_Acc.m_szType, Bounded(m_Acc.m_nType, Acc_DetailClass::MAX_TYPE), p->acc_type);
    m_Acc.cad_LoadIndustryTable();
    FillCombo(m_hIndustry, m_Acc.m_szIndustry, Bounded(m_Acc.m_nIndustry, Acc_DetailClass::MAX_INDUSTRY),
              p->acc_industry);
    m_Acc.cad_LoadProvinceTable();
    FillCombo(m_hProvince, m_Acc.m_szProvince, Bounded(m_Acc.m_nProvince, Acc_DetailClass::MAX_PROVINCE),
              p->acc_province);
}

int Acc_DetailDialogClass::FormToRecord() {
    m_Acc.cad_FreeList();
    if (m_Acc.cad_AllocHead() == -1) {
        ReportError("Opp_DetailDialogClass.cpp 262: cod_AllocHead Error.");
        return -1;
    }
    AccNode* p = m_Acc.m_pCurrent;
    ReadText(m_hName, p->acc_name, sizeof(p->acc_name));

    const int nLength = GetWindowTextLengthA(m_hDescription);
    if (m_Acc.cad_AllocNodeDescription((unsigned)(nLength > 0 ? nLength : 0)) == -1 || !p->acc_description) {
        ReportError("Opp_DetailDialogClass.cpp 262: cod_AllocHead Error.");
        m_Acc.cad_FreeList();
        return -1;
    }
    p->acc_description[0] = 0;
    if (nLength > 0) GetWindowTextA(m_hDescription, p->acc_description, nLength + 1);

    ReadText(m_hImportant, p->acc_important, sizeof(p->acc_important));
    ReadText(m_hType, p->acc_type, sizeof(p->acc_type));
    ReadText(m_hRelation, p->acc_relation, sizeof(p->acc_relation));
    ReadText(m_hIndustry, p->acc_industry, sizeof(p->acc_industry));
    ReadText(m_hAddress, p->acc_address, sizeof(p->acc_address));
    ReadText(m_hPostcode, p->acc_postcode, sizeof(p->acc_postcode));
    ReadText(m_hProvince, p->acc_province, sizeof(p->acc_province));
    ReadText(m_hTelephone, p->acc_telephone, sizeof(p->acc_telephone));
    ReadText(m_hFax, p->acc_fax, sizeof(p->acc_fax));
    ReadText(m_hWebsite, p->acc_website, sizeof(p->acc_website));
    p->acc_create_date = ReadPickerDate(m_hCreateDate);
    p->acc_recent_contact_date = ReadPickerDate(m_hContactDate);
    p->acc_private = SendMessageA(m_hPrivate, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    return 0;
}

int Acc_DetailDialogClass::LoadRecord(ULONG ulID, BOOL bRelating) {
    m_Acc.cad_FreeList();
    if (m_Acc.cad_GetAccount(ulID) == -1) return -1;
    // An account that no longer exists is not shown as found.
    if (!m_Acc.m_bFound || !m_Acc.m_pCurrent) return -1;
    if (bRelating) SetRelatingName(g_szRelatingName, m_Acc.m_pCurrent->acc_name);
    RecordToForm();
    // The new-contact dialog offers the name as it stands in the form.
    char szName[256];
    ReadText(m_hName, szName, sizeof(szName));
    SetRelatingAccount(ulID, szName);
    return 0;
}

int Acc_DetailDialogClass::AddRecord(ULONG* pulNewID) {
    *pulNewID = 0;
    // A record of its own: tied to no opportunity or task.
    m_Acc.m_ulOppID = m_Acc.m_ulTasID = 0;
    if (m_Acc.cad_AddAccount() == -1) return -1;
    *pulNewID = m_Acc.m_ulAccID;  // read in the add's own transaction
    return 0;
}

int Acc_DetailDialogClass::ChangeRecord(ULONG ulID) { return m_Acc.cad_ChageAccount(ulID); }

int Acc_DetailDialogClass::DeleteRecord(ULONG ulID) { return m_Acc.cad_DeleteAccount(ulID); }
