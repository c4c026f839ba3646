#include "store/Report.h"

#include <cstdio>

namespace store {

namespace {
Reporter s_pfnReport = nullptr;
}

void SetReporter(Reporter pfnReport) { s_pfnReport = pfnReport; }

void ShowError(const char* pszText) {
    if (s_pfnReport)
        s_pfnReport(pszText);
    else
        std::fprintf(stderr, "%s\n", pszText ? pszText : "");
}

}  // namespace store
