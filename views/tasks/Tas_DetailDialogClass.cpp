#include "views/tasks/Tas_DetailDialogClass.h"

#include <cfloat>
#include <cstdio>

#include "dialogs/NewRecordDialogs.h"
#include "dialogs/RecordPickers.h"
#include "dialogs/RelatedPages.h"
#include "resources/shell_ids.h"
#include "views/tasks/Tas_Form.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_ListPageClass.h"
#include "resources/tasks_ids.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

Tas_DetailDialogClass g_Tas_Detail;

RecordFormClass* TaskForm() { return &g_Tas_Detail; }

namespace {
const int kMenuIDs[kTasMenuEntries] = {IDC_TASD_MENU_NEW,  IDC_TASD_MENU_ALL,   IDC_TASD_MENU_TODAY, IDC_TASD_MENU_DAY,
                                       IDC_TASD_MENU_WEEK, IDC_TASD_MENU_MONTH, IDC_TASD_MENU_CLOSED};

constexpr int kSubjectLimit = 254;  // what the store keeps of a subject
constexpr int kCostLimit = 49;

// In Tab order: subject, 私有, date, time, cost, 提醒, 完成, content.
const FormFieldDef kFields[] = {
    // Scrolls sideways, so that a stored subject wider than the field is
    // shown and saved whole.
    {kFieldEdit, IDC_TASD_SUBJECT, 240, 65, 560, 20, kEditFieldStyle, kSubjectLimit, nullptr, kFieldInTabCycle},
    {kFieldCheck, IDC_TASD_PRIVATE, 830, 65, 55, 20, kCheckFieldStyle, 0, "私有", kFieldInTabCycle},
    {kFieldDate, IDC_TASD_DATE, 240, 95, 105, 20, kDateFieldStyle, 0, nullptr, kFieldInTabCycle},
    {kFieldTime, IDC_TASD_TIME, 400, 95, 65, 20, kTimeFieldStyle, 0, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_TASD_COST, 600, 95, 200, 20, kEditFieldStyle, kCostLimit, nullptr, kFieldInTabCycle},
    {kFieldCheck, IDC_TASD_REMIND, 830, 95, 55, 20, kCheckFieldStyle, 0, "提醒", kFieldInTabCycle},
    {kFieldCheck, IDC_TASD_CLOSED, 920, 95, 55, 20, kCheckFieldStyle, 0, "完成", kFieldInTabCycle},
    {kFieldMemo, IDC_TASD_CONTENT, 240, 125, 780, 130, kMemoFieldStyle, 0, nullptr, kFieldInTabCycle},
};

const FormLabelDef kLabels[] = {
    {166, 65, "标题:"}, {166, 95, "日期:"},  {355, 95, "时间:"},
    {545, 95, "费用:"}, {166, 125, "内容:"}, {166, 275, "关联信息:"},
};

const RelationTabDef kTabs[3] = {
    {"销售机会", RelatedOpportunitiesPageProc_TasDetail},
    {"联系人", RelatedContactsPageProc_TasDetail},
    {"客户", RelatedAccountsPageProc_TasDetail},
};

RecordFormDef MakeDef() {
    RecordFormDef def = {};
    def.nButton = TB_TASKS;
    def.nSearchEditID = IDC_TASD_SEARCH_EDIT;
    def.nSearchID = IDC_TASD_SEARCH;
    def.nHelpID = IDC_TASD_HELP;
    def.menu = TasMenu(kMenuIDs);
    def.ids = {IDC_TASD_SAVE,  IDC_TASD_CANCEL, IDC_TASD_EDIT, IDC_TASD_DELETE,
               IDC_TASD_FIRST, IDC_TASD_PREV,   IDC_TASD_NEXT, IDC_TASD_LAST};
    def.SetTables(kFields, kLabels);
    def.SetTabs(240, 270, 780, 342, kTabs);
    def.texts = {
        "Opp_DetailDialogClass.cpp 260: cod_GetOpportunity Error.",
        "Opp_DetailDialogClass.cpp 269: cod_AddOpportunity Error.",
        "Opp_DetailDialogClass.cpp 281: cod_ChageOpportunity Error.",
        "Opp_HomepageDialogClass.cpp 89: m_pulID Error.",
    };
    def.pListPage = &g_Tas_ListAll;
    def.pszListKeyword = g_Tas_ListAll.m_szKeyword;
    return def;
}

BOOL Checked(HWND h) { return SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The cost is stored as a float: a larger number would be stored as infinite.
bool FitsCost(double d) {
    if (d <= FLT_MAX && d >= -FLT_MAX) return true;
    char szMessage[160];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    snprintf(szMessage, sizeof(szMessage), msg::kAmountInvalid, "费用");
#pragma GCC diagnostic pop
    ReportError(szMessage);
    return false;
}
}  // namespace

Tas_DetailDialogClass::Tas_DetailDialogClass()
    : RecordFormClass(MakeDef()),
      m_hSubject(nullptr),
      m_hPrivate(nullptr),
      m_hDate(nullptr),
      m_hTime(nullptr),
      m_hCost(nullptr),
      m_hRemind(nullptr),
      m_hClosed(nullptr),
      m_hContent(nullptr),
      m_hRelationMenu(nullptr),
      m_ulLinkAccID(0),
      m_ulLinkOppID(0),
      m_ulLinkConID(0) {}

void Tas_DetailDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    RecordFormClass::InitDialog(hWnd);
    m_hSubject = Field(IDC_TASD_SUBJECT);
    m_hPrivate = Field(IDC_TASD_PRIVATE);
    m_hDate = Field(IDC_TASD_DATE);
    m_hTime = Field(IDC_TASD_TIME);
    m_hCost = Field(IDC_TASD_COST);
    m_hRemind = Field(IDC_TASD_REMIND);
    m_hClosed = Field(IDC_TASD_CLOSED);
    m_hContent = Field(IDC_TASD_CONTENT);
    HMENU hMenu = LoadMenuA(m_hInstance, "IDM_POP_MENU");
    m_hRelationMenu = hMenu ? GetSubMenu(hMenu, IDM_SUB_RELATION) : nullptr;
}

