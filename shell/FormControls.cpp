#include "shell/FormControls.h"

#include <charconv>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/gbk/gbk.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

namespace {
// Room for any amount written with two decimals (the largest double has 309
// digits before the point).
constexpr int kAmountSize = 400;
// White space as strtod skips it in the "C" locale.
constexpr char kSpaces[] = " \t\n\v\f\r";

SYSTEMTIME ReadPicker(HWND h) {
    SYSTEMTIME st = {};
    SendMessageA(h, DTM_GETSYSTEMTIME, 0, (LPARAM)&st);
    return st;
}

const char* FieldClass(FormFieldKind kind) {
    switch (kind) {
    case kFieldCheck:
    case kFieldButton: return "BUTTON";
    case kFieldDate:
    case kFieldTime: return "SysDateTimePick32";
    case kFieldCombo: return "COMBOBOX";
    default: return "EDIT";
    }
}
}  // namespace

HWND MakeControl(HWND hParent, HINSTANCE hInst, HFONT hFont, const char* pszClass, const char* pszText, DWORD dwStyle,
                 int nID, int x, int y, int w, int h) {
    HWND hCtl = CreateWindowExA(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | dwStyle, x, y, w, h, hParent,
                                (HMENU)(INT_PTR)nID, hInst, nullptr);
    SendMessageA(hCtl, WM_SETFONT, (WPARAM)hFont, 0);
    return hCtl;
}

int TabCycleTarget(const FormFieldDef* pFields, int nFields, int nFrom, BOOL bBackward) {
    if (nFrom < 0 || nFrom >= nFields || !(pFields[nFrom].uFlags & kFieldInTabCycle)) return -1;
    for (int k = 1; k < nFields; k++) {
        const int i = ((bBackward ? nFrom - k : nFrom + k) % nFields + nFields) % nFields;
        if (pFields[i].uFlags & kFieldInTabCycle) return i;
    }
    return -1;
}

HWND MakeField(HWND hParent, HINSTANCE hInst, HFONT hFont, const FormFieldDef& def) {
    const char* pszText = def.pszText ? def.pszText : "";
    if (def.kind == kFieldDate || def.kind == kFieldTime) pszText = "DateTime";
    HWND h = MakeControl(hParent, hInst, hFont, FieldClass(def.kind), pszText, def.dwStyle, def.nID, def.x, def.y,
                         def.w, def.h);
    if (def.nLimit > 0) SendMessageA(h, EM_LIMITTEXT, (WPARAM)def.nLimit, 0);
    if (def.kind == kFieldEdit && (def.uFlags & kFieldFixed)) SendMessageA(h, EM_SETREADONLY, TRUE, 0);
    if (def.kind == kFieldDate) {
        // The date picker's own range, which the store keeps exactly.
        SYSTEMTIME range[2] = {};
        range[0].wYear = 1601;
        range[0].wMonth = range[0].wDay = 1;
        range[1].wYear = 9999;
        range[1].wMonth = 12;
        range[1].wDay = 31;
        const WPARAM kMinAndMax = 1 | 2;  // GDTR_MIN | GDTR_MAX
        SendMessageA(h, DTM_SETRANGE, kMinAndMax, (LPARAM)range);
    }
    return h;
}

namespace {
// A date as one number (0: none), year, month and day in that order.
LONG_PTR PackDate(int year, int month, int day) {
    return (LONG_PTR)(((unsigned)year & 0xFFFF) << 16 | ((unsigned)month & 0xFF) << 8 | ((unsigned)day & 0xFF));
}
}  // namespace

void SetPickerDate(HWND h, const DATE_STRUCT& d) {
    SYSTEMTIME st = {};
    st.wYear = (WORD)d.year;
    st.wMonth = d.month;
    st.wDay = d.day;
    const bool bSet = SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st) != 0;
    // A stored date outside the picker's range (before 1601) shows as the
    // range's end; the picker keeps the date as read together with the one
    // it shows, so that saving writes back what was read unless the user
    // changed the date.
    const SYSTEMTIME shown = ReadPicker(h);
    const LONG_PTR lShown = PackDate(shown.wYear, shown.wMonth, shown.wDay);
    const LONG_PTR lRead = PackDate(d.year, d.month, d.day);
    SetWindowLongPtrA(h, GWLP_USERDATA, bSet && lShown != lRead ? (lRead << 32 | lShown) : 0);
}

