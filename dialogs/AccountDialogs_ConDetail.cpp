// The contact form's 工作单位 dialogs. Until they have their pages they close
// as they open: no account is made or chosen, the form stays as it was.
#include "dialogs/RelatedPages.h"

namespace {
INT_PTR CloseAtOnce(HWND hDlg, UINT uMsg) {
    if (uMsg != WM_INITDIALOG) return FALSE;
    EndDialog(hDlg, IDCANCEL);
    return TRUE;
}
}  // namespace

INT_PTR CALLBACK NewAccountDlgProc_ConDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return CloseAtOnce(hDlg, uMsg);
}

INT_PTR CALLBACK SelectAccountDlgProc_ConDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return CloseAtOnce(hDlg, uMsg);
}
