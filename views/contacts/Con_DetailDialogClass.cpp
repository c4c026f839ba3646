#include "views/contacts/Con_DetailDialogClass.h"

#include <cstring>

#include "dialogs/RelatedPages.h"
#include "platform/gbk/gbk.h"
#include "resources/contacts_ids.h"
#include "resources/shell_ids.h"
#include "shell/Mailto.h"
#include "shell/Report.h"
#include "shell/ViewMessages.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_Form.h"
#include "views/contacts/Con_Form.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_ListPageClass.h"

Con_DetailDialogClass g_Con_Detail;

RecordFormClass* ContactForm() { return &g_Con_Detail; }

namespace {
const int kMenuIDs[8] = {IDC_COND_MENU0, IDC_COND_MENU1, IDC_COND_MENU2, IDC_COND_MENU3,
                         IDC_COND_MENU4, IDC_COND_MENU5, IDC_COND_MENU6, IDC_COND_MENU7};

// Byte limits: what the contact's fields store, less the terminator.
constexpr int kShort = 19;
constexpr int kLong = 49;

// In creation and Tab order; 工作单位, ".." and the last-contact date are
// outside the Tab cycle.
const FormFieldDef kFields[] = {
    {kFieldEdit, IDC_COND_NAME, 240, 65, 360, 20, kEditFieldStyle, kShort, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_COND_NICKNAME, 670, 65, 100, 20, kEditFieldStyle, kShort, nullptr, kFieldInTabCycle},
    {kFieldCheck, IDC_COND_PRIVATE, 830, 65, 55, 20, kCheckFieldStyle, 0, "私有", kFieldInTabCycle},
    {kFieldMemo, IDC_COND_DESCRIPTION, 240, 90, 780, 130, kMemoFieldStyle, 0, nullptr, kFieldInTabCycle},
    {kFieldButton, IDC_COND_ACCOUNT_MENU, 620, 230, 40, 20, WS_TABSTOP, 0, "...", kFieldInTabCycle},
    {kFieldEdit, IDC_COND_DEPARTMENT, 745, 230, 110, 20, kEditFieldStyle, kLong, nullptr, kFieldInTabCycle},
    // A clear keeps the region chosen.
    {kFieldCombo, IDC_COND_PROVINCE, 910, 230, 110, 200, kComboFieldStyle, 0, nullptr,
     kFieldInTabCycle | kFieldKeepsSelection},
    {kFieldEdit, IDC_COND_TELEPHONE, 240, 260, 180, 20, kEditFieldStyle, kLong, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_COND_MOBILE, 480, 260, 180, 20, kEditFieldStyle, kLong, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_COND_EMAIL, 745, 260, 255, 20, kEditFieldStyle, kLong, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_COND_IM, 240, 290, 240, 20, kEditFieldStyle, kLong, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_COND_POSTCODE, 540, 290, 120, 20, kEditFieldStyle, kShort, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_COND_FAMILY, 745, 290, 275, 20, kEditFieldStyle, kLong, nullptr, kFieldInTabCycle},
    {kFieldCombo, IDC_COND_IMPORTANT, 240, 320, 180, 200, kComboFieldStyle, 0, nullptr, kFieldInTabCycle},
    {kFieldCombo, IDC_COND_RELATION, 480, 320, 180, 200, kComboFieldStyle, 0, nullptr, kFieldInTabCycle},
    {kFieldDate, IDC_COND_CREATE_DATE, 915, 320, 105, 20, WS_TABSTOP, 0, nullptr, kFieldInTabCycle | kFieldCreation},
    {kFieldEdit, IDC_COND_ACCOUNT, 240, 230, 370, 20, kEditFieldStyle, 0, nullptr, kFieldFixed | kFieldDoubleClick},
    {kFieldButton, IDC_COND_MAILTO, 1000, 260, 22, 20, 0, 0, "..", kFieldFixed},
    {kFieldDate, IDC_COND_CONTACT_DATE, 745, 320, 105, 20, WS_DISABLED, 0, nullptr, kFieldFixed},
};

const FormLabelDef kLabels[] = {
    {166, 67, "联系人:"},    {620, 67, "昵称:"},      {166, 92, "简述:"},      {166, 232, "工作单位:"},
    {700, 232, "职务:"},     {870, 232, "区域:"},     {166, 262, "电话:"},     {430, 262, "手机:"},
    {680, 262, "E-Mail:"},   {166, 292, "即时通讯:"}, {490, 292, "邮编:"},     {670, 292, "家庭地址:"},
    {166, 322, "重要性:"},   {430, 322, "关系:"},     {670, 322, "最近联系:"}, {870, 322, "创建:"},
    {166, 352, "关联信息:"},
};

const RelationTabDef kTabs[2] = {
    {"工作日志", RelatedTasksPageProc_ConDetail},
    {"销售机会", RelatedOpportunitiesPageProc_ConDetail},
};

RecordFormDef MakeDef() {
    RecordFormDef def = {};
    def.nButton = TB_CONTACTS;
    def.nSearchEditID = IDC_COND_SEARCH_EDIT;
    def.nSearchID = IDC_COND_SEARCH;
    def.nHelpID = IDC_COND_HELP;
    def.menu = ConMenu(kMenuIDs);
    def.ids = {IDC_COND_SAVE,  IDC_COND_CANCEL, IDC_COND_EDIT, IDC_COND_DELETE,
               IDC_COND_FIRST, IDC_COND_PREV,   IDC_COND_NEXT, IDC_COND_LAST};
    def.SetTables(kFields, kLabels);
    def.SetTabs(240, 350, 780, 260, kTabs);
    def.texts = {
        "Opp_DetailDialogClass.cpp 260: cod_GetOpportunity Error.",
        "Opp_DetailDialogClass.cpp 269: cod_AddOpportunity Error.",
        "Opp_DetailDialogClass.cpp 281: cod_ChageOpportunity Error.",
        "Opp_HomepageDialogClass.cpp 89: m_pulID Error.",
    };
    def.pListPage = &g_Con_Homepage;
    def.pszListKeyword = g_Con_Homepage.m_szKeyword;
    return def;
}

int Capped(int n, int nMax) { return n < 0 ? 0 : (n > nMax ? nMax : n); }
}  // namespace