BOOL Tas_DetailDialogClass::OnFieldCommand(WPARAM wParam, LPARAM lParam) {
    // Menu commands only: a control's notification carries its window.
    if (lParam != 0) return FALSE;
    const char* pszTemplate = nullptr;
    DLGPROC pfnProc = nullptr;
    switch (LOWORD(wParam)) {
    case IDM_NORELATION: break;
    case IDM_NEWOPP_LINK: pszTemplate = IDD_NEW_OPPORTUNITY, pfnProc = NewOpportunityDlgProc_TasDetail; break;
    case IDM_SELECTOPP_LINK: pszTemplate = IDD_SELECT_OBJECT, pfnProc = SelectOpportunityDlgProc_TasDetail; break;
    case IDM_NEWACCOUNT_LINK: pszTemplate = IDD_NEW_ACCOUNT, pfnProc = NewAccountDlgProc_TasDetail; break;
    case IDM_SELECTACCOUNT_LINK: pszTemplate = IDD_SELECT_OBJECT, pfnProc = SelectAccountDlgProc_TasDetail; break;
    case IDM_NEWCONTACT_LINK: pszTemplate = IDD_NEW_CONTACT, pfnProc = NewContactDlgProc_TasDetail; break;
    case IDM_SELECTCONTACT_LINK: pszTemplate = IDD_SELECT_OBJECT, pfnProc = SelectContactDlgProc_TasDetail; break;
    default: return FALSE;
    }
    m_ulLinkAccID = m_ulLinkOppID = m_ulLinkConID = 0;
    if (pfnProc) DialogBoxParamA(m_hInstance, pszTemplate, m_hWnd, pfnProc, 0);
    return TRUE;
}

void Tas_DetailDialogClass::ClearForm() {
    // Every showing, new task and restore starts without pending links.
    m_ulLinkAccID = m_ulLinkOppID = m_ulLinkConID = 0;
    RecordFormClass::ClearForm();
}

