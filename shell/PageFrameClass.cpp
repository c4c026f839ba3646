#include "shell/PageFrameClass.h"

#include <cstring>

#include "platform/gbk/gbk.h"
#include "resources/message_texts.h"

const char g_szHelpLinkCaption[] = "访问帮助网站 www.tarvel.example";
const char g_szHelpURL[] = "http://www.tarvel.example/";

namespace {
constexpr COLORREF kPanelColour = 0xFFE7CE;
constexpr COLORREF kHoverColour = 0xFF8080;
}  // namespace

PageMenu MakePageMenu(const PageLinkDef* pEntries, int nEntries, const int* pIDs) {
    PageMenu menu = {};
    menu.nLinks = nEntries < PageMenu::kMaxLinks ? nEntries : PageMenu::kMaxLinks;
    for (int k = 0; k < menu.nLinks; k++) {
        menu.links[k] = pEntries[k];
        if (pIDs) menu.links[k].nID = pIDs[k];
    }
    return menu;
}

PageFrameClass::PageFrameClass()
    : m_hSearchEdit(nullptr),
      m_hSearchButton(nullptr),
      m_hHelpLink(nullptr),
      m_bHover(0),
      m_Links{},
      m_nLinks(0),
      m_nHelpID(0),
      m_nSearchButtonID(0),
      m_pfnOldSearchEdit(nullptr) {
    for (HWND& h : m_hMenuButtons) h = nullptr;
}

void PageFrameClass::ReadSearchText(char* pszBuf) {
    char szText[256] = "";
    if (m_hSearchEdit) GetWindowTextA(m_hSearchEdit, szText, sizeof(szText));
    gbk::CopyCut(pszBuf, kKeywordSize, szText);
}

LRESULT CALLBACK PageFrameClass::SearchEditProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    PageFrameClass* pPage = dynamic_cast<PageFrameClass*>(HwndToDialog(GetParent(hWnd)));
    WNDPROC pfnOld = pPage ? pPage->m_pfnOldSearchEdit : nullptr;
    if (pPage && uMsg == WM_KEYDOWN && wParam == VK_RETURN) pPage->OnSearch(hWnd, TRUE);
    if (!pfnOld) return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    return CallWindowProcA(pfnOld, hWnd, uMsg, wParam, lParam);
}

void PageFrameClass::OnSearch(HWND hEdit, BOOL bEnter) { SearchOnModuleListPage(hEdit); }

void PageFrameClass::OnHelpLink() {
    if ((INT_PTR)ShellExecuteA(m_hWnd, nullptr, g_szHelpURL, nullptr, nullptr, SW_SHOWNORMAL) <= 32)
        MessageBoxA(m_hWnd, msg::kNoProgramForWebSite, msg::kInfoCaption, MB_OK | MB_ICONWARNING);
}

HWND PageFrameClass::CreateSearchBox(HWND hWnd, int nID, int x, int y, int w, int h) {
    HWND hEdit =
        CreateWindowExA(0, "EDIT", "", kSearchEditStyle, x, y, w, h, hWnd, (HMENU)(INT_PTR)nID, m_hInstance, nullptr);
    SendMessageA(hEdit, WM_SETFONT, (WPARAM)m_hFont, 0);
    // Every edit of the class has the same procedure: one is kept for all.
    WNDPROC pfnOld = (WNDPROC)SetWindowLongPtrA(hEdit, GWLP_WNDPROC, (LONG_PTR)SearchEditProc);
    if (!m_pfnOldSearchEdit) m_pfnOldSearchEdit = pfnOld;
    return hEdit;
}

HWND PageFrameClass::CreateLinkButton(HWND hWnd, int nID, int x, int y, int w, int h) {
    return CreateWindowExA(0, "BUTTON", "", kLinkButtonStyle, x, y, w, h, hWnd, (HMENU)(INT_PTR)nID, m_hInstance,
                           nullptr);
}

void PageFrameClass::AddLinks(HWND hWnd, const PageLinkDef* pLinks, int nLinks, int x, int y, int w) {
    for (int k = 0; k < nLinks && m_nLinks < kMaxLinks; k++) {
        m_Links[m_nLinks] = pLinks[k];
        m_hMenuButtons[m_nLinks] = CreateLinkButton(hWnd, pLinks[k].nID, x, y + 30 * k, w, 20);
        m_nLinks++;
    }
}

