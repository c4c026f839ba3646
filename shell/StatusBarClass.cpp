#include "shell/StatusBarClass.h"

#include "shell/MainWindow.h"

StatusBarClass g_StatusBar;

StatusBarClass::StatusBarClass() : m_hStatusBar(nullptr) {}

StatusBarClass::~StatusBarClass() {}

int StatusBarClass::Create(HWND hParent, int nID, int nParts) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&icc);
    m_hStatusBar = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                   hParent, (HMENU)(INT_PTR)nID, g_hInstance, nullptr);
    if (nParts < 1) nParts = 1;
    if (nParts > 256) nParts = 256;
    RECT rc{0, 0, 0, 0};
    GetClientRect(hParent, &rc);
    const int w = rc.right - rc.left;
    int edges[256];
    for (int i = 0; i < nParts; ++i) edges[i] = (i == nParts - 1) ? w : w / nParts * (i + 1);
    SendMessageA(m_hStatusBar, SB_SETPARTS, (WPARAM)nParts, (LPARAM)edges);
    return 0;
}

int StatusBarClass::SetText(int nPart, LPCSTR pszText) {
    // A synchronous send: from another thread it runs on the UI thread while
    // this thread waits, so pszText stays valid throughout.
    SendMessageA(m_hStatusBar, SB_SETTEXTA, (WPARAM)nPart, (LPARAM)pszText);
    return 0;
}

void StatusBarClass::Resize() { SendMessageA(m_hStatusBar, WM_SIZE, 0, 0); }
