// A tab control whose tabs each show one modeless dialog page. Only one page
// window exists at a time: every change of tab destroys the page shown and
// makes the selected tab's page afresh from its template and procedure.
#pragma once

#include "win32.h"

struct TabPageEntry {
    int nIndex;             // tab index
    HWND hPage;             // last page window made for this tab
    LPCSTR pszTemplate;     // dialog template name
    DLGPROC pfnDialogProc;  // page procedure
};

class TabControlClass {
public:
    static const int kMaxPages = 10;

    TabControlClass();
    ~TabControlClass();

    // 0, or -1 when the control was not created.
    int Create(HINSTANCE hInstance, HWND hParent, int x, int y, int nWidth, int nHeight, DWORD dwStyle);
    // Adds a tab, replaces the page shown by the new tab's page and selects
    // the tab. 0, or -1 (nothing changed) when the tab cannot be added.
    int AddPage(int nIndex, LPCSTR pszCaption, LPCSTR pszTemplate, DLGPROC pfnDialogProc);
    // Shows the selected tab's page afresh. A page that asks for this from
    // inside its own message handler is destroyed once that handler returns.
    int OnSelChange();
    void SetCurSel(int nIndex);

public:
    HWND m_hTab;
    HWND m_hPage;  // page shown, or null (senders must cope)
    HINSTANCE m_hInstance;
    TabPageEntry m_Pages[kMaxPages];
    int m_nPages;

private:
    void PlacePage(HWND hPage);
    void DestroyPage();
    // Destroys the page shown and makes, places and shows e's page afresh.
    void ReplacePage(TabPageEntry& e);
};
