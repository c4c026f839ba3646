#include "views/tasks/Tas_HomepageDialogClass.h"

#include <cstdio>
#include <cstring>

#include "views/tasks/Tas_Calendar.h"
#include "shell/ToolbarClass.h"
#include "resources/tasks_ids.h"

Tas_HomepageDialogClass g_Tas_Homepage;

namespace {
const int kMenuIDs[kTasMenuEntries] = {IDC_TASH_MENU_NEW,  IDC_TASH_MENU_ALL,   IDC_TASH_MENU_TODAY, IDC_TASH_MENU_DAY,
                                       IDC_TASH_MENU_WEEK, IDC_TASH_MENU_MONTH, IDC_TASH_MENU_CLOSED};

DATE_STRUCT DateOf(const SYSTEMTIME& st) {
    DATE_STRUCT d;
    d.year = (SQLSMALLINT)st.wYear;
    d.month = st.wMonth;
    d.day = st.wDay;
    return d;
}

HWND MakeButton(HWND hParent, HINSTANCE hInst, HFONT hFont, const char* pszText, int nID, int x, int y) {
    HWND h = CreateWindowExA(0, "BUTTON", pszText, WS_CHILD | WS_VISIBLE, x, y, 50, 22, hParent, (HMENU)(INT_PTR)nID,
                             hInst, nullptr);
    SendMessageA(h, WM_SETFONT, (WPARAM)hFont, 0);
    return h;
}
}  // namespace

Tas_HomepageDialogClass::Tas_HomepageDialogClass()
    : m_stDate{}, m_hPicker(nullptr), m_hPrevButton(nullptr), m_hNextButton(nullptr) {
    m_szTitle[0] = 0;
    m_rcTitle = {425, 16, 900, 36};
}

void Tas_HomepageDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    CreateFrameControls(hWnd, IDC_TASH_SEARCH_EDIT, IDC_TASH_SEARCH, TasMenu(kMenuIDs), IDC_TASH_HELP);
    m_hPrevButton = MakeButton(hWnd, m_hInstance, m_hFontArial, "前一天", IDC_TASH_PREV, 166, 14);
    m_hPicker = CreateWindowExA(0, "SysDateTimePick32", "DateTime", WS_CHILD | WS_VISIBLE | DTS_SHORTDATEFORMAT, 230,
                                14, 105, 20, hWnd, (HMENU)(INT_PTR)IDC_TASH_PICKER, m_hInstance, nullptr);
    SendMessageA(m_hPicker, WM_SETFONT, (WPARAM)m_hFont, 0);
    m_hNextButton = MakeButton(hWnd, m_hInstance, m_hFontArial, "后一天", IDC_TASH_NEXT, 355, 14);
    CreateTasRecordList(hWnd, IDC_TASH_LIST, 40, 573);
    m_bHover = 0;

    // The title stays empty until the first opening.
    GetLocalTime(&m_stDate);
    SetPicker();
    FreeRows();
    ShowQueryResult(m_Tas.ctd_GetByDay(m_stDate), g_szTasQueryError);
    FreeRows();
}

void Tas_HomepageDialogClass::SetPicker() {
    SYSTEMTIME st = m_stDate;
    st.wHour = st.wMinute = st.wSecond = st.wMilliseconds = 0;
    if (m_hPicker) SendMessageA(m_hPicker, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
}

void Tas_HomepageDialogClass::ListDate() {
    FreeRows();
    const int nResult = ShowQueryResult(m_Tas.ctd_GetByDay(m_stDate), g_szTasQueryError);
    FreeRows();
    // After a failed query the rows and the title stay as they were.
    char szOld[sizeof(m_szTitle)];
    memcpy(szOld, m_szTitle, sizeof(szOld));
    if (nResult >= 0)
        snprintf(m_szTitle, sizeof(m_szTitle),
                 "所有的计划日志共%d条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。", nResult);
    InvalidateTextLine(m_rcTitle, 425, 16, szOld, m_szTitle);
}

LRESULT Tas_HomepageDialogClass::OnOpen(BOOL bToday) {
    if (!m_bInit) InitDialog(m_hWnd);
    g_Toolbar.CheckButton(ModuleButton(), 1);
    AppendHistoryNode();
    if (bToday) {
        GetLocalTime(&m_stDate);
        SetPicker();
    }
    ListDate();
    SetWindowTextA(m_hSearchEdit, "");
    return 0;
}

LRESULT Tas_HomepageDialogClass::OnRestoreView() {
    g_Toolbar.CheckButton(ModuleButton(), 1);
    GetLocalTime(&m_stDate);
    SetPicker();
    ListDate();
    return 0;
}

void Tas_HomepageDialogClass::StepDay(int nDays) {
    DATE_STRUCT d;
    if (calendar::AddDays(nDays, DateOf(m_stDate), &d) != 0) return;
    m_stDate.wYear = (WORD)d.year;
    m_stDate.wMonth = d.month;
    m_stDate.wDay = d.day;
    m_stDate.wDayOfWeek = (WORD)calendar::DayOfWeek(d);
    SetPicker();
    ListDate();
}

void Tas_HomepageDialogClass::OnPickerCloseUp() {
    SYSTEMTIME st = {};
    if (SendMessageA(m_hPicker, DTM_GETSYSTEMTIME, 0, (LPARAM)&st) != GDT_VALID || st.wYear == 0) return;
    m_stDate.wYear = st.wYear;
    m_stDate.wMonth = st.wMonth;
    m_stDate.wDay = st.wDay;
    m_stDate.wDayOfWeek = st.wDayOfWeek;
    ListDate();
}

LRESULT Tas_HomepageDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case UM_OPENVIEW: return OnOpen(FALSE);
    case UM_OPEN_TODAY: return OnOpen(TRUE);
    case UM_RESTOREVIEW: return OnRestoreView();
    case WM_COMMAND:
        if ((int)wParam == IDC_TASH_PREV) {
            StepDay(-1);
            return 0;
        }
        if ((int)wParam == IDC_TASH_NEXT) {
            StepDay(1);
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const NMHDR* pHdr = (const NMHDR*)lParam;
        if (pHdr && pHdr->hwndFrom == m_hPicker) {
            if (pHdr->code == DTN_CLOSEUP) OnPickerCloseUp();
            return 0;
        }
        break;
    }
    default: break;
    }
    return DefaultPageProc(hWnd, uMsg, wParam, lParam);
}

void Tas_HomepageDialogClass::PaintPage(HDC hdc) { PaintText(hdc, 425, 16, m_szTitle); }
