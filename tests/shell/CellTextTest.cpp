// The fixed cell formats give exactly what snprintf gives, truncation included.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "shell/CellText.h"

namespace {

template <class Fmt, class... Args>
void ExpectLikePrintf(Fmt fmt, const char* pszPrintf, Args... args) {
    for (int nSize : {64, 400, 8, 5, 1, 0}) {
        char want[400], got[400];
        std::memset(want, 'x', sizeof want);
        std::memset(got, 'x', sizeof got);
        const int nWant = std::snprintf(want, static_cast<size_t>(nSize), pszPrintf, args...);
        const int nGot = fmt(got, nSize, args...);
        EXPECT_EQ(nGot, nWant) << pszPrintf << " size " << nSize;
        EXPECT_EQ(std::string(got, static_cast<size_t>(nSize)), std::string(want, static_cast<size_t>(nSize)))
            << pszPrintf << " size " << nSize;
    }
}

TEST(CellText, DatesAndTimesLikePrintf) {
    ExpectLikePrintf(cell::FormatDate, "%d-%d-%d", 2024, 3, 5);
    ExpectLikePrintf(cell::FormatDate, "%d-%d-%d", 0, 0, 0);
    ExpectLikePrintf(cell::FormatDate, "%d-%d-%d", -1, 12, 31);
    ExpectLikePrintf(cell::FormatDate, "%d-%d-%d", INT_MIN, INT_MAX, INT_MIN);
    ExpectLikePrintf(cell::FormatTime, "%d:%d", 9, 5);
    ExpectLikePrintf(cell::FormatTime, "%d:%d", 23, 59);
    ExpectLikePrintf(cell::FormatTime, "%d:%d", INT_MIN, -7);
    ExpectLikePrintf(cell::FormatPercent, "%d%%", 40);
    ExpectLikePrintf(cell::FormatPercent, "%d%%", INT_MIN);
}

TEST(CellText, AmountsLikePrintf) {
    const double kValues[] = {0.0,      -0.0,      0.005,        0.015,        0.125,        2.675,
                              1.005,    10.5,      1234.25,      -1234.255,    99999999.995, 1e15 + 0.3,
                              1e22,     DBL_MAX,   -DBL_MAX,     DBL_MIN,      DBL_TRUE_MIN, 0.1 + 0.2,
                              HUGE_VAL, -HUGE_VAL, std::nan(""), -std::nan("")};
    for (double v : kValues) ExpectLikePrintf(cell::FormatAmount, "%.2f", v);
    for (int i = -3000; i <= 3000; ++i) ExpectLikePrintf(cell::FormatAmount, "%.2f", i * 0.005 + i * 17.3);
}

}  // namespace