std::string MailtoURL(const char* pszAddress) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string url = "mailto:";
    for (unsigned char c : gbk::ToUtf8(pszAddress ? pszAddress : "")) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || strchr("-._~@", c)) {
            url += (char)c;
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

Con_DetailDialogClass::Con_DetailDialogClass()
    : RecordFormClass(MakeDef()),
      m_hName(nullptr),
      m_hNickname(nullptr),
      m_hPrivate(nullptr),
      m_hDescription(nullptr),
      m_hAccountEdit(nullptr),
      m_hDepartment(nullptr),
      m_hProvince(nullptr),
      m_hTelephone(nullptr),
      m_hMobile(nullptr),
      m_hEmail(nullptr),
      m_hIM(nullptr),
      m_hPostcode(nullptr),
      m_hFamily(nullptr),
      m_hImportant(nullptr),
      m_hRelation(nullptr),
      m_hContactDate(nullptr),
      m_hCreateDate(nullptr),
      m_hAccountMenu(nullptr),
      m_ulAccountID(0) {}

void Con_DetailDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    RecordFormClass::InitDialog(hWnd);
    m_hName = Field(IDC_COND_NAME);
    m_hNickname = Field(IDC_COND_NICKNAME);
    m_hPrivate = Field(IDC_COND_PRIVATE);
    m_hDescription = Field(IDC_COND_DESCRIPTION);
    m_hAccountEdit = Field(IDC_COND_ACCOUNT);
    m_hDepartment = Field(IDC_COND_DEPARTMENT);
    m_hProvince = Field(IDC_COND_PROVINCE);
    m_hTelephone = Field(IDC_COND_TELEPHONE);
    m_hMobile = Field(IDC_COND_MOBILE);
    m_hEmail = Field(IDC_COND_EMAIL);
    m_hIM = Field(IDC_COND_IM);
    m_hPostcode = Field(IDC_COND_POSTCODE);
    m_hFamily = Field(IDC_COND_FAMILY);
    m_hImportant = Field(IDC_COND_IMPORTANT);
    m_hRelation = Field(IDC_COND_RELATION);
    m_hContactDate = Field(IDC_COND_CONTACT_DATE);
    m_hCreateDate = Field(IDC_COND_CREATE_DATE);
    HMENU hMenu = LoadMenuA(m_hInstance, "IDM_POP_MENU");
    m_hAccountMenu = hMenu ? GetSubMenu(hMenu, 0) : nullptr;
    RefillLookups();
}

void Con_DetailDialogClass::ClearForm() {
    RecordFormClass::ClearForm();
    m_ulAccountID = 0;
    SetRelatingAccount(0, nullptr);
}

void Con_DetailDialogClass::RefillLookups() {
    ClearCombo(m_hImportant);
    ClearCombo(m_hRelation);
    ClearCombo(m_hProvince);
    m_Contact.ccd_LoadImportantTable();
    LoadCombo(m_hImportant, m_Contact.m_szImportant, Capped(m_Contact.m_nImportant, Con_DetailClass::MAX_IMPORTANT));
    m_Contact.ccd_LoadRelationTable();
    LoadCombo(m_hRelation, m_Contact.m_szRelation, Capped(m_Contact.m_nRelation, Con_DetailClass::MAX_RELATION));
    m_Contact.ccd_LoadProvinceTable();
    LoadCombo(m_hProvince, m_Contact.m_szProvince, Capped(m_Contact.m_nProvince, Con_DetailClass::MAX_PROVINCE));
}

