#include "shell/Report.h"

#include "resources/message_texts.h"

void ReportError(LPCSTR pszText) { MessageBoxA(nullptr, pszText, msg::kCaption, MB_OK); }
