// The main window's two-part status bar. Part 0 holds the company name for
// the whole run; part 1 is written by the mail page and its sending thread.
#pragma once

#include "win32.h"

class StatusBarClass {
public:
    StatusBarClass();
    ~StatusBarClass();

    // Creates the bar with nParts parts; the first ends at W / nParts of the
    // parent's present client width W, the last at W. Returns 0.
    int Create(HWND hParent, int nID, int nParts);
    // Puts pszText into part nPart. Safe from any thread: the text is handed
    // to the bar synchronously. Returns 0.
    int SetText(int nPart, LPCSTR pszText);
    // Lets the bar place itself along the bottom of its parent.
    void Resize();

public:
    HWND m_hStatusBar;
};

extern StatusBarClass g_StatusBar;
