#include "store/Report.h"

#include <cstdio>

#include "store/ODBCClass.h"

namespace store {

namespace {
Reporter s_pfnReport = nullptr;
}

void SetReporter(Reporter pfnReport) { s_pfnReport = pfnReport; }

void ShowError(const char* pszText) {
    // Nothing of the file stays locked while a report waits for the user.
    g_ODBC.co_ReleaseFile();
    if (s_pfnReport)
        s_pfnReport(pszText);
    else
        std::fprintf(stderr, "%s\n", pszText ? pszText : "");
}

}  // namespace store
