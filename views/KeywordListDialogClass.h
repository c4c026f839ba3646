// A list page that other pages' search boxes hand a keyword to: the sender
// writes m_szKeyword and sends UM_KEYWORDSEARCH before it shows the page.
// UM_OPENVIEW opens the page with all records (entry kind 0); a keyword
// search adds an entry of kind 1 that keeps the keyword, and Back or
// Forward to it searches for that keyword again.
#pragma once

#include "views/PlaceholderDialogClass.h"

class KeywordListDialogClass : public PlaceholderDialogClass {
public:
    explicit KeywordListDialogClass(int nButton);

    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // Written by the sender just before UM_KEYWORDSEARCH (at most 49 bytes).
    char m_szKeyword[50];
    // The keyword the page now lists by; empty for all records.
    char m_szSearch[50];

protected:
    HistoryNode* OnOpen(UINT uMsg) override;
    void OnRestore() override;
    void OnKeywordSearch();
};
