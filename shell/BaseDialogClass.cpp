#include "shell/BaseDialogClass.h"

#include <cstring>

#include "shell/ViewMessages.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

namespace {

BaseDialogClass* const* s_ppViews = nullptr;
int s_nViews = 0;

HFONT MakeFont(LOGFONTA& lf, LONG lHeight, LONG lWeight, BYTE bCharSet, BYTE bPitchAndFamily, const char* pszFace) {
    lf.lfHeight = lHeight;
    lf.lfWeight = lWeight;
    lf.lfCharSet = bCharSet;
    lf.lfOutPrecision = 3;   // OUT_TT_PRECIS
    lf.lfClipPrecision = 2;  // CLIP_STROKE_PRECIS
    lf.lfQuality = 1;        // DRAFT_QUALITY
    lf.lfPitchAndFamily = bPitchAndFamily;
    std::strncpy(lf.lfFaceName, pszFace, sizeof(lf.lfFaceName) - 1);
    lf.lfFaceName[sizeof(lf.lfFaceName) - 1] = '\0';
    return CreateFontIndirectA(&lf);
}

}  // namespace

BaseDialogClass::BaseDialogClass()
    : m_hWnd(nullptr),
      m_rcClient{0, 0, 0, 0},
      m_nTop(0),
      m_lf{},
      m_hFont(nullptr),
      m_hFontArial(nullptr),
      m_hFontArialBold(nullptr),
      m_hFontTitle(nullptr),
      m_hFontSmall(nullptr),
      m_hInstance(nullptr),
      m_bInit(0),
      m_nHScroll(0),
      m_nVScroll(0) {}

BaseDialogClass::~BaseDialogClass() {
    HFONT fonts[] = {m_hFont, m_hFontArial, m_hFontArialBold, m_hFontTitle, m_hFontSmall};
    for (HFONT h : fonts) {
        if (h) DeleteObject(h);
    }
}

void BaseDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    GetClientRect(hWnd, &m_rcClient);
    std::memset(&m_lf, 0, sizeof(m_lf));
    m_hFont = MakeFont(m_lf, -15, 400, 134, 2, "宋体");
    m_hFontTitle = MakeFont(m_lf, -21, 700, 134, 2, "宋体");
    m_hFontSmall = MakeFont(m_lf, -13, 400, 134, 2, "宋体");
    m_hFontArial = MakeFont(m_lf, -14, 400, 0, 0x22, "Arial");
    m_hFontArialBold = MakeFont(m_lf, -14, 700, 0, 0x22, "Arial");
    m_bInit = 1;
}

LRESULT BaseDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

int BaseDialogClass::CreateDialog(HINSTANCE hInstance, HWND hParent, LPCSTR szClassName, int y) {
    if (!hInstance) {
        ReportError(msg::kViewNoInstance);
        return -1;
    }
    m_hInstance = hInstance;
    m_nTop = y;

    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = StaticDialogProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = szClassName;
    WNDCLASSA wcOld{};
    // A class left registered by an earlier main window of this process (the
    // views are made again) is reused when it is this procedure's.
    if (!RegisterClassA(&wc) &&
        !(GetClassInfoA(hInstance, szClassName, &wcOld) && wcOld.lpfnWndProc == StaticDialogProc)) {
        ReportError(msg::kViewRegisterClass);
        return -1;
    }

    RECT rc{0, 0, 0, 0};
    GetClientRect(hParent, &rc);
    m_hWnd = CreateWindowExA(0, szClassName, "", WS_CHILD, 0, y, rc.right - rc.left, rc.bottom - rc.top, hParent,
                             nullptr, hInstance, nullptr);
    if (!m_hWnd) {
        ReportError(msg::kViewCreateWindow);
        return -1;
    }
    return 0;
}

void BaseDialogClass::ShowDialog() {
    ShowWindow(m_hWnd, SW_SHOW);
    UpdateWindow(m_hWnd);
}

void BaseDialogClass::HideDialog() {
    ShowWindow(m_hWnd, SW_HIDE);
    UpdateWindow(m_hWnd);
}

