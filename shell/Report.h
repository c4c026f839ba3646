// How the program reports an error or a refusal to the user: a modal message
// box without owner, with the program's caption and an OK button. The texts
// are in resources/message_texts.h or in the reporting page's own table.
#pragma once

#include "win32.h"

void ReportError(LPCSTR pszText);

// After each report ReportError posts UM_REPORTEDACTIONDONE to the main
// window, which calls EndReportedAction for it. A posted message runs only
// in a loop waiting for the user (the main loop, a dialog's, a box's): run
// while no report's box is up, it means that the action which reported is
// over, and the store names the file's trouble again for the next one.
enum : UINT { UM_REPORTEDACTIONDONE = WM_APP + 1 };
void EndReportedAction();
