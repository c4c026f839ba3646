#include "shell/CellText.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace cell {

namespace {

// Copies what fits (with its terminator) as snprintf does.
int Emit(char* pszBuf, int nSize, const char* pText, int nLen) {
    if (nSize > 0) {
        const int n = nLen < nSize - 1 ? nLen : nSize - 1;
        std::memcpy(pszBuf, pText, static_cast<size_t>(n));
        pszBuf[n] = '\0';
    }
    return nLen;
}

// Numbers joined by one separator character each.
int Join(char* pszBuf, int nSize, const int* pValues, int nCount, char cSep) {
    char sz[48];
    char* p = sz;
    for (int i = 0; i < nCount; ++i) {
        if (i) *p++ = cSep;
        p = std::to_chars(p, sz + sizeof(sz), pValues[i]).ptr;
    }
    return Emit(pszBuf, nSize, sz, static_cast<int>(p - sz));
}

}  // namespace

int FormatDate(char* pszBuf, int nSize, int nYear, int nMonth, int nDay) {
    const int v[3] = {nYear, nMonth, nDay};
    return Join(pszBuf, nSize, v, 3, '-');
}

int FormatTime(char* pszBuf, int nSize, int nHour, int nMinute) {
    const int v[2] = {nHour, nMinute};
    return Join(pszBuf, nSize, v, 2, ':');
}

int FormatPercent(char* pszBuf, int nSize, int nValue) {
    char sz[16];
    char* p = std::to_chars(sz, sz + sizeof(sz) - 1, nValue).ptr;
    *p++ = '%';
    return Emit(pszBuf, nSize, sz, static_cast<int>(p - sz));
}

int FormatAmount(char* pszBuf, int nSize, double dValue) {
    char sz[400];  // the largest double has 309 digits before the point
    const std::to_chars_result r = std::to_chars(sz, sz + sizeof(sz), dValue, std::chars_format::fixed, 2);
    if (r.ec != std::errc()) return std::snprintf(pszBuf, static_cast<size_t>(nSize), "%.2f", dValue);
    return Emit(pszBuf, nSize, sz, static_cast<int>(r.ptr - sz));
}

}  // namespace cell
