// The new-task dialog of the tasks pages: one core, three members. The task
// is linked to the record the form shows (the store sets that record's
// recent-contact date to today), then the form shows its record again,
// which reloads the page. After a failed insert the dialog stays open with
// the typed task.
#include "dialogs/NewRecordDialogs.h"

#include "dialogs/DialogFont.h"
#include "resources/message_texts.h"
#include "shell/Report.h"
#include "shell/ViewMessages.h"
#include "store/Tas_DetailClass.h"
#include "shell/FormControls.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_Form.h"
#include "views/contacts/Con_Form.h"
#include "views/opportunities/Opp_Form.h"

namespace {

struct NewTaskMember {
    ULONG Tas_DetailClass::*pLink;  // the link id that takes g_ulRelatingID
    RecordFormClass* (*pfnForm)();  // the form told to show its record again
};

int ReadTask(HWND hDlg, Tas_DetailClass& tas) {
    TasNode* p = tas.m_pCurrent;
    // A longer title is cut to what the store keeps of a subject.
    ReadText(GetDlgItem(hDlg, IDC_NEWTASK_TITLE), p->tas_subject, store::SUBJECT_MAX_BYTES + 1);
    p->tas_date = ReadPickerDate(GetDlgItem(hDlg, IDC_NEWTASK_DATE));
    p->tas_time = ReadPickerTime(GetDlgItem(hDlg, IDC_NEWTASK_TIME));
    HWND hContent = GetDlgItem(hDlg, IDC_NEWTASK_CONTENT);
    const int n = GetWindowTextLengthA(hContent);
    if (tas.ctd_AllocNodeDescription((unsigned)(n > 0 ? n : 0)) == -1) return -1;
    if (n > 0) GetWindowTextA(hContent, p->tas_description, n + 1);
    auto checked = [hDlg](int nID) { return SendDlgItemMessageA(hDlg, nID, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; };
    p->tas_private = checked(IDC_NEWTASK_PRIVATE);
    p->tas_remind = checked(IDC_NEWTASK_REMIND);
    p->tas_closed = checked(IDC_NEWTASK_CLOSED);
    return 0;
}

void Confirm(HWND hDlg, const NewTaskMember& m) {
    // The cost first: text that is not wholly a number, or one beyond what it
    // holds, is refused with the typed task kept.
    double dCost = 0;
    if (ReadAmount(GetDlgItem(hDlg, IDC_NEWTASK_COST), "费用", &dCost) == -1) return;
    Tas_DetailClass tas;
    if (tas.ctd_AllocHead() == -1 || ReadTask(hDlg, tas) == -1) {
        ReportError(msg::kNewDialogAllocHead);
        return;
    }
    tas.m_pCurrent->tas_outlay = (float)dCost;
    tas.m_ulAccID = tas.m_ulOppID = tas.m_ulConID = 0;
    tas.*m.pLink = g_ulRelatingID;
    if (tas.ctd_AddTask() == -1) {
        ReportError(msg::kNewTaskAdd);
        return;  // stays open with the typed task
    }
    EndDialog(hDlg, 0);
    m.pfnForm()->ShowRecordAgain(g_ulRelatingID);
}

INT_PTR NewTaskDialog(const NewTaskMember& m, HWND hDlg, UINT uMsg, WPARAM wParam) {
    switch (uMsg) {
    case WM_INITDIALOG:
        AttachDialogFont(hDlg);
        SetDlgItemTextA(hDlg, IDC_NEWTASK_TITLE, g_szRelatingName);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_NEWRECORD_OK: Confirm(hDlg, m); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        return FALSE;
    case WM_DESTROY: ReleaseDialogFont(hDlg); return FALSE;
    }
    return FALSE;
}

}  // namespace

#define NEW_TASK_MEMBER(name, link, form)                                    \
    INT_PTR CALLBACK name(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) {     \
        static const NewTaskMember kMember = {&Tas_DetailClass::link, form}; \
        return NewTaskDialog(kMember, hDlg, uMsg, wParam);                   \
    }

NEW_TASK_MEMBER(NewTaskDlgProc_OppDetail, m_ulOppID, OpportunityForm)
NEW_TASK_MEMBER(NewTaskDlgProc_AccDetail, m_ulAccID, AccountForm)
NEW_TASK_MEMBER(NewTaskDlgProc_ConDetail, m_ulConID, ContactForm)
