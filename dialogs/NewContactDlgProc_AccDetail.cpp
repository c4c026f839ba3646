// New contact of the account shown in the account form: its 工作单位 is that
// account, as long as the form shows a stored account. The other members
// close at once for now.
#include "dialogs/RelatedPages.h"

#include "views/RelatingGlobals.h"

HWND g_hNewContactAccountEdit = NULL;

INT_PTR CALLBACK NewContactDlgProc_AccDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_INITDIALOG:
        if (g_ulRelatingID != 0) SetDlgItemTextA(hDlg, IDC_NEWCONTACT_ACCOUNT, g_szRelatingAccountName);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, 0);
            return TRUE;
        }
        break;
    case WM_CLOSE: EndDialog(hDlg, 0); return TRUE;
    }
    return FALSE;
}

namespace {

INT_PTR ClosingDialog(HWND hDlg, UINT uMsg, WPARAM wParam) {
    switch (uMsg) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_NEWRECORD_OK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

#define CLOSING_MEMBER(name) \
    INT_PTR CALLBACK name(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) { return ClosingDialog(hDlg, uMsg, wParam); }

CLOSING_MEMBER(NewContactDlgProc_TasDetail)
CLOSING_MEMBER(NewContactDlgProc_OppDetailContacts)
CLOSING_MEMBER(NewContactDlgProc_TasDetailContacts)
CLOSING_MEMBER(NewContactDlgProc_OppDetailAccounts)
CLOSING_MEMBER(NewContactDlgProc_TasDetailAccounts)
CLOSING_MEMBER(NewOpportunityDlgProc_TasDetail)
CLOSING_MEMBER(NewOpportunityDlgProc_AccDetail)
CLOSING_MEMBER(NewOpportunityDlgProc_ConDetail)
CLOSING_MEMBER(NewOpportunityDlgProc_TasDetailOpportunities)
