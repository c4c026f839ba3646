#include "views/opportunities/Opp_DetailDialogClass.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "views/opportunities/Opp_Form.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_ListPageClass.h"
#include "dialogs/RelatedPages.h"
#include "shell/RelatingGlobals.h"
#include "shell/ToolbarClass.h"
#include "platform/gbk/gbk.h"
#include "resources/opportunities_ids.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

Opp_DetailDialogClass g_Opp_Detail;

RecordFormClass* OpportunityForm() { return &g_Opp_Detail; }

namespace {
const int kMenuIDs[5] = {IDC_OPPD_MENU0, IDC_OPPD_MENU1, IDC_OPPD_MENU2, IDC_OPPD_MENU3, IDC_OPPD_MENU4};

const FormFieldDef kFields[] = {
    {kFieldEdit, IDC_OPPD_SUBJECT, 240, 65, 560, 20, kEditFieldStyle, 254, nullptr, kFieldInTabCycle},
    {kFieldCheck, IDC_OPPD_PRIVATE, 830, 65, 55, 20, kCheckFieldStyle, 0, "私有", kFieldInTabCycle},
    {kFieldMemo, IDC_OPPD_DESCRIPTION, 240, 90, 780, 130, kMemoFieldStyle, 0, nullptr, kFieldInTabCycle},
    {kFieldDate, IDC_OPPD_CREATE_DATE, 240, 230, 105, 20, kDateFieldStyle, 0, nullptr,
     kFieldInTabCycle | kFieldCreation},
    {kFieldDate, IDC_OPPD_DIE_DATE, 466, 230, 105, 20, kDateFieldStyle, 0, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_OPPD_ESTIMATE_SALE, 679, 230, 120, 20, kEditFieldStyle, 17, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_OPPD_SALE, 900, 230, 120, 20, kEditFieldStyle, 17, nullptr, kFieldInTabCycle},
    {kFieldDate, IDC_OPPD_CONTACT_DATE, 240, 260, 105, 20, WS_DISABLED, 0, nullptr, kFieldFixed},
    {kFieldCombo, IDC_OPPD_IMPORTANT, 466, 260, 105, 200, kComboFieldStyle, 0, nullptr, kFieldInTabCycle},
    {kFieldCombo, IDC_OPPD_PHASE, 679, 260, 120, 200, kComboFieldStyle, 0, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_OPPD_PROBABILITY, 900, 260, 120, 20, WS_BORDER, 0, nullptr, kFieldFixed},
};

const FormLabelDef kLabels[] = {
    {166, 67, "销售机会:"},    {166, 92, "简述:"},        {166, 232, "创建日期:"}, {362, 232, "预计结束日期:"},
    {587, 232, "预计销售额:"}, {812, 232, "实际销售额:"}, {166, 262, "最近联系:"}, {407, 262, "重要性:"},
    {602, 262, "销售阶段:"},   {827, 262, "成功概率:"},   {166, 312, "关联信息:"},
};

const RelationTabDef kTabs[3] = {
    {"计划日志", RelatedTasksPageProc_OppDetail},
    {"联系人", RelatedContactsPageProc_OppDetail},
    {"客户单位", RelatedAccountsPageProc_OppDetail},
};

RecordFormDef MakeDef() {
    RecordFormDef def = {};
    def.nButton = TB_OPPORTUNITIES;
    def.nSearchEditID = IDC_OPPD_SEARCH_EDIT;
    def.nSearchID = IDC_OPPD_SEARCH;
    def.nHelpID = IDC_OPPD_HELP;
    def.menu = OppMenu(kMenuIDs);
    def.ids = {IDC_OPPD_SAVE,  IDC_OPPD_CANCEL, IDC_OPPD_EDIT, IDC_OPPD_DELETE,
               IDC_OPPD_FIRST, IDC_OPPD_PREV,   IDC_OPPD_NEXT, IDC_OPPD_LAST};
    def.SetTables(kFields, kLabels);
    def.SetTabs(240, 310, 780, 302, kTabs);
    def.texts = {
        "Opp_DetailDialogClass.cpp 260: cod_GetOpportunity Error.",
        "Opp_DetailDialogClass.cpp 269: cod_AddOpportunity Error.",
        "Opp_DetailDialogClass.cpp 281: cod_ChageOpportunity Error.",
        "Opp_HomepageDialogClass.cpp 89: m_pulID Error.",
    };
    def.bFocusFirstField = true;  // the subject takes the focus
    def.pListPage = &g_Opp_Homepage;
    def.pszListKeyword = g_Opp_Homepage.m_szKeyword;
    return def;
}
}  // namespace

