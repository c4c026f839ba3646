// The start page: today's tasks, four quick-search boxes and the links into
// the four record modules.
#pragma once

#include "shell/ListViewClass.h"
#include "store/Tas_DetailClass.h"
#include "shell/IDList.h"
#include "shell/PageFrameClass.h"

// m_pulID / m_nIDCount (IDListOwner): the id of every task row.
class HomepageDialogClass : public PageFrameClass, public IDListOwner, public RowSource {
public:
    HomepageDialogClass();
    ~HomepageDialogClass() override;

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    static const int kLinkCount = 22;
    static const int kSearchCount = 4;

public:
    ListViewClass m_ListView;
    Tas_DetailClass m_Tas;
    SYSTEMTIME m_stToday;
    HWND m_hSearchEdits[kSearchCount];    // 10052 opportunities .. 10055 tasks
    HWND m_hSearchButtons[kSearchCount];  // 10056 .. 10059
    HBITMAP m_hBitmap;

    // Runs the quick search of box nBox (0 opportunities, 1 accounts,
    // 2 contacts, 3 tasks) with the box's present text.
    void SearchFrom(int nBox);
    // Enter in a search box or its button: the box's quick search.
    void OnSearch(HWND hEdit, BOOL bEnter) override;

protected:
    // RowSource: today's tasks.
    BOOL FirstRow() override { return FirstNode(m_Tas.m_pTasHead, m_Tas.m_pCurrent); }
    BOOL NextRow() override { return NextNode(m_Tas.m_pCurrent); }
    ULONG RowID() override;
    void RowText(int nColumn, char* pszBuf, int nSize) override;

private:
    void OnOpenView();
    void OnDoubleClick(const NMLISTVIEW* pNotify);
    void OnPaint(HWND hWnd);
};

extern HomepageDialogClass g_Homepage;

// Start-page control ids.
#define IDC_HOME_TASKLIST 10051
#define IDC_HOME_SEARCH_OPP 10052
#define IDC_HOME_SEARCH_ACC 10053
#define IDC_HOME_SEARCH_CON 10054
#define IDC_HOME_SEARCH_TAS 10055
#define IDC_HOME_FIND_OPP 10056
#define IDC_HOME_FIND_TAS 10059
#define IDC_HOME_LINK_FIRST 10060
#define IDC_HOME_LINK_LAST 10081
