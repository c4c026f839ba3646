// The list of all opportunities, or of those that match a keyword: sort by
// any column, export, and hand a row over to the opportunity record form.
// Every search box of the opportunity module searches here.
#pragma once

#include "Opp_ListPageClass.h"

class Opp_HomepageDialogClass : public Opp_ListPageClass {
public:
    Opp_HomepageDialogClass();

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    char m_szKeyword[50];   // written by a search box before UM_KEYWORDSEARCH
    char m_szCaption[256];  // the line above the list
    RECT m_rcCaption;

protected:
    void HandOverTitle(char* pszBuf, int nSize) override;

private:
    LRESULT OnOpenView();
    LRESULT OnLocalSearch();
    LRESULT OnKeywordSearch();
    LRESULT OnSortList(WPARAM wParam, LPARAM lParam);
    LRESULT OnRestoreView();
    void OnPaint(HWND hWnd);
    // Runs cod_InitDetail in the given mode and shows its result.
    int RunQuery(int nMode);
    // Writes the caption for all records (bKeyword 0) or the keyword search;
    // after a failed query the caption stays as it was.
    void SetCaption(BOOL bKeyword, int nResult);
};

LRESULT CALLBACK SearchEditProc_OppHomepage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

extern Opp_HomepageDialogClass g_Opp_Homepage;