void BaseDialogClass::ResizeDialog(HWND hMainWnd) {
    RECT rc{0, 0, 0, 0};
    GetClientRect(hMainWnd, &rc);
    const int w = rc.right - rc.left;
    const int h = rc.bottom - rc.top;

    LONG_PTR style = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = 0;

    if (w < kPageWidth) {
        SetWindowLongPtrA(m_hWnd, GWL_STYLE, style | WS_HSCROLL);
        style |= WS_HSCROLL;
        si.nMax = kPageWidth;
        si.nPage = (UINT)w;
        SetScrollInfo(m_hWnd, SB_HORZ, &si, FALSE);
        SetScrollPos(m_hWnd, SB_HORZ, 0, TRUE);
    } else {
        style &= ~(LONG_PTR)WS_HSCROLL;
        SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
    }
    if (h < kPageHeight) {
        style |= WS_VSCROLL;
        SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
        si.nMax = kPageHeight;
        si.nPage = (UINT)h;
        SetScrollInfo(m_hWnd, SB_VERT, &si, FALSE);
        SetScrollPos(m_hWnd, SB_VERT, 0, TRUE);
    } else {
        style &= ~(LONG_PTR)WS_VSCROLL;
        SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
    }

    // Back to the unscrolled origin: the controls return to their places.
    ScrollWindow(m_hWnd, -m_nHScroll, -m_nVScroll, nullptr, nullptr);
    m_nHScroll = 0;
    m_nVScroll = 0;
    UpdateWindow(m_hWnd);

    int nHeight = h - kBarsAllowance;
    if (nHeight < 0) nHeight = 0;
    MoveWindow(m_hWnd, 0, m_nTop, w, nHeight, FALSE);
}

LRESULT BaseDialogClass::OnScroll(HWND hWnd, UINT uMsg, WPARAM wParam) {
    const int nBar = (uMsg == WM_VSCROLL) ? SB_VERT : SB_HORZ;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(hWnd, nBar, &si);
    const int nOld = si.nPos;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: si.nPos -= 1; break;
    case SB_LINEDOWN: si.nPos += 1; break;
    case SB_PAGEUP: si.nPos -= (int)si.nPage; break;
    case SB_PAGEDOWN: si.nPos += (int)si.nPage; break;
    case SB_THUMBTRACK: si.nPos = si.nTrackPos; break;
    case SB_TOP:
        if (nBar == SB_VERT) si.nPos = si.nMin;
        break;
    case SB_BOTTOM:
        if (nBar == SB_VERT) si.nPos = si.nMax;
        break;
    default: break;
    }
    si.fMask = SIF_POS;
    SetScrollInfo(hWnd, nBar, &si, TRUE);
    GetScrollInfo(hWnd, nBar, &si);
    if (si.nPos != nOld) {
        const int nDelta = nOld - si.nPos;
        if (nBar == SB_VERT) {
            m_nVScroll += nDelta;
            ScrollWindow(hWnd, 0, nDelta, nullptr, nullptr);
            UpdateWindow(hWnd);
        } else {
            m_nHScroll += nDelta;
            ScrollWindow(hWnd, nDelta, 0, nullptr, nullptr);
        }
    }
    return 0;
}

LRESULT CALLBACK BaseDialogClass::StaticDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    BaseDialogClass* pView = HwndToDialog(hWnd);
    if (!pView) return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_SHOWWINDOW) pView->InitDialog(hWnd);
    return pView->DialogProc(hWnd, uMsg, wParam, lParam);
}

BaseDialogClass* BaseDialogClass::HwndToDialog(HWND hWnd) {
    if (!hWnd) return nullptr;
    for (int i = 0; i < s_nViews; ++i) {
        BaseDialogClass* p = s_ppViews[i];
        if (p && p->m_hWnd == hWnd) return p;
    }
    return nullptr;
}

void BaseDialogClass::SetViewTable(BaseDialogClass* const* ppViews, int nViews) {
    if (nViews < 0 || !ppViews) nViews = 0;
    if (nViews > kMaxViews) nViews = kMaxViews;
    s_ppViews = ppViews;
    s_nViews = nViews;
}

int BaseDialogClass::GetViewCount() { return s_nViews; }

BaseDialogClass* BaseDialogClass::GetView(int nIndex) {
    if (nIndex < 0 || nIndex >= s_nViews) return nullptr;
    return s_ppViews[nIndex];
}
