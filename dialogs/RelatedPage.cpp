// What every relation page does with its record: it loads its list for
// g_ulRelatingID when it is made and again on UM_RELOADRELATED. The page
// keeps the id it loaded for in its window's user data, so that it never
// holds a window handle or a record across its own destruction.
#include "dialogs/RelatedPages.h"

#include "views/RelatingGlobals.h"
#include "shell/ViewMessages.h"

namespace {

void LoadFor(HWND hDlg, ULONG ulID) { SetWindowLongPtrA(hDlg, GWLP_USERDATA, (LONG_PTR)ulID); }

INT_PTR RelatedPageProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_INITDIALOG: LoadFor(hDlg, g_ulRelatingID); return TRUE;
    case UM_RELOADRELATED: LoadFor(hDlg, g_ulRelatingID); return TRUE;
    }
    return FALSE;
}

}  // namespace

ULONG RelatedPageLoadedID(HWND hPage) { return hPage ? (ULONG)GetWindowLongPtrA(hPage, GWLP_USERDATA) : 0; }

#define RELATED_PAGE(name)                                                      \
    INT_PTR CALLBACK name(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) { \
        return RelatedPageProc(hDlg, uMsg, wParam, lParam);                     \
    }

RELATED_PAGE(RelatedTasksPageProc_OppDetail)
RELATED_PAGE(RelatedContactsPageProc_OppDetail)
RELATED_PAGE(RelatedAccountsPageProc_OppDetail)
RELATED_PAGE(RelatedTasksPageProc_AccDetail)
RELATED_PAGE(RelatedContactsPageProc_AccDetail)
RELATED_PAGE(RelatedOpportunitiesPageProc_AccDetail)
RELATED_PAGE(RelatedTasksPageProc_ConDetail)
RELATED_PAGE(RelatedOpportunitiesPageProc_ConDetail)
RELATED_PAGE(RelatedOpportunitiesPageProc_TasDetail)
RELATED_PAGE(RelatedContactsPageProc_TasDetail)
RELATED_PAGE(RelatedAccountsPageProc_TasDetail)
