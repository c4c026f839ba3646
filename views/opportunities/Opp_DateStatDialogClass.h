// Opportunities by dates: six date-range queries, each on its own row of
// date pickers and a button, listed in one record list.
#pragma once

#include "Opp_ListPageClass.h"

class Opp_DateStatDialogClass : public Opp_ListPageClass {
public:
    static constexpr int kRows = 6;

    Opp_DateStatDialogClass();

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // Query row controls: from-date (row 3: its one date), to-date (row 3:
    // none) and button, per row.
    HWND m_hFrom[kRows];
    HWND m_hTo[kRows];
    HWND m_hFind[kRows];

    // The latest query: kind 1-6 (0: none) and its dates.
    int m_nKind;
    SYSTEMTIME m_stFrom;
    SYSTEMTIME m_stTo;

    // Runs query kind (1-6) with the dates and shows its result; -1 on failure.
    int RunQuery(int nKind, const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo);

protected:
    void HandOverTitle(char* pszBuf, int nSize) override;

private:
    void OnRowButton(int nRow);
    LRESULT OnOpen();
    LRESULT OnRestoreView();
    LRESULT OnSortList(WPARAM wParam, LPARAM lParam);
    void OnPaint(HWND hWnd);
};

LRESULT CALLBACK SearchEditProc_OppDateStat(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

extern Opp_DateStatDialogClass g_Opp_DateStat;
