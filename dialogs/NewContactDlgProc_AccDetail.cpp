// New contact of the account shown in the account form: its 工作单位 is that
// account, as long as the form shows a stored account.
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
