// KERNEL32: module path, local time, files, threads (no GUI; library w32kernel).
#pragma once

#include "win32.h"

// ---------------------------------------------------------------------------
// KERNEL32
// ---------------------------------------------------------------------------
typedef struct _SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
} SYSTEMTIME, *LPSYSTEMTIME;

// Full path of the running executable (GBK), NUL-terminated, cut to nSize.
DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);
void GetLocalTime(LPSYSTEMTIME lpSystemTime);

