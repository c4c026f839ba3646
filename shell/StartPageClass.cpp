#include "shell/StartPageClass.h"

#include "shell/ToolbarClass.h"

StartPageClass::StartPageClass(const StartPageDef& def) : m_hBitmap(nullptr), m_Def(def) {}

StartPageClass::~StartPageClass() {
    if (m_hBitmap) DeleteObject(m_hBitmap);
}

void StartPageClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);
    CreateFrameControls(hWnd, m_Def.nSearchEditID, m_Def.nSearchID, m_Def.menu, m_Def.nHelpID);
    m_hBitmap = LoadBitmapA(m_hInstance, m_Def.pszBitmap);
    m_bHover = 0;
}

void StartPageClass::SearchOnModuleListPage(HWND hEdit) {
    SearchOnListPage(m_Def.pListPage, m_Def.pszListKeyword, hEdit);
}

void StartPageClass::PaintPage(HDC hdc) {
    if (m_hBitmap) {
        HDC hMem = CreateCompatibleDC(hdc);
        HGDIOBJ hOld = SelectObject(hMem, m_hBitmap);
        BitBlt(hdc, m_nHScroll + m_Def.nBitmapX, m_nVScroll + m_Def.nBitmapY, m_Def.nBitmapWidth, m_Def.nBitmapHeight,
               hMem, 0, 0, SRCCOPY);
        SelectObject(hMem, hOld);
        DeleteDC(hMem);
    }
    // Each line is drawn from its constant text, whatever its length.
    for (int i = 0; i < m_Def.nLines; i++) {
        const StartTextLine& l = m_Def.pLines[i];
        SelectObject(hdc, l.bTitle ? m_hFontTitle : m_hFontSmall);
        SetTextColor(hdc, l.colour);
        PaintText(hdc, l.x, l.y, l.pszText);
    }
}

LRESULT StartPageClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case UM_OPENVIEW:
        g_Toolbar.CheckButton(m_Def.nButton, 1);
        AppendHistoryNode();
        SetWindowTextA(m_hSearchEdit, "");
        return 0;
    case UM_RESTOREVIEW: g_Toolbar.CheckButton(m_Def.nButton, 1); return 0;
    default: break;
    }
    return DefaultPageProc(hWnd, uMsg, wParam, lParam);
}
