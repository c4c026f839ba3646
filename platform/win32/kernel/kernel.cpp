// KERNEL32 functions that need no GUI.
#include <time.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/gbk/gbk.h"
#include "win32.h"

DWORD GetModuleFileNameA(HMODULE, LPSTR lpFilename, DWORD nSize) {
    if (!lpFilename || nSize == 0) return 0;
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n < 0) {
        lpFilename[0] = '\0';
        return 0;
    }
    std::string path = gbk::FromUtf8(std::string_view(buf, size_t(n)));
    gbk::CopyCut(lpFilename, nSize, path);
    // A path that does not fit is cut (NUL-terminated) and reported as nSize,
    // so callers can tell it from a whole one.
    if (path.size() >= nSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    SetLastError(ERROR_SUCCESS);
    return DWORD(path.size());
}

void GetLocalTime(LPSYSTEMTIME st) {
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm tmv;
    localtime_r(&ts.tv_sec, &tmv);
    st->wYear = WORD(tmv.tm_year + 1900);
    st->wMonth = WORD(tmv.tm_mon + 1);
    st->wDayOfWeek = WORD(tmv.tm_wday);
    st->wDay = WORD(tmv.tm_mday);
    st->wHour = WORD(tmv.tm_hour);
    st->wMinute = WORD(tmv.tm_min);
    st->wSecond = WORD(tmv.tm_sec);
    st->wMilliseconds = WORD(ts.tv_nsec / 1000000);
}
