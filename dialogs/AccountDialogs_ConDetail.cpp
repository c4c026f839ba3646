// The contact form's account picker. Until it has its page it closes as it
// opens: no account is chosen, the form stays as it was.
#include "dialogs/RelatedPages.h"

namespace {
INT_PTR CloseAtOnce(HWND hDlg, UINT uMsg) {
    if (uMsg != WM_INITDIALOG) return FALSE;
    EndDialog(hDlg, IDCANCEL);
    return TRUE;
}
}  // namespace

INT_PTR CALLBACK SelectAccountDlgProc_ConDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return CloseAtOnce(hDlg, uMsg);
}
