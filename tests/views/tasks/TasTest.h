// Helpers of the task page tests: dates as the seeds write them and as the
// pages keep them, and the day view's picker as the user closes it.
#pragma once

#include <cstdio>
#include <string>

#include "tests/support/ProgramTest.h"
#include "views/tasks/Tas_HomepageDialogClass.h"

namespace tastest {

inline std::string DateText(int y, int m, int d) {
    char sz[32];
    snprintf(sz, sizeof(sz), "%04d-%02d-%02d", y, m, d);
    return sz;
}

inline SYSTEMTIME Today() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return st;
}

inline bool SameDay(const SYSTEMTIME& st, int y, int m, int d) {
    return st.wYear == y && st.wMonth == m && st.wDay == d;
}

// Sets the day view's picker and sends the close-up its calendar sends.
inline void PickDay(int y, int m, int d) {
    SYSTEMTIME st = {};
    st.wYear = (WORD)y;
    st.wMonth = (WORD)m;
    st.wDay = (WORD)d;
    SendMessageA(g_Tas_Homepage.m_hPicker, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
    NMHDR hdr = {};
    hdr.hwndFrom = g_Tas_Homepage.m_hPicker;
    hdr.idFrom = (UINT_PTR)GetDlgCtrlID(g_Tas_Homepage.m_hPicker);
    hdr.code = DTN_CLOSEUP;
    SendMessageA(g_Tas_Homepage.m_hWnd, WM_NOTIFY, hdr.idFrom, (LPARAM)&hdr);
}

inline SYSTEMTIME PickerDate(HWND h) {
    SYSTEMTIME st = {};
    SendMessageA(h, DTM_GETSYSTEMTIME, 0, (LPARAM)&st);
    return st;
}

}  // namespace tastest
