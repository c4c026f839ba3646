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

// The help link of every module page: caption and the web page it opens.
extern const char g_szHelpLinkCaption[];
extern const char g_szHelpURL[];

// Keyword length a search box hands over (the receiving buffers hold 50 bytes).
constexpr int kKeywordSize = 50;

class PageFrameClass : public BaseDialogClass {
public:
    static constexpr int kMaxLinks = 8;

    PageFrameClass();

    HWND m_hSearchEdit;
    HWND m_hSearchButton;
    HWND m_hMenuButtons[kMaxLinks];
    HWND m_hHelpLink;
    BOOL m_bHover;

    // Reads the quick-search edit into buf (kKeywordSize bytes), cut at a
    // character boundary.
    void ReadSearchText(char* pszBuf);

    // Enter in a quick-search edit: when the key is Enter and the edit is the
    // page's own (nEditID), returns TRUE.
    static BOOL IsEnterInEdit(HWND hEdit, UINT uMsg, WPARAM wParam, int nEditID);

protected:
    // Creates the quick-search edit (subclassed with pfnSubclass, the old
    // procedure kept in *ppfnOld), "立即查找", the left menu and the help link.
    void CreateFrameControls(HWND hWnd, int nEditID, int nButtonID, WNDPROC pfnSubclass, WNDPROC* ppfnOld,
                             const PageLinkDef* pLinks, int nLinks, int nHelpID);
    // Creates one owner-drawn link button (a left-menu entry or the help link).
    HWND CreateLinkButton(HWND hWnd, int nID, int x, int y, int w, int h);

    // Left panel and "关键字快速查找" (WM_PAINT, with the scroll offsets).
    void PaintLeftPanel(HDC hdc);
    // A text drawn at page coordinates (the scroll offsets added).
    void PaintText(HDC hdc, int x, int y, const char* psz);

    // WM_DRAWITEM for a link button: TRUE when it was one of ours.
    BOOL DrawLink(const DRAWITEMSTRUCT* pdis);
    // WM_SETCURSOR: the hover look over a link button.
    void OnSetCursor(WPARAM wParam, LPARAM lParam);
    // WM_MOUSEMOVE over the page, or a notification of one of the page's lists.
    void LeaveHover();
    // The messages every module page answers alike: WM_DRAWITEM, WM_SETCURSOR,
    // WM_MOUSEMOVE, WM_HSCROLL, WM_VSCROLL, WM_LBUTTONUP and the left menu's
    // WM_COMMAND. TRUE when handled (*pResult holds the answer).
    BOOL FrameMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // WM_COMMAND of a left-menu entry or the help link: TRUE when handled.
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

    const PageLinkDef* m_pLinks;
    int m_nLinks;
    int m_nHelpID;

private:
    const char* LinkCaption(int nID) const;
    BOOL IsLinkWindow(HWND h) const;
};

// Hands the text of a quick-search edit to a module's list page: writes the
// keyword (at most 49 bytes) into pszTarget, sends the page UM_KEYWORDSEARCH
// and makes it the current view.
void SearchOnListPage(BaseDialogClass* pListPage, char* pszTarget, HWND hEdit);