Opp_DetailDialogClass::Opp_DetailDialogClass()
    : RecordFormClass(MakeDef()),
      m_hSubject(nullptr),
      m_hDescription(nullptr),
      m_hPrivate(nullptr),
      m_hCreateDate(nullptr),
      m_hDieDate(nullptr),
      m_hEstimateSale(nullptr),
      m_hSale(nullptr),
      m_hImportant(nullptr),
      m_hPhase(nullptr),
      m_hProbability(nullptr),
      m_hContactDate(nullptr) {}

void Opp_DetailDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    RecordFormClass::InitDialog(hWnd);
    m_hSubject = Field(IDC_OPPD_SUBJECT);
    m_hPrivate = Field(IDC_OPPD_PRIVATE);
    m_hDescription = Field(IDC_OPPD_DESCRIPTION);
    m_hCreateDate = Field(IDC_OPPD_CREATE_DATE);
    m_hDieDate = Field(IDC_OPPD_DIE_DATE);
    m_hEstimateSale = Field(IDC_OPPD_ESTIMATE_SALE);
    m_hSale = Field(IDC_OPPD_SALE);
    m_hContactDate = Field(IDC_OPPD_CONTACT_DATE);
    m_hImportant = Field(IDC_OPPD_IMPORTANT);
    m_hPhase = Field(IDC_OPPD_PHASE);
    m_hProbability = Field(IDC_OPPD_PROBABILITY);
}

void Opp_DetailDialogClass::RefillLookups() {
    ClearCombo(m_hImportant);
    ClearCombo(m_hPhase);
    m_Opp.cod_LoadImportantTable();
    LoadCombo(
        m_hImportant, m_Opp.m_szImportant,
        m_Opp.m_nImportant < Opp_DetailClass::MAX_IMPORTANT ? m_Opp.m_nImportant : Opp_DetailClass::MAX_IMPORTANT);
    m_Opp.cod_LoadPhaseTable();
    LoadCombo(m_hPhase, m_Opp.m_szPhase,
              m_Opp.m_nPhase < Opp_DetailClass::MAX_PHASE ? m_Opp.m_nPhase : Opp_DetailClass::MAX_PHASE);
}