void PageFrameClass::CreateFrameControls(HWND hWnd, int nEditID, int nButtonID, const PageMenu& menu, int nHelpID) {
    m_hSearchEdit = CreateSearchBox(hWnd, nEditID, 10, 40, 140, 20);
    m_nSearchButtonID = nButtonID;
    m_hSearchButton = CreateWindowExA(0, "BUTTON", "立即查找", WS_CHILD | WS_VISIBLE, 10, 65, 80, 22, hWnd,
                                      (HMENU)(INT_PTR)nButtonID, m_hInstance, nullptr);
    SendMessageA(m_hSearchButton, WM_SETFONT, (WPARAM)m_hFontArial, 0);

    CreateMenuControls(hWnd, menu, 100, nHelpID);
}

void PageFrameClass::CreateMenuControls(HWND hWnd, const PageMenu& menu, int y, int nHelpID) {
    AddLinks(hWnd, menu.links, menu.nLinks, 1, y, 158);
    m_nHelpID = nHelpID;
    m_hHelpLink = CreateLinkButton(hWnd, nHelpID, 750, 613, 268, 20);
    m_bHover = 0;
}

void PageFrameClass::PaintText(HDC hdc, int x, int y, const char* psz) {
    TextOutA(hdc, m_nHScroll + x, m_nVScroll + y, psz, (int)strlen(psz));
}

void PageFrameClass::InvalidateTextLine(const RECT& rc, int x, int y, const char* pszOld, const char* pszNew) {
    if (!m_hWnd) return;
    RECT rcArea = rc;
    // Measured on a DC of its own: the page's window keeps drawing only in WM_PAINT.
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, m_hFont);
    for (const char* psz : {pszOld, pszNew}) {
        SIZE sz = {0, 0};
        if (psz && psz[0]) GetTextExtentPoint32A(hdc, psz, (int)strlen(psz), &sz);
        const RECT rcCell = {x, y, x + sz.cx, y + sz.cy};
        UnionRect(&rcArea, &rcArea, &rcCell);
    }
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    OffsetRect(&rcArea, m_nHScroll, m_nVScroll);
    InvalidateRect(m_hWnd, &rcArea, TRUE);
}

void PageFrameClass::PaintFrame(HWND hWnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    PaintLeftPanel(hdc);
    PaintPage(hdc);
    EndPaint(hWnd, &ps);
}

void PageFrameClass::PaintLeftPanel(HDC hdc) {
    const int h = m_nHScroll, v = m_nVScroll;
    HBRUSH hBrush = CreateSolidBrush(kPanelColour);
    SelectObject(hdc, hBrush);
    Rectangle(hdc, h, v + 2, h + 160, v + 651);
    SelectObject(hdc, GetStockObject(BLACK_BRUSH));
    DeleteObject(hBrush);
    SetBkMode(hdc, TRANSPARENT);
    SelectObject(hdc, m_hFont);
    SetTextColor(hdc, RGB(0, 0, 0));
    if (m_hSearchEdit) PaintText(hdc, 10, 22, "关键字快速查找");
}

const char* PageFrameClass::LinkCaption(int nID) const {
    if (m_nHelpID && nID == m_nHelpID) return g_szHelpLinkCaption;
    for (int k = 0; k < m_nLinks; k++)
        if (m_Links[k].nID == nID) return m_Links[k].pszCaption;
    return nullptr;
}

BOOL PageFrameClass::IsLinkWindow(HWND h) const {
    if (!h) return FALSE;
    if (h == m_hHelpLink) return TRUE;
    for (int k = 0; k < m_nLinks; k++)
        if (m_hMenuButtons[k] == h) return TRUE;
    return FALSE;
}

BOOL PageFrameClass::DrawLink(const DRAWITEMSTRUCT* pdis) {
    const char* pszCaption = LinkCaption((int)pdis->CtlID);
    if (!pszCaption) return FALSE;
    HDC hdc = pdis->hDC;
    RECT rc = pdis->rcItem;
    SetBkMode(hdc, TRANSPARENT);
    if (m_nHelpID && (int)pdis->CtlID == m_nHelpID) {
        FillRect(hdc, &rc, (HBRUSH)GetStockObject(WHITE_BRUSH));
    } else {
        HBRUSH hBrush = CreateSolidBrush(kPanelColour);
        FillRect(hdc, &rc, hBrush);
        DeleteObject(hBrush);
    }
    SelectObject(hdc, m_hFont);
    SetTextColor(hdc, RGB(0, 0, 0));
    TextOutA(hdc, 10, 2, pszCaption, (int)strlen(pszCaption));
    if (pdis->itemState & ODS_SELECTED) InvertRect(hdc, &rc);
    return TRUE;
}