void Tas_DetailDialogClass::RecordToForm() {
    const TasNode* p = m_Tas.m_pCurrent;
    if (!p) return;
    SetWindowTextA(m_hSubject, p->tas_subject);
    SetPickerDate(m_hDate, p->tas_date);
    SetPickerTime(m_hTime, p->tas_time);
    WriteAmount(m_hCost, p->tas_outlay);
    SetWindowTextA(m_hContent, p->tas_description ? p->tas_description : "");
    // After the blank form: only ticks.
    if (p->tas_private == 1) SendMessageA(m_hPrivate, BM_SETCHECK, BST_CHECKED, 0);
    if (p->tas_remind == 1) SendMessageA(m_hRemind, BM_SETCHECK, BST_CHECKED, 0);
    if (p->tas_closed == 1) SendMessageA(m_hClosed, BM_SETCHECK, BST_CHECKED, 0);
}

int Tas_DetailDialogClass::FormToRecord() {
    m_Tas.ctd_FreeList();
    if (m_Tas.ctd_AllocHead() == -1) {
        ReportError("Opp_DetailDialogClass.cpp 262: cod_AllocHead Error.");
        return -1;
    }
    m_Tas.m_ulAccID = m_ulLinkAccID;
    m_Tas.m_ulOppID = m_ulLinkOppID;
    m_Tas.m_ulConID = m_ulLinkConID;
    TasNode* p = m_Tas.m_pCurrent;
    ReadText(m_hSubject, p->tas_subject, kSubjectLimit + 1);

    const int nLength = GetWindowTextLengthA(m_hContent);
    if (m_Tas.ctd_AllocNodeDescription((unsigned)(nLength > 0 ? nLength : 0)) == -1 || !p->tas_description) {
        ReportError("Opp_DetailDialogClass.cpp 262: cod_AllocHead Error.");
        m_Tas.ctd_FreeList();
        return -1;
    }
    p->tas_description[0] = 0;
    if (nLength > 0) GetWindowTextA(m_hContent, p->tas_description, nLength + 1);

    p->tas_date = ReadPickerDate(m_hDate);
    p->tas_time = ReadPickerTime(m_hTime);
    double dCost = 0;
    if (ReadAmount(m_hCost, "费用", &dCost) == -1 || !FitsCost(dCost)) {
        m_Tas.ctd_FreeList();
        return -1;
    }
    p->tas_outlay = (float)dCost;
    p->tas_private = Checked(m_hPrivate) ? 1 : 0;
    p->tas_remind = Checked(m_hRemind) ? 1 : 0;
    p->tas_closed = Checked(m_hClosed) ? 1 : 0;
    return 0;
}

int Tas_DetailDialogClass::LoadRecord(ULONG ulID, BOOL bRelating) {
    m_Tas.ctd_FreeList();
    // A task that no longer exists loads as missing, not as a blank task.
    if (m_Tas.ctd_GetTask(ulID) == -1 || !m_Tas.m_bFound || !m_Tas.m_pCurrent) return -1;
    RecordToForm();
    return 0;
}

int Tas_DetailDialogClass::AddRecord(ULONG* pulNewID) {
    *pulNewID = 0;
    if (m_Tas.ctd_AddTask() == -1) return -1;
    *pulNewID = m_Tas.m_ulTasID;  // read in the add's own transaction
    return 0;
}

int Tas_DetailDialogClass::ChangeRecord(ULONG ulID) { return m_Tas.ctd_ChageTask(ulID); }

int Tas_DetailDialogClass::DeleteRecord(ULONG ulID) { return m_Tas.ctd_DeleteTask(ulID); }

void Tas_DetailDialogClass::TakeLinkedRecord(LinkedKind kind, ULONG ulID, const char* pszName) {
    switch (kind) {
    case kLinkedAccount: m_ulLinkAccID = ulID; break;
    case kLinkedOpportunity: m_ulLinkOppID = ulID; break;
    case kLinkedContact: m_ulLinkConID = ulID; break;
    }
    if (pszName) SetTitleText(pszName);
}

ULONG Tas_DetailDialogClass::LinkedRecord(LinkedKind kind) const {
    switch (kind) {
    case kLinkedAccount: return m_ulLinkAccID;
    case kLinkedOpportunity: return m_ulLinkOppID;
    case kLinkedContact: return m_ulLinkConID;
    }
    return 0;
}

void Tas_DetailDialogClass::SetTitleText(const char* pszText) { SetWindowTextA(m_hSubject, pszText); }