void Opp_DetailDialogClass::RecordToForm() {
    const OppNode* p = m_Opp.m_pCurrent;
    if (!p) return;
    SetWindowTextA(m_hSubject, p->opp_subject);
    SetWindowTextA(m_hDescription, p->opp_description ? p->opp_description : "");
    SetPickerDate(m_hCreateDate, p->opp_create_date);
    SetPickerDate(m_hDieDate, p->opp_die_date);
    WriteAmount(m_hEstimateSale, p->opp_estimate_sale);
    WriteAmount(m_hSale, p->opp_sale);

    // The lookup loads reuse the data object; keep the record's own values.
    char szImportant[50], szPhase[50];
    gbk::CopyCut(szImportant, sizeof(szImportant), p->opp_important);
    gbk::CopyCut(szPhase, sizeof(szPhase), p->opp_phase);
    const int nProbability = p->opp_succeed_probability;
    const DATE_STRUCT dContact = p->opp_recent_contact_date;
    const int bPrivate = p->opp_private;

    m_Opp.cod_LoadImportantTable();
    FillCombo(m_hImportant, m_Opp.m_szImportant,
              m_Opp.m_nImportant < Opp_DetailClass::MAX_IMPORTANT ? m_Opp.m_nImportant : Opp_DetailClass::MAX_IMPORTANT,
              szImportant);
    m_Opp.cod_LoadPhaseTable();
    FillCombo(m_hPhase, m_Opp.m_szPhase,
              m_Opp.m_nPhase < Opp_DetailClass::MAX_PHASE ? m_Opp.m_nPhase : Opp_DetailClass::MAX_PHASE, szPhase);

    char szText[32];
    snprintf(szText, sizeof(szText), "%d%%", nProbability);
    SetWindowTextA(m_hProbability, szText);
    SetPickerDate(m_hContactDate, dContact);
    SendMessageA(m_hPrivate, BM_SETCHECK, bPrivate == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

int Opp_DetailDialogClass::FormToRecord() {
    m_Opp.cod_FreeList();
    if (m_Opp.cod_AllocHead() == -1) {
        ReportError("Opp_DetailDialogClass.cpp 262: cod_AllocHead Error.");
        return -1;
    }
    OppNode* p = m_Opp.m_pCurrent;
    ReadText(m_hSubject, p->opp_subject, sizeof(p->opp_subject));

    const int nLength = GetWindowTextLengthA(m_hDescription);
    if (m_Opp.cod_AllocNodeDescription((unsigned)(nLength > 0 ? nLength : 0)) == -1 || !p->opp_description) {
        ReportError("Opp_DetailDialogClass.cpp 262: cod_AllocHead Error.");
        m_Opp.cod_FreeList();
        return -1;
    }
    p->opp_description[0] = 0;
    if (nLength > 0) GetWindowTextA(m_hDescription, p->opp_description, nLength + 1);

    p->opp_create_date = ReadPickerDate(m_hCreateDate);
    p->opp_die_date = ReadPickerDate(m_hDieDate);
    if (ReadAmount(m_hEstimateSale, "预计销售额", &p->opp_estimate_sale) == -1 ||
        ReadAmount(m_hSale, "实际销售额", &p->opp_sale) == -1) {
        m_Opp.cod_FreeList();
        return -1;
    }
    ReadText(m_hImportant, p->opp_important, sizeof(p->opp_important));
    ReadText(m_hPhase, p->opp_phase, sizeof(p->opp_phase));
    char szProbability[32];
    ReadText(m_hProbability, szProbability, sizeof(szProbability));
    p->opp_succeed_probability = (int)strtol(szProbability, nullptr, 10);
    p->opp_recent_contact_date = ReadPickerDate(m_hContactDate);
    p->opp_private = SendMessageA(m_hPrivate, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    return 0;
}

int Opp_DetailDialogClass::LoadRecord(ULONG ulID, BOOL bRelating) {
    m_Opp.cod_FreeList();
    if (m_Opp.cod_GetOpportunity(ulID) == -1) return -1;
    if (bRelating) SetRelatingName(g_szRelatingName, m_Opp.m_pCurrent->opp_subject);
    RecordToForm();
    return 0;
}

int Opp_DetailDialogClass::AddRecord(ULONG* pulNewID) {
    *pulNewID = 0;
    m_Opp.m_ulAccID = m_Opp.m_ulConID = m_Opp.m_ulTasID = 0;
    if (m_Opp.cod_AddOpportunity() == -1) return -1;
    *pulNewID = m_Opp.m_ulOppID;  // read in the add's own transaction
    return 0;
}

int Opp_DetailDialogClass::ChangeRecord(ULONG ulID) { return m_Opp.cod_ChageOpportunity(ulID); }

int Opp_DetailDialogClass::DeleteRecord(ULONG ulID) { return m_Opp.cod_DeleteOpportunity(ulID); }

void Opp_DetailDialogClass::OnPhaseChange() {
    const int i = (int)SendMessageA(m_hPhase, CB_GETCURSEL, 0, 0);
    // Only a phase of the lookup table has a probability of its own; for a
    // value only the record holds the field keeps what it shows.
    if (i < 0 || i >= m_Opp.m_nPhase || i >= Opp_DetailClass::MAX_PHASE) return;
    char szText[32];
    snprintf(szText, sizeof(szText), "%s%%", m_Opp.m_szPhaseProbability[i]);
    SetWindowTextA(m_hProbability, szText);
}

BOOL Opp_DetailDialogClass::OnFieldCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_OPPD_PHASE && HIWORD(wParam) == CBN_SELCHANGE) {
        OnPhaseChange();
        return TRUE;
    }
    return FALSE;
}
