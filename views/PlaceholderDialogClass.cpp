#include "views/PlaceholderDialogClass.h"

#include "shell/ToolbarClass.h"
#include "shell/ViewMessages.h"

#include <cstring>

PlaceholderDialogClass::PlaceholderDialogClass(int nButton, std::initializer_list<UINT> opens)
    : m_nButton(nButton), m_uOpen{}, m_nOpen(0) {
    for (UINT u : opens) {
        if (m_nOpen < kMaxOpenMessages) m_uOpen[m_nOpen++] = u;
    }
}

void PlaceholderDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);
}

bool PlaceholderDialogClass::IsOpenMessage(UINT uMsg) const {
    for (int i = 0; i < m_nOpen; i++) {
        if (m_uOpen[i] == uMsg) return true;
    }
    return false;
}

void PlaceholderDialogClass::CheckOwnButton() { g_Toolbar.CheckButton(m_nButton, 1); }

void PlaceholderDialogClass::EnsureInit() {
    if (!m_bInit && m_hWnd) InitDialog(m_hWnd);
}

void PlaceholderDialogClass::Repaint() {
    if (m_hWnd) InvalidateRect(m_hWnd, nullptr, TRUE);
}

HistoryNode* PlaceholderDialogClass::OnOpen(UINT uMsg) {
    CheckOwnButton();
    HistoryNode* pNode = g_History.OpenEntry(this);
    Repaint();
    return pNode;
}

void PlaceholderDialogClass::OnRestore() {
    CheckOwnButton();
    Repaint();
}

LRESULT PlaceholderDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hDC = BeginPaint(hWnd, &ps);
        HGDIOBJ hOld = SelectObject(hDC, m_hFontTitle ? (HGDIOBJ)m_hFontTitle : GetStockObject(SYSTEM_FONT));
        SetBkMode(hDC, TRANSPARENT);
        char szClass[64] = "";
        GetClassNameA(hWnd, szClass, sizeof szClass);
        TextOutA(hDC, 20 - m_nHScroll, 20 - m_nVScroll, szClass, (int)strlen(szClass));
        SelectObject(hDC, hOld);
        EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: return OnScroll(hWnd, uMsg, wParam);
    case UM_RESTOREVIEW: OnRestore(); return 0;
    default:
        if (IsOpenMessage(uMsg)) {
            OnOpen(uMsg);
            return 0;
        }
        break;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
