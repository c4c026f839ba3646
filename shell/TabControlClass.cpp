#include "shell/TabControlClass.h"

#include <map>

namespace {

// Every page runs through PageProc, which forwards to the page's own
// procedure and knows when a page is inside its own handler: a page that is
// replaced from there (it changed the tab itself) is hidden at once and
// destroyed when its handler has returned.
struct PageState {
    DLGPROC pfnProc = nullptr;
    int nDepth = 0;
    bool bDestroyPending = false;
};

std::map<HWND, PageState>& Pages() {
    static std::map<HWND, PageState> s_Pages;
    return s_Pages;
}

DLGPROC s_pfnCreating = nullptr;  // procedure of the page being created

INT_PTR CALLBACK PageProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto& pages = Pages();
    auto it = pages.find(hDlg);
    if (it == pages.end()) {
        if (!s_pfnCreating) return FALSE;
        it = pages.emplace(hDlg, PageState{}).first;
        it->second.pfnProc = s_pfnCreating;
    }
    DLGPROC pfn = it->second.pfnProc;
    ++it->second.nDepth;
    const INT_PTR r = pfn(hDlg, uMsg, wParam, uMsg == WM_INITDIALOG ? 0 : lParam);
    it = pages.find(hDlg);
    if (it == pages.end()) return r;
    --it->second.nDepth;
    if (uMsg == WM_NCDESTROY || uMsg == WM_DESTROY) {
        pages.erase(it);
    } else if (it->second.nDepth == 0 && it->second.bDestroyPending) {
        it->second.bDestroyPending = false;
        DestroyWindow(hDlg);
    }
    return r;
}

}  // namespace

TabControlClass::TabControlClass() : m_hTab(nullptr), m_hPage(nullptr), m_hInstance(nullptr), m_Pages{}, m_nPages(0) {}

TabControlClass::~TabControlClass() {}

int TabControlClass::Create(HINSTANCE hInstance, HWND hParent, int x, int y, int nWidth, int nHeight, DWORD dwStyle) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_TAB_CLASSES;
    InitCommonControlsEx(&icc);
    m_hTab =
        CreateWindowExA(0, WC_TABCONTROLA, "", dwStyle, x, y, nWidth, nHeight, hParent, nullptr, hInstance, nullptr);
    m_hInstance = hInstance;
    return m_hTab ? 0 : -1;
}

void TabControlClass::PlacePage(HWND hPage) {
    if (!hPage) return;
    RECT rc{0, 0, 0, 0};
    GetClientRect(m_hTab, &rc);
    RECT rcAdjust{0, 0, 0, 0};
    SendMessageA(m_hTab, TCM_ADJUSTRECT, FALSE, (LPARAM)&rcAdjust);
    const int w = rc.right - rc.left;
    const int h = rc.bottom - rc.top;
    MoveWindow(hPage, rcAdjust.left, rcAdjust.top, w + rcAdjust.right - rcAdjust.left,
               h + rcAdjust.bottom - rcAdjust.top, TRUE);
}

void TabControlClass::DestroyPage() {
    if (!m_hPage) return;
    HWND hOld = m_hPage;
    m_hPage = nullptr;
    auto it = Pages().find(hOld);
    if (it != Pages().end() && it->second.nDepth > 0) {
        ShowWindow(hOld, SW_HIDE);
        it->second.bDestroyPending = true;
        return;
    }
    DestroyWindow(hOld);
}

static HWND CreatePageWindow(HINSTANCE hInstance, LPCSTR pszTemplate, HWND hParent, DLGPROC pfn) {
    if (!pfn) return nullptr;
    s_pfnCreating = pfn;
    HWND h = CreateDialogParamA(hInstance, pszTemplate, hParent, PageProc, 0);
    s_pfnCreating = nullptr;
    return h;
}

void TabControlClass::ReplacePage(TabPageEntry& e) {
    DestroyPage();
    m_hPage = CreatePageWindow(m_hInstance, e.pszTemplate, m_hTab, e.pfnDialogProc);
    e.hPage = m_hPage;
    PlacePage(m_hPage);
    if (m_hPage) {
        ShowWindow(m_hPage, SW_SHOW);
        UpdateWindow(m_hPage);
    }
}

int TabControlClass::AddPage(int nIndex, LPCSTR pszCaption, LPCSTR pszTemplate, DLGPROC pfnDialogProc) {
    if (m_nPages >= kMaxPages || nIndex != m_nPages) return -1;
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = (LPSTR)pszCaption;
    item.iImage = -1;
    if (SendMessageA(m_hTab, TCM_INSERTITEMA, (WPARAM)nIndex, (LPARAM)&item) == -1) return -1;

    TabPageEntry& e = m_Pages[m_nPages];
    e.nIndex = nIndex;
    e.pszTemplate = pszTemplate;
    e.pfnDialogProc = pfnDialogProc;
    e.hPage = nullptr;

    ReplacePage(e);
    ++m_nPages;
    SendMessageA(m_hTab, TCM_SETCURSEL, (WPARAM)nIndex, 0);
    return 0;
}

int TabControlClass::OnSelChange() {
    const int s = (int)SendMessageA(m_hTab, TCM_GETCURSEL, 0, 0);
    if (s < 0 || s >= m_nPages) return 0;
    ReplacePage(m_Pages[s]);
    return 0;
}

void TabControlClass::SetCurSel(int nIndex) { SendMessageA(m_hTab, TCM_SETCURSEL, (WPARAM)nIndex, 0); }