void PageFrameClass::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (m_bHover) return;
    HWND hButton = (HWND)wParam;
    if (!IsLinkWindow(hButton)) return;
    if (LOWORD(lParam) != HTCLIENT && HIWORD(lParam) != WM_MOUSEMOVE) return;
    const char* pszCaption = LinkCaption(GetDlgCtrlID(hButton));
    if (!pszCaption) return;

    HDC hdc = GetDC(hButton);
    RECT rc;
    GetClientRect(hButton, &rc);
    SetBkMode(hdc, TRANSPARENT);
    SelectObject(hdc, m_hFont);
    if (hButton == m_hHelpLink) {
        FillRect(hdc, &rc, (HBRUSH)GetStockObject(WHITE_BRUSH));
        SetTextColor(hdc, RGB(0, 0, 0));
        TextOutA(hdc, 10, 2, pszCaption, (int)strlen(pszCaption));
        SelectObject(hdc, GetStockObject(BLACK_PEN));
        MoveToEx(hdc, 8, 18, nullptr);
        LineTo(hdc, 268, 18);
    } else {
        HBRUSH hBrush = CreateSolidBrush(kHoverColour);
        FillRect(hdc, &rc, hBrush);
        DeleteObject(hBrush);
        FrameRect(hdc, &rc, (HBRUSH)GetStockObject(BLACK_BRUSH));
        SetTextColor(hdc, RGB(255, 255, 255));
        TextOutA(hdc, 10, 2, pszCaption, (int)strlen(pszCaption));
    }
    ReleaseDC(hButton, hdc);
    m_bHover = 1;
}

void PageFrameClass::LeaveHover() {
    if (!m_bHover) return;
    for (int k = 0; k < m_nLinks; k++)
        if (m_hMenuButtons[k]) InvalidateRect(m_hMenuButtons[k], nullptr, TRUE);
    if (m_hHelpLink) InvalidateRect(m_hHelpLink, nullptr, TRUE);
    m_bHover = 0;
}

BOOL PageFrameClass::OnLinkCommand(WPARAM wParam) {
    const int nID = (int)wParam;
    if (m_nSearchButtonID && nID == m_nSearchButtonID) {
        OnSearch(m_hSearchEdit, FALSE);
        return TRUE;
    }
    if (m_nHelpID && nID == m_nHelpID) {
        OnHelpLink();
        return TRUE;
    }
    for (int k = 0; k < m_nLinks; k++) {
        if (m_Links[k].nID == nID) {
            if (m_Links[k].pfnAction) m_Links[k].pfnAction();
            return TRUE;
        }
    }
    return FALSE;
}

BOOL PageFrameClass::FrameMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    *pResult = 0;
    switch (uMsg) {
    case WM_PAINT: PaintFrame(hWnd); return TRUE;
    case WM_DRAWITEM: *pResult = DrawLink((const DRAWITEMSTRUCT*)lParam); return TRUE;
    case WM_SETCURSOR: OnSetCursor(wParam, lParam); return TRUE;
    case WM_MOUSEMOVE: LeaveHover(); return TRUE;
    case WM_HSCROLL:
    case WM_VSCROLL: OnScroll(hWnd, uMsg, wParam); return TRUE;
    case WM_LBUTTONUP: return TRUE;
    case WM_COMMAND: return OnLinkCommand(wParam);
    default: return FALSE;
    }
}

BOOL PageFrameClass::PageMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return FrameMessage(hWnd, uMsg, wParam, lParam, pResult);
}

LRESULT PageFrameClass::DefaultPageProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (PageMessage(hWnd, uMsg, wParam, lParam, &lResult)) return lResult;
    if (uMsg == WM_COMMAND) return 0;
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

HistoryNode* PageFrameClass::OwnHistoryNode() { return g_History.IsCurrentOf(this) ? g_History.m_pCurrent : nullptr; }

HistoryNode* PageFrameClass::AppendHistoryNode() { return g_History.OpenEntry(this); }

void SearchOnListPage(BaseDialogClass* pListPage, char* pszTarget, HWND hEdit) {
    char szText[256] = "";
    if (hEdit) GetWindowTextA(hEdit, szText, sizeof(szText));
    gbk::CopyCut(pszTarget, kKeywordSize, szText);
    SwitchViewAfterSend(pListPage, UM_KEYWORDSEARCH);
}
