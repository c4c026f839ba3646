// The new-opportunity dialog: one core, four members. Choosing a phase shows
// its success probability from the phase table loaded at opening. After a
// failed insert the dialog stays open with the typed values and hands
// nothing back.
#include "dialogs/NewRecordDialogs.h"

#include "dialogs/DialogFont.h"
#include "resources/message_texts.h"
#include "shell/Report.h"
#include "shell/ViewMessages.h"
#include "store/Opp_DetailClass.h"
#include "shell/FormControls.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_Form.h"
#include "views/contacts/Con_Form.h"
#include "views/tasks/Tas_Form.h"

#include <climits>
#include <cstdio>

namespace {

enum OpportunityLink {
    kLinkNone,
    kLinkAccount,  // the shown account
    kLinkContact,  // the shown contact, with its account (g_ulRelatingAccID)
    kLinkTask,     // the shown task
};

struct NewOpportunityMember {
    OpportunityLink link;
    bool bPercentSign;              // 成功概率 shows "30%" rather than "30"
    RecordFormClass* (*pfnForm)();  // the form shown again; none: the task form gets the opportunity
};

// The lookups of one opening, kept with the dialog's window: the phases'
// probabilities are read from them when a phase is chosen.
Opp_DetailClass* Lookups(HWND hDlg) { return (Opp_DetailClass*)GetWindowLongPtrA(hDlg, GWLP_USERDATA); }

void ReleaseLookups(HWND hDlg) {
    delete Lookups(hDlg);
    SetWindowLongPtrA(hDlg, GWLP_USERDATA, 0);
}

void Open(HWND hDlg) {
    AttachDialogFont(hDlg);
    ReleaseLookups(hDlg);
    auto* pOpp = new Opp_DetailClass;
    SetWindowLongPtrA(hDlg, GWLP_USERDATA, (LONG_PTR)pOpp);
    pOpp->cod_LoadImportantTable();  // a failed load keeps the names read before it
    LoadCombo(GetDlgItem(hDlg, IDC_NEWOPP_IMPORTANT), pOpp->m_szImportant, pOpp->m_nImportant);
    pOpp->cod_LoadPhaseTable();
    LoadCombo(GetDlgItem(hDlg, IDC_NEWOPP_PHASE), pOpp->m_szPhase, pOpp->m_nPhase);
}

void ShowProbability(HWND hDlg, const NewOpportunityMember& m) {
    const Opp_DetailClass* pOpp = Lookups(hDlg);
    const int i = (int)SendDlgItemMessageA(hDlg, IDC_NEWOPP_PHASE, CB_GETCURSEL, 0, 0);
    if (!pOpp || i < 0 || i >= pOpp->m_nPhase) return;  // no phase chosen
    char szText[sizeof pOpp->m_szPhaseProbability[0] + 1];
    snprintf(szText, sizeof szText, m.bPercentSign ? "%s%%" : "%s", pOpp->m_szPhaseProbability[i]);
    SetDlgItemTextA(hDlg, IDC_NEWOPP_PROBABILITY, szText);
}

// The whole number at the start of the text (blanks and a sign allowed); 0
// when no digit follows.
int LeadingNumber(const char* psz) {
    while (*psz == ' ') ++psz;
    const bool bNegative = *psz == '-';
    if (*psz == '-' || *psz == '+') ++psz;
    long long n = 0;
    for (; *psz >= '0' && *psz <= '9'; ++psz)
        if (n <= INT_MAX) n = n * 10 + (*psz - '0');
    if (n > INT_MAX) n = INT_MAX;
    return (int)(bNegative ? -n : n);
}

int ReadOpportunity(HWND hDlg, Opp_DetailClass& opp) {
    OppNode* p = opp.m_pCurrent;
    // 254 bytes of subject: what the store takes.
    ReadText(GetDlgItem(hDlg, IDC_NEWOPP_SUBJECT), p->opp_subject, sizeof p->opp_subject - 1);
    ReadText(GetDlgItem(hDlg, IDC_NEWOPP_IMPORTANT), p->opp_important, sizeof p->opp_important);
    ReadText(GetDlgItem(hDlg, IDC_NEWOPP_PHASE), p->opp_phase, sizeof p->opp_phase);
    char szProbability[50];
    ReadText(GetDlgItem(hDlg, IDC_NEWOPP_PROBABILITY), szProbability, sizeof szProbability);
    p->opp_succeed_probability = LeadingNumber(szProbability);
    p->opp_create_date = ReadPickerDate(GetDlgItem(hDlg, IDC_NEWOPP_CREATE_DATE));
    p->opp_die_date = ReadPickerDate(GetDlgItem(hDlg, IDC_NEWOPP_DIE_DATE));
    p->opp_recent_contact_date = ReadPickerDate(GetDlgItem(hDlg, IDC_NEWOPP_RECENT_DATE));
    p->opp_private = SendDlgItemMessageA(hDlg, IDC_NEWOPP_PRIVATE, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    // The description, whole.
    HWND hDesc = GetDlgItem(hDlg, IDC_NEWOPP_DESCRIPTION);
    const int n = GetWindowTextLengthA(hDesc);
    if (opp.cod_AllocNodeDescription((unsigned)(n > 0 ? n : 0)) == -1) return -1;
    if (n > 0) GetWindowTextA(hDesc, p->opp_description, n + 1);
    return 0;
}

void Confirm(HWND hDlg, const NewOpportunityMember& m) {
    // The amounts first: text that is not wholly a number, or one beyond what
    // they hold, is refused with the typed opportunity kept. Whatever the
    // locale, '.' is the decimal point.
    double dEstimate = 0, dSale = 0;
    if (ReadAmount(GetDlgItem(hDlg, IDC_NEWOPP_ESTIMATE), "预计销售额", &dEstimate) == -1 ||
        ReadAmount(GetDlgItem(hDlg, IDC_NEWOPP_SALE), "实际销售额", &dSale) == -1)
        return;
    Opp_DetailClass opp;
    if (opp.cod_AllocHead() == -1 || ReadOpportunity(hDlg, opp) == -1) {
        ReportError(msg::kNewDialogAllocHead);
        return;
    }
    opp.m_pCurrent->opp_estimate_sale = dEstimate;
    opp.m_pCurrent->opp_sale = dSale;
    switch (m.link) {
    case kLinkNone: break;
    case kLinkAccount: opp.m_ulAccID = g_ulRelatingID; break;
    case kLinkContact:
        opp.m_ulConID = g_ulRelatingID;
        opp.m_ulAccID = g_ulRelatingAccID;
        break;
    case kLinkTask: opp.m_ulTasID = g_ulRelatingID; break;
    }
    if (opp.cod_AddOpportunity() == -1) {
        ReportError(msg::kNewAccountAdd);
        return;  // stays open with the typed values; nothing handed back
    }
    EndDialog(hDlg, 0);
    if (m.pfnForm) {
        m.pfnForm()->ShowRecordAgain(g_ulRelatingID);
        return;
    }
    // The task form: the subject as its own, the opportunity to be linked on save.
    TaskForm()->SetTitleText(opp.m_pCurrent->opp_subject);
    if (opp.cod_GetLastOpportunityID() == 0) TaskForm()->TakeLinkedRecord(kLinkedOpportunity, opp.m_ulOppID, nullptr);
}

INT_PTR NewOpportunityDialog(const NewOpportunityMember& m, HWND hDlg, UINT uMsg, WPARAM wParam) {
    switch (uMsg) {
    case WM_INITDIALOG: Open(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_NEWOPP_PHASE:
            if (HIWORD(wParam) != CBN_SELCHANGE) return FALSE;
            ShowProbability(hDlg, m);
            return TRUE;
        case IDC_NEWRECORD_OK: Confirm(hDlg, m); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        ReleaseLookups(hDlg);
        ReleaseDialogFont(hDlg);
        return FALSE;
    }
    return FALSE;
}

}  // namespace

#define NEW_OPPORTUNITY_MEMBER(name, link, percent, form)                  \
    INT_PTR CALLBACK name(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) {   \
        static const NewOpportunityMember kMember = {link, percent, form}; \
        return NewOpportunityDialog(kMember, hDlg, uMsg, wParam);          \
    }

NEW_OPPORTUNITY_MEMBER(NewOpportunityDlgProc_TasDetail, kLinkNone, true, nullptr)
NEW_OPPORTUNITY_MEMBER(NewOpportunityDlgProc_AccDetail, kLinkAccount, true, AccountForm)
NEW_OPPORTUNITY_MEMBER(NewOpportunityDlgProc_ConDetail, kLinkContact, true, ContactForm)
NEW_OPPORTUNITY_MEMBER(NewOpportunityDlgProc_TasDetailOpportunities, kLinkTask, false, TaskForm)
