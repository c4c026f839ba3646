// New task for the account shown in the account form: the title starts with
// the account's name.
#include "dialogs/RelatedPages.h"

#include "views/RelatingGlobals.h"

INT_PTR CALLBACK NewTaskDlgProc_AccDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        SetDlgItemTextA(hDlg, IDC_NEWTASK_TITLE, g_szRelatingName);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, 0);
            return TRUE;
        }
        break;
    case WM_CLOSE:
        EndDialog(hDlg, 0);
        return TRUE;
    }
    return FALSE;
}
