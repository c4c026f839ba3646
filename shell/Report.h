// How the program reports an error or a refusal to the user: a modal message
// box without owner, with the program's caption and an OK button. The texts
// are in resources/message_texts.h or in the reporting page's own table.
#pragma once

#include "win32.h"

void ReportError(LPCSTR pszText);
