#include "shell/Report.h"

#include "resources/message_texts.h"
#include "shell/MainWindow.h"
#include "store/ODBCClass.h"

namespace {
int s_nReportsUp = 0;  // boxes of ReportError waiting for the user
}

void ReportError(LPCSTR pszText) {
    ++s_nReportsUp;
    MessageBoxA(nullptr, pszText, msg::kCaption, MB_OK);
    --s_nReportsUp;
    if (g_hMainWnd) PostMessageA(g_hMainWnd, UM_REPORTEDACTIONDONE, 0, 0);
}

void EndReportedAction() {
    // Run by the loop of a later box of the same action, it ends nothing:
    // that box posts again once it is answered.
    if (s_nReportsUp == 0) g_ODBC.co_EndAction();
}