void Con_DetailDialogClass::RecordToForm() {
    const ConNode* p = m_Contact.m_pCurrent;
    if (!p) return;
    SetWindowTextA(m_hName, p->con_name);
    SetWindowTextA(m_hNickname, p->con_nickname);
    SetWindowTextA(m_hDescription, p->con_description ? p->con_description : "");
    SetWindowTextA(m_hAccountEdit, p->acc_name);
    SetWindowTextA(m_hDepartment, p->con_department_title);
    SetWindowTextA(m_hTelephone, p->con_telephone);
    SetWindowTextA(m_hMobile, p->con_mobile);
    SetWindowTextA(m_hEmail, p->con_email);
    SetWindowTextA(m_hIM, p->con_im);
    SetWindowTextA(m_hPostcode, p->con_postcode);
    SetWindowTextA(m_hFamily, p->con_family);

    // The queries below reuse the data object: keep the record's own values.
    char szImportant[50], szRelation[50], szProvince[50];
    gbk::CopyCut(szImportant, sizeof(szImportant), p->con_important);
    gbk::CopyCut(szRelation, sizeof(szRelation), p->con_relation);
    gbk::CopyCut(szProvince, sizeof(szProvince), p->con_province);
    const DATE_STRUCT dCreate = p->con_create_date;
    const DATE_STRUCT dContact = p->con_recent_contact_date;
    const int bPrivate = p->con_private;
    const ULONG ulID = (ULONG)p->con_id;

    m_Contact.m_ulAccID = 0;
    m_ulAccountID = m_Contact.ccd_GetAccountID(ulID) == 0 ? m_Contact.m_ulAccID : 0;
    SetRelatingAccount(m_ulAccountID, p->acc_name);

    // A value the lookup table no longer holds is still shown, as the last entry.
    m_Contact.ccd_LoadImportantTable();
    FillCombo(m_hImportant, m_Contact.m_szImportant, Capped(m_Contact.m_nImportant, Con_DetailClass::MAX_IMPORTANT),
              szImportant);
    m_Contact.ccd_LoadProvinceTable();
    FillCombo(m_hProvince, m_Contact.m_szProvince, Capped(m_Contact.m_nProvince, Con_DetailClass::MAX_PROVINCE),
              szProvince);
    m_Contact.ccd_LoadRelationTable();
    FillCombo(m_hRelation, m_Contact.m_szRelation, Capped(m_Contact.m_nRelation, Con_DetailClass::MAX_RELATION),
              szRelation);

    SetPickerDate(m_hCreateDate, dCreate);
    SetPickerDate(m_hContactDate, dContact);
    SendMessageA(m_hPrivate, BM_SETCHECK, bPrivate == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

int Con_DetailDialogClass::FormToRecord() {
    m_Contact.ccd_FreeList();
    if (m_Contact.ccd_AllocHead() == -1) {
        ReportError("Opp_DetailDialogClass.cpp 262: cod_AllocHead Error.");
        return -1;
    }
    ConNode* p = m_Contact.m_pCurrent;
    ReadText(m_hName, p->con_name, sizeof(p->con_name));
    ReadText(m_hNickname, p->con_nickname, sizeof(p->con_nickname));

    const int nLength = GetWindowTextLengthA(m_hDescription);
    if (m_Contact.ccd_AllocNodeDescription((unsigned)(nLength > 0 ? nLength : 0)) == -1 || !p->con_description) {
        ReportError("Opp_DetailDialogClass.cpp 262: cod_AllocHead Error.");
        m_Contact.ccd_FreeList();
        return -1;
    }
    p->con_description[0] = 0;
    if (nLength > 0) GetWindowTextA(m_hDescription, p->con_description, nLength + 1);

    ReadText(m_hAccountEdit, p->acc_name, sizeof(p->acc_name));
    m_Contact.m_ulAccID = m_ulAccountID;
    ReadText(m_hDepartment, p->con_department_title, sizeof(p->con_department_title));
    ReadText(m_hTelephone, p->con_telephone, sizeof(p->con_telephone));
    ReadText(m_hMobile, p->con_mobile, sizeof(p->con_mobile));
    ReadText(m_hEmail, p->con_email, sizeof(p->con_email));
    ReadText(m_hIM, p->con_im, sizeof(p->con_im));
    ReadText(m_hPostcode, p->con_postcode, sizeof(p->con_postcode));
    ReadText(m_hFamily, p->con_family, sizeof(p->con_family));
    ReadText(m_hProvince, p->con_province, sizeof(p->con_province));
    ReadText(m_hImportant, p->con_important, sizeof(p->con_important));
    ReadText(m_hRelation, p->con_relation, sizeof(p->con_relation));
    p->con_create_date = ReadPickerDate(m_hCreateDate);
    p->con_recent_contact_date = ReadPickerDate(m_hContactDate);
    p->con_private = SendMessageA(m_hPrivate, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    return 0;
}

int Con_DetailDialogClass::LoadRecord(ULONG ulID, BOOL bRelating) {
    m_ulAccountID = 0;
    SetRelatingAccount(0, nullptr);
    m_Contact.ccd_FreeList();
    if (m_Contact.ccd_GetContact(ulID) == -1) return -1;
    // A contact that no longer exists loads nothing: the form shows it missing.
    if (!m_Contact.m_bFound || !m_Contact.m_pCurrent) return -1;
    // Named also after Back or Forward, so that a new task starts with this contact's name.
    SetRelatingName(g_szRelatingName, m_Contact.m_pCurrent->con_name);
    RecordToForm();
    return 0;
}

int Con_DetailDialogClass::AddRecord(ULONG* pulNewID) {
    *pulNewID = 0;
    if (m_Contact.ccd_AddContact() == -1) return -1;
    *pulNewID = m_Contact.m_ulConID;  // read in the add's own transaction
    return 0;
}

int Con_DetailDialogClass::ChangeRecord(ULONG ulID) { return m_Contact.ccd_ChageContact(ulID); }

int Con_DetailDialogClass::DeleteRecord(ULONG ulID) { return m_Contact.ccd_DeleteContact(ulID) == -1 ? -1 : 0; }

// Opens the contact's account in the account form as a one-entry list.
void Con_DetailDialogClass::OnOpenAccount() {
    if (m_ulRecordID == 0 || m_ulAccountID == 0) return;
    const ULONG ulAccount = m_ulAccountID;
    HandOverToForm(AccountForm(), &ulAccount, 1, 0, "所有客户");
}

void Con_DetailDialogClass::OnAccountMenu() {
    RECT rc;
    GetWindowRect(Field(IDC_COND_ACCOUNT_MENU), &rc);
    if (m_hAccountMenu) TrackPopupMenu(m_hAccountMenu, TPM_RIGHTBUTTON, rc.left, rc.top, 0, m_hWnd, nullptr);
}

void Con_DetailDialogClass::OnMailto() {
    // The address as stored (at most 49 bytes), handed to the desktop as a URL.
    char szAddress[50];
    ReadText(m_hEmail, szAddress, sizeof(szAddress));
    OpenMailto(m_hWnd, MailtoURL(szAddress).c_str(), m_hWnd);
}

void Con_DetailDialogClass::OnFieldDoubleClick(int nID) {
    if (nID == IDC_COND_ACCOUNT) SendMessageA(m_hWnd, UM_OPENACCOUNT, 0, 0);
}

BOOL Con_DetailDialogClass::OnFieldCommand(WPARAM wParam, LPARAM lParam) {
    // The name mirrored into the nickname while it is typed.
    if (LOWORD(wParam) == IDC_COND_NAME && HIWORD(wParam) == EN_CHANGE) {
        char szName[128];
        GetWindowTextA(m_hName, szName, sizeof(szName));
        SetWindowTextA(m_hNickname, szName);
        return TRUE;
    }
    switch ((int)wParam) {
    case IDC_COND_ACCOUNT_MENU: OnAccountMenu(); return TRUE;
    case IDC_COND_MAILTO: OnMailto(); return TRUE;
    case IDM_NEWACCOUNT:
        DialogBoxParamA(m_hInstance, "ID_DLG_NEW_ACCOUNT", m_hWnd, NewAccountDlgProc_ConDetail, 0);
        return TRUE;
    case IDM_SELECTACCOUNT:
        DialogBoxParamA(m_hInstance, "ID_DLG_SELECT_OBJECT", m_hWnd, SelectAccountDlgProc_ConDetail, 0);
        return TRUE;
    default: return FALSE;
    }
}

LRESULT Con_DetailDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == UM_OPENACCOUNT) {
        OnOpenAccount();
        return 0;
    }
    return RecordFormClass::DialogProc(hWnd, uMsg, wParam, lParam);
}

void Con_DetailDialogClass::TakeLinkedRecord(LinkedKind kind, ULONG ulID, const char* pszName) {
    if (kind != kLinkedAccount) return;
    m_ulAccountID = ulID;
    if (pszName) SetWindowTextA(m_hAccountEdit, pszName);
}

ULONG Con_DetailDialogClass::LinkedRecord(LinkedKind kind) const { return kind == kLinkedAccount ? m_ulAccountID : 0; }
