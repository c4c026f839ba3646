// How the store tells the user about an error: through the reporter that its
// user sets (the program shows a message box with its caption; the store's
// tests record the texts). Without a reporter the text goes to stderr.
#pragma once

namespace store {

using Reporter = void (*)(const char* pszText);
void SetReporter(Reporter pfnReport);
// Reports pszText through the reporter set.
void ShowError(const char* pszText);

}  // namespace store