DATE_STRUCT ReadPickerDate(HWND h) {
    const SYSTEMTIME st = ReadPicker(h);
    DATE_STRUCT d;
    d.year = (SQLSMALLINT)st.wYear;
    d.month = st.wMonth;
    d.day = st.wDay;
    const LONG_PTR lKept = GetWindowLongPtrA(h, GWLP_USERDATA);
    if (lKept && (lKept & 0xFFFFFFFF) == PackDate(st.wYear, st.wMonth, st.wDay)) {
        const LONG_PTR lRead = lKept >> 32;
        d.year = (SQLSMALLINT)(lRead >> 16);
        d.month = (SQLUSMALLINT)((lRead >> 8) & 0xFF);
        d.day = (SQLUSMALLINT)(lRead & 0xFF);
    }
    return d;
}

void SetPickerTime(HWND h, const TIME_STRUCT& t) {
    // The picker keeps today's date under the time.
    SYSTEMTIME st = {};
    GetLocalTime(&st);
    st.wHour = t.hour;
    st.wMinute = t.minute;
    st.wSecond = t.second;
    st.wMilliseconds = 0;
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
}

TIME_STRUCT ReadPickerTime(HWND h) {
    const SYSTEMTIME st = ReadPicker(h);
    TIME_STRUCT t;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    return t;
}

void ReadText(HWND h, char* pszBuf, size_t nSize) {
    char szText[512] = "";
    GetWindowTextA(h, szText, sizeof(szText));
    gbk::CopyCut(pszBuf, nSize, szText);
}

void ReadTexts(HWND hDlg, const TextField* pFields, size_t nFields) {
    for (size_t i = 0; i < nFields; ++i)
        ReadText(GetDlgItem(hDlg, pFields[i].nID), pFields[i].pszField, pFields[i].nSize);
}

int ReadAmount(HWND h, const char* pszField, double* pdAmount) {
    // The whole text, however long: a number cut short would be taken for
    // another one.
    const int nLength = GetWindowTextLengthA(h);
    std::vector<char> text((size_t)(nLength > 0 ? nLength : 0) + 1, 0);
    GetWindowTextA(h, text.data(), (int)text.size());
    // As strtod reads it in the "C" locale: white space, a sign, a decimal or
    // "0x" hexadecimal number; then only white space may follow. No text is 0.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", (locale_t)0);
    const char* pszText = text.data();
    char* pszEnd = nullptr;
    errno = 0;
    const double d = strtod_l(pszText, &pszEnd, cLocale);
    const bool bEmpty = pszText[strspn(pszText, kSpaces)] == 0;
    const bool bWhole = pszEnd != pszText && pszEnd[strspn(pszEnd, kSpaces)] == 0;
    const bool bValid = bEmpty || (bWhole && std::isfinite(d));
    if (!bValid) {
        char szMessage[160];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        snprintf(szMessage, sizeof(szMessage), msg::kAmountInvalid, pszField);
#pragma GCC diagnostic pop
        ReportError(szMessage);
        return -1;
    }
    // Too small to hold is 0.
    *pdAmount = bEmpty || errno == ERANGE ? 0 : d;
    return 0;
}

void WriteAmount(HWND h, double d) {
    char szText[kAmountSize];
    auto r = std::to_chars(szText, szText + sizeof(szText) - 1, d, std::chars_format::fixed, 2);
    *(r.ec == std::errc() ? r.ptr : szText) = 0;
    SetWindowTextA(h, szText);
}

void ClearCombo(HWND hCombo) {
    for (int i = (int)SendMessageA(hCombo, CB_GETCOUNT, 0, 0) - 1; i >= 0; i--)
        SendMessageA(hCombo, CB_DELETESTRING, i, 0);
}

void FillCombo(HWND hCombo, const char (*pszNames)[50], int nNames, const char* pszValue) {
    ClearCombo(hCombo);
    int nSelect = -1;
    for (int i = 0; i < nNames; i++) {
        SendMessageA(hCombo, CB_INSERTSTRING, i, (LPARAM)pszNames[i]);
        if (strcmp(pszNames[i], pszValue) == 0) nSelect = i;
    }
    if (nSelect < 0 && pszValue[0]) nSelect = (int)SendMessageA(hCombo, CB_INSERTSTRING, nNames, (LPARAM)pszValue);
    SendMessageA(hCombo, CB_SETCURSEL, (WPARAM)nSelect, 0);
}

void LoadCombo(HWND hCombo, const char (*pszNames)[50], int nNames) {
    for (int i = 0; i < nNames; i++) SendMessageA(hCombo, CB_ADDSTRING, 0, (LPARAM)pszNames[i]);
}
