// The mail page. Window class "Mail", one object g_Mail.
//
// Its recipient list shows every contact handed over (or all contacts) with
// a check image per row: state image 1 "IDI_LISTVIEW_CHECKED" = selected,
// image 2 "IDI_LISTVIEW_UNCHECKED" = not. A row is a recipient when it is
// selected and has an address. The recipients go to the user's mail program
// as one "mailto:" link, or get a mail each: Send opens the send dialog,
// whose 发送 sends UM_MAILSTART; the page then copies the recipients and the
// settings into a run (MailRun) and starts its worker thread, which ends with
// UM_MAILSENDDONE. The list may be reloaded while a run goes: the run works
// on its own copy.
#pragma once

#include "shell/ListViewClass.h"
#include "store/Con_DetailClass.h"
#include "store/SettingClass.h"
#include "shell/IDList.h"
#include "shell/PageFrameClass.h"

#include <memory>
#include <string>

class MailRun;

class MailDialogClass : public PageFrameClass, public IDListOwner, private RowSource {
public:
    static const int kRecipientListID = 11501;
    static const int kExportButtonID = 11509;
    static const int kSendButtonID = 11510;
    static const int kColumnNickname = 0;
    static const int kColumnEmail = 6;
    // A mailto text longer than this may be cut by the mail program.
    static const size_t kLongMailtoBytes = 2000;
    // How long closing the program waits for a run to end, in milliseconds.
    static const DWORD kStopWaitMs = 10000;

    MailDialogClass();
    ~MailDialogClass() override;

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // Shows the m_nConCount contacts of m_ConDetail as the recipient rows.
    void FillRecipientList();
    // Recipient rows: selected and with an address.
    int CountRecipients();
    // "mailto:" and the recipients' addresses, percent-encoded, comma-separated.
    std::string MailtoText();
    bool IsSending() const { return m_hThread != nullptr; }
    // Ends a run that is going: stops it and waits up to dwMs for its thread,
    // answering the thread's calls to the UI meanwhile. True when no thread
    // is left.
    bool StopRun(DWORD dwMs);

    // A sender loads its contacts here and stores their number in
    // m_nConCount (-1 after a failed load) before it sends UM_MAILTOLIST.
    Con_DetailClass m_ConDetail;
    int m_nConCount;
    SettingClass m_Setting;  // the settings row, read anew by each Send
    // The send state, written by the send dialog before UM_MAILSTART.
    int m_nMailTotal;  // recipients of the run
    int m_nMailSent;   // mails of the last run handed to the server
    int m_bSalutation;
    char m_szMailFrom[256];
    char m_szSubject[256];
    char* m_pszContent;  // owned; replaced by each 发送

    ListViewClass m_RecipientList;
    HWND m_hExportButton;
    HWND m_hSendButton;
    HANDLE m_hThread;  // the running send thread; null when idle
    DWORD m_dwThreadID;
    // Time limit of every reply of a run, in milliseconds (tests shorten it).
    DWORD m_dwReplyTimeoutMs;

protected:
    LRESULT OnOpenView();
    LRESULT OnMailToList();
    void OnExport();
    void OnSend();
    void OnMailStart();
    void OnMailSendDone();
    void OnPaint(HWND hWnd);
    // History entry and toolbar button of an opening, then the rows of
    // m_ConDetail (nothing when the count is 0 or less).
    void ShowHandedContacts();
    void EndRun();

private:
    BOOL FirstRow() override { return FirstNode(m_ConDetail.m_pConHead, m_pRow); }
    BOOL NextRow() override { return NextNode(m_pRow); }
    ULONG RowID() override;
    void RowText(int nColumn, char* pszBuf, int nSize) override;
    void RowAdded(ListViewClass& list, int nRow) override;

    const ConNode* m_pRow;  // the contact the fill is at
    HIMAGELIST m_hCheckImages;
    std::shared_ptr<MailRun> m_pRun;
    bool m_bStopping;
};

// The modal send dialog "ID_DLG_SENDMAIL" of the mail page.
INT_PTR CALLBACK SendMailDlgProc_Mail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

extern MailDialogClass g_Mail;
