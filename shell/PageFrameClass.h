// The frame shared by the module pages (start pages, list, statistics and date
// pages, record forms): the left panel with its quick-search edit and button,
// the owner-drawn left menu and help link with their hover look, and scrolling.
#pragma once

#include "win32.h"
#include "shell/BaseDialogClass.h"
#include "shell/HistoryClass.h"
#include "shell/ViewMessages.h"
#include "shell/ViewSwitch.h"

// One entry of a page's left menu: control id, caption, view-switch action.
struct PageLinkDef {
    int nID;
    const char* pszCaption;
    int (*pfnAction)();
};

// A page's menu of links, kept by value.
struct PageMenu {
    static constexpr int kMaxLinks = 24;
    PageLinkDef links[kMaxLinks];
    int nLinks;
};

// Builds a menu from a table of entries and the page's own control ids
// (pIDs[k] replaces entry k's id; pIDs null keeps the table's ids).
PageMenu MakePageMenu(const PageLinkDef* pEntries, int nEntries, const int* pIDs);

// The help link of every module page: caption and the web page it opens.
extern const char g_szHelpLinkCaption[];
extern const char g_szHelpURL[];

// Keyword length a search box hands over (the receiving buffers hold 50 bytes).
constexpr int kKeywordSize = 50;

// Window styles of the frame's controls.
constexpr DWORD kSearchEditStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kLinkButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;

class PageFrameClass : public BaseDialogClass {
public:
    static constexpr int kMaxLinks = PageMenu::kMaxLinks;

    PageFrameClass();

    HWND m_hSearchEdit;
    HWND m_hSearchButton;
    HWND m_hMenuButtons[kMaxLinks];
    HWND m_hHelpLink;
    BOOL m_bHover;

    // Reads the quick-search edit into buf (kKeywordSize bytes), cut at a
    // character boundary.
    void ReadSearchText(char* pszBuf);

    // The one window procedure of every search box: Enter in the box calls
    // OnSearch of the page the box is on (its parent window's view).
    static LRESULT CALLBACK SearchEditProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    // A search box's Enter (bEnter) or its button: what the page does with
    // the box's text. By default the keyword goes to the module's list page.
    virtual void OnSearch(HWND hEdit, BOOL bEnter);
    // The module's quick search: hands the text of hEdit to the module's
    // list page. Nothing unless the page belongs to a module.
    virtual void SearchOnModuleListPage(HWND hEdit) {}
    // A click on the help link: by default the help web page opens.
    virtual void OnHelpLink();

protected:
    // Creates the quick-search edit, "立即查找", the left menu and the help link.
    void CreateFrameControls(HWND hWnd, int nEditID, int nButtonID, const PageMenu& menu, int nHelpID);
    // The left menu alone, without a quick search: its entries in a column
    // from (1, y), and the help link. The panel then shows no search caption.
    void CreateMenuControls(HWND hWnd, const PageMenu& menu, int y, int nHelpID);
    // A search box (subclassed with SearchEditProc) at the given place.
    HWND CreateSearchBox(HWND hWnd, int nID, int x, int y, int w, int h);
    // Creates one owner-drawn link button (a left-menu entry or the help link).
    HWND CreateLinkButton(HWND hWnd, int nID, int x, int y, int w, int h);
    // Adds nLinks link buttons in a column from (x, y), 30 apart, each w wide;
    // they draw, hover and act like the left menu.
    void AddLinks(HWND hWnd, const PageLinkDef* pLinks, int nLinks, int x, int y, int w);

    // WM_PAINT of a module page: the left panel, then PaintPage.
    void PaintFrame(HWND hWnd);
    // What the page paints over the left panel (page coordinates through PaintText).
    virtual void PaintPage(HDC hdc) {}
    // Left panel and, on a page with a quick search, "关键字快速查找" (with
    // the scroll offsets).
    void PaintLeftPanel(HDC hdc);
    // A text drawn at page coordinates (the scroll offsets added).
    void PaintText(HDC hdc, int x, int y, const char* psz);
    // Before a line that PaintText writes at (x, y) in m_hFont changes from
    // pszOld to pszNew: invalidates, with erase, the line's rectangle rc
    // (page coordinates) with the cells of both texts, at the scroll
    // position. A text may reach beyond rc, and a font be taller than it.
    void InvalidateTextLine(const RECT& rc, int x, int y, const char* pszOld, const char* pszNew);

    // WM_DRAWITEM for a link button: TRUE when it was one of ours.
    BOOL DrawLink(const DRAWITEMSTRUCT* pdis);
    // WM_SETCURSOR: the hover look over a link button.
    void OnSetCursor(WPARAM wParam, LPARAM lParam);
    // WM_MOUSEMOVE over the page, or a notification of one of the page's lists.
    void LeaveHover();
    // The messages every module page answers alike: WM_PAINT, WM_DRAWITEM,
    // WM_SETCURSOR, WM_MOUSEMOVE, WM_HSCROLL, WM_VSCROLL, WM_LBUTTONUP, the
    // search button and the links' WM_COMMAND. TRUE when handled (*pResult holds the answer).
    BOOL FrameMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // WM_COMMAND of a link, the help link or the search button: TRUE when handled.
    BOOL OnLinkCommand(WPARAM wParam);
    // The messages every page of this frame kind answers alike: here
    // FrameMessage; list pages add their lists and export. TRUE when handled.
    virtual BOOL PageMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The end of a page's window procedure: PageMessage, then 0 for any
    // other command and DefWindowProcA for the rest.
    LRESULT DefaultPageProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // The current history node when it is this page's own, else null: a page
    // writes only into its own entry.
    HistoryNode* OwnHistoryNode();
    // Cuts the history after the current node and appends a node for this
    // page; null when the history has no head or the node cannot be had.
    HistoryNode* AppendHistoryNode();

    PageLinkDef m_Links[kMaxLinks];  // every link button made, in m_hMenuButtons order
    int m_nLinks;
    int m_nHelpID;
    int m_nSearchButtonID;
    WNDPROC m_pfnOldSearchEdit;  // the search boxes' procedure before SearchEditProc

private:
    const char* LinkCaption(int nID) const;
    BOOL IsLinkWindow(HWND h) const;
};

// Hands the text of a quick-search edit to a module's list page: writes the
// keyword (at most 49 bytes) into pszTarget, sends the page UM_KEYWORDSEARCH
// and makes it the current view.
void SearchOnListPage(BaseDialogClass* pListPage, char* pszTarget, HWND hEdit);
