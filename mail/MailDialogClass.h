// The mail page. Window class "Mail", one object g_Mail.
//
// Its recipient list shows a check image per row ("IDI_LISTVIEW_CHECKED" is
// state image 0 = selected, "IDI_LISTVIEW_UNCHECKED" image 1). A run is one
// worker thread (MailSendThreadProc, started on UM_MAILSTART) that reads the
// rows through ListViewClass::GetCheck / GetItemText, writes its progress into
// status-bar part 1 and ends with UM_MAILSENDDONE sent to the page. Those
// calls are answered on the UI thread. While a run is going the page takes
// no new recipients (UM_MAILTOLIST is refused), so the worker never reads a
// list that is being refilled.
#pragma once

#include "shell/ListViewClass.h"
#include "store/Con_DetailClass.h"
#include "views/IDList.h"
#include "views/PlaceholderDialogClass.h"

class MailDialogClass : public PlaceholderDialogClass, public RowSource {
public:
    // Recipient list columns; the address is in column 6.
    static const int kColumnEmail = 6;
    static const int kRecipientListID = 11501;

    MailDialogClass();
    ~MailDialogClass() override;

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    bool IsSending() const { return m_hThread != NULL; }
    // Shows the contacts of m_ConDetail (m_nConCount of them) as recipients.
    void FillRecipientList();
    void FreeIDArray();

    // A sender loads its contacts here and stores their number in
    // m_nConCount before it sends UM_MAILTOLIST.
    Con_DetailClass m_ConDetail;
    ULONG* m_pulID;                 // contact id of every row
    int m_nConCount;                // contacts handed over (-1 after a failed load); then the rows shown
    int m_nMailTotal;               // mails of the run
    int m_nMailSent;                // mails handed to the server so far
    char m_szRecipient[256];        // address of the mail being written (worker)
    ListViewClass m_RecipientList;  // control 11501
    HIMAGELIST m_hCheckImages;      // the two check images
    HANDLE m_hThread;               // the running send thread; null when idle
    DWORD m_dwThreadID;

private:
    const ConNode* m_pRow;  // the contact FillRecipientList is at

protected:
    // RowSource: the loaded contacts.
    BOOL FirstRow() override { return FirstNode(m_ConDetail.m_pConHead, m_pRow); }
    BOOL NextRow() override { return NextNode(m_pRow); }
    ULONG RowID() override;
    void RowText(int nColumn, char* pszBuf, int nSize) override;
    // Competitors start unselected.
    void RowAdded(ListViewClass& list, int nRow) override;

    LRESULT OnMailToList();
    void OnMailStart();
    void OnMailSendDone();
};

// The send thread of one run; its parameter is not used.
DWORD WINAPI MailSendThreadProc(LPVOID lpParameter);

extern MailDialogClass g_Mail;
