#include "mail/MailDialogClass.h"

#include "mail/MailRun.h"
#include "platform/gbk/gbk.h"
#include "settings/MailPort.h"
#include "settings/SettingNavigation.h"
#include "shell/Mailto.h"
#include "shell/Report.h"
#include "shell/StatusBarClass.h"
#include "shell/ToolbarClass.h"
#include "shell/ViewMessages.h"
#include "shell/ViewSwitch.h"

#include <cstdio>
#include <cstring>

MailDialogClass g_Mail;

namespace {

struct Column {
    LPCSTR pszCaption;
    int nWidth;
};

const Column kColumns[] = {
    {"昵称", 100}, {"联系人", 100}, {"客户单位", 150}, {"单位类型", 100}, {"电话", 100}, {"手机", 100}, {"邮件", 150},
};

const FillTexts kFillTexts = {"Acc_HomepageDialogClass.cpp 89: m_pulID Error.",
                              "Acc_HomepageDialogClass.cpp 135: m_pConHead Error."};
const char kLoadError[] = "Acc_HomepageDialogClass.cpp 94: cad_GetAllAccounts Error.";
const char kThreadError[] = "MailDialogClass.cpp 278: Create Thread Error.";
const char kNoSettings[] = "群发邮件前请设置邮件服务器信息";
const char kLongMailto[] = "收件人较多，邮件程序可能收不全这份收件人列表。";
const char kCompetitor[] = "竞争对手";

struct PanelText {
    int x, y;
    const char* psz;
};
const PanelText kTexts[] = {
    {10, 20, "Tarvel软件提供两种"},
    {10, 40, "邮件发送方式，请选"},
    {10, 60, "定收件人，然后选择"},
    {10, 80, "您需要的发送方式。"},
    {440, 457, "对您选定的上表中的收件人单独地、一对一的发送邮件。您可决定每封邮件都以收件人"},
    {440, 477, "昵称作为称谓，后面接邮件内容，也可以在邮件主体中不带任何称谓。"},
    {440, 597, "将您选定的上表中的收件人导出到其它邮件发送软件如Outlook等发送。"},
    {168, 10, "收件人列表:每个收件人最左边的红色小图标表示此人为收件人之一，用鼠标点击该区域，表示确定或取消"},
};

// Characters an address keeps in a mailto link; every other byte of its
// UTF-8 form is percent-encoded, so "?", "&", "%" and "," stay in the address.
bool KeepsInMailto(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || strchr("-._~@!$'*+=", c);
}

std::string Cell(ListViewClass& list, int nRow, int nColumn, int nSize) {
    std::string s((size_t)nSize, '\0');
    s.resize((size_t)list.GetItemText(nRow, nColumn, s.data(), nSize));
    return s;
}

}  // namespace

MailDialogClass::MailDialogClass()
    : m_nConCount(0),
      m_nMailTotal(0),
      m_nMailSent(0),
      m_bSalutation(1),
      m_szMailFrom{},
      m_szSubject{},
      m_pszContent(nullptr),
      m_hExportButton(nullptr),
      m_hSendButton(nullptr),
      m_hThread(nullptr),
      m_dwThreadID(0),
      m_dwReplyTimeoutMs(MailRun::kReplyTimeoutMs),
      m_pRow(nullptr),
      m_hCheckImages(nullptr),
      m_bStopping(false) {}

MailDialogClass::~MailDialogClass() {
    // The last chance to end a run: its thread must not outlive the page.
    if (m_hThread) {
        m_pRun->Stop();
        WaitForSingleObject(m_hThread, kStopWaitMs);
        CloseHandle(m_hThread);
    }
    delete[] m_pszContent;
    if (m_hCheckImages) ImageList_Destroy(m_hCheckImages);
}

void MailDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);
    if (m_RecipientList.Create(m_hInstance, hWnd, 168, 30, 835, 400,
                               WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS,
                               kRecipientListID) == 0) {
        m_RecipientList.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT |
                                         LVS_EX_ONECLICKACTIVATE);
        m_RecipientList.InitColumn(LVCF_TEXT | LVCF_WIDTH | LVCF_FMT);
        for (const Column& c : kColumns) m_RecipientList.InsertColumn(c.pszCaption, c.nWidth);
        m_RecipientList.InitItem();
        SendMessageA(m_RecipientList.m_hListView, WM_SETFONT, (WPARAM)m_hFont, TRUE);
        m_hCheckImages = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
        if (m_hCheckImages) {
            ImageList_AddIcon(m_hCheckImages, LoadIconA(m_hInstance, "IDI_LISTVIEW_CHECKED"));
            ImageList_AddIcon(m_hCheckImages, LoadIconA(m_hInstance, "IDI_LISTVIEW_UNCHECKED"));
            m_RecipientList.SetImageList(m_hCheckImages, LVSIL_STATE);
        }
    }
    m_hSendButton = CreateWindowExA(0, "BUTTON", "一对一邮件发送", WS_CHILD | WS_VISIBLE, 168, 455, 260, 22, hWnd,
                                    (HMENU)(INT_PTR)kSendButtonID, m_hInstance, nullptr);
    m_hExportButton = CreateWindowExA(0, "BUTTON", "导出邮件人列表，用其它软件发送邮件", WS_CHILD | WS_VISIBLE, 168,
                                      595, 260, 22, hWnd, (HMENU)(INT_PTR)kExportButtonID, m_hInstance, nullptr);
    for (HWND h : {m_hSendButton, m_hExportButton})
        if (h) SendMessageA(h, WM_SETFONT, (WPARAM)m_hFont, TRUE);
}

ULONG MailDialogClass::RowID() { return m_pRow ? (ULONG)m_pRow->con_id : 0; }

void MailDialogClass::RowText(int nColumn, char* pszBuf, int nSize) {
    const ConNode* p = m_pRow;
    const char* cells[] = {p->con_nickname,  p->con_name,   p->acc_name, p->acc_type,
                           p->con_telephone, p->con_mobile, p->con_email};
    gbk::CopyCut(pszBuf, (size_t)nSize, nColumn >= 0 && nColumn < 7 ? cells[nColumn] : "");
}

// Competitors start unselected; every other row keeps the selected image.
void MailDialogClass::RowAdded(ListViewClass& list, int nRow) {
    if (strcmp(m_pRow->acc_type, kCompetitor) == 0) list.SetCheck(nRow, 1);
}

void MailDialogClass::FillRecipientList() {
    if (m_nConCount <= 0) {
        FreeIDArray();
        m_RecipientList.DeleteAllItems();
        return;
    }
    FillListAtTop(m_RecipientList, 7, m_pulID, m_nIDCount, m_nConCount, *this, kFillTexts);
}

void MailDialogClass::ShowHandedContacts() {
    g_Toolbar.CheckButton(TB_MAIL, 1);
    AppendHistoryNode();
    FillRecipientList();
}

LRESULT MailDialogClass::OnOpenView() {
    if (!m_bInit) InitDialog(m_hWnd);
    m_ConDetail.ccd_FreeList();
    m_nConCount = m_ConDetail.ccd_GetAllContactsByName();
    g_Toolbar.CheckButton(TB_MAIL, 1);
    AppendHistoryNode();
    if (m_nConCount < 0) {
        // The rows shown stay, with their ids.
        ReportError(kLoadError);
        return 0;
    }
    FillRecipientList();
    return 0;
}

LRESULT MailDialogClass::OnMailToList() {
    // The hand-over may come before the page was ever shown.
    if (!m_bInit) InitDialog(m_hWnd);
    ShowHandedContacts();
    return 0;
}

int MailDialogClass::CountRecipients() {
    int n = 0;
    const int nRows = m_RecipientList.GetItemCount();
    for (int r = 0; r < nRows; r++)
        if (m_RecipientList.GetCheck(r) == 0 && !Cell(m_RecipientList, r, kColumnEmail, 256).empty()) n++;
    return n;
}

std::string MailDialogClass::MailtoText() {
    std::string s = "mailto:";
    bool bFirst = true;
    const int nRows = m_RecipientList.GetItemCount();
    for (int r = 0; r < nRows; r++) {
        if (m_RecipientList.GetCheck(r) != 0) continue;
        const std::string strAddress = Cell(m_RecipientList, r, kColumnEmail, 256);
        if (strAddress.empty()) continue;
        if (!bFirst) s += ',';
        bFirst = false;
        for (unsigned char c : gbk::ToUtf8(strAddress)) {
            if (KeepsInMailto(c)) {
                s += (char)c;
            } else {
                char sz[4];
                snprintf(sz, sizeof sz, "%%%02X", c);
                s += sz;
            }
        }
    }
    return s;
}

void MailDialogClass::OnExport() {
    const std::string strMailto = MailtoText();
    if (strMailto.size() > kLongMailtoBytes) ReportError(kLongMailto);
    OpenMailto(nullptr, strMailto.c_str(), m_hWnd);
}

void MailDialogClass::OnSend() {
    if (m_Setting.cst_GetMailSetting() == -1) return;  // the store has said why
    if (!m_Setting.set_smtpserver[0] || !m_Setting.set_port[0] || !m_Setting.set_user[0] ||
        !m_Setting.set_emailaddress[0]) {
        ReportError(kNoSettings);
        GotoMailSetting();
        return;
    }
    // A stored port out of range would send the mails to another port.
    if (!IsMailPort(m_Setting.set_port)) {
        ReportError(kMailPortRangeText);
        GotoMailSetting();
        return;
    }
    m_nMailTotal = CountRecipients();
    DialogBoxParamA(m_hInstance, "ID_DLG_SENDMAIL", m_hWnd, SendMailDlgProc_Mail, 0);
}

// The run gets its own copy of the recipients and of everything it sends,
// so that nothing the UI does later changes who receives what.
void MailDialogClass::OnMailStart() {
    if (IsSending()) return;
    auto run = std::make_shared<MailRun>();
    const int nRows = m_RecipientList.GetItemCount();
    for (int r = 0; r < nRows; r++) {
        if (m_RecipientList.GetCheck(r) != 0) continue;
        MailRun::Recipient rcpt{Cell(m_RecipientList, r, kColumnEmail, 256),
                                Cell(m_RecipientList, r, kColumnNickname, 64)};
        if (!rcpt.strAddress.empty()) run->m_Recipients.push_back(rcpt);
    }
    run->m_strServer = m_Setting.set_smtpserver;
    run->m_strPort = m_Setting.set_port;
    run->m_strUser = m_Setting.set_user;
    run->m_strPassword = m_Setting.set_pwd;
    run->m_strName = m_Setting.set_name;
    run->m_nEsmtp = m_Setting.set_esmtp;
    run->m_nSsl = m_Setting.set_ssl;
    run->m_nAgainTime = m_Setting.set_againtime;
    run->m_strMailFrom = m_szMailFrom;
    run->m_strSubject = m_szSubject;
    run->m_strContent = m_pszContent ? m_pszContent : "";
    run->m_bSalutation = m_bSalutation != 0;
    run->m_dwReplyTimeoutMs = m_dwReplyTimeoutMs;
    run->m_OnStatus = [](const char* psz) { g_StatusBar.SetText(1, psz); };
    const HWND hPage = m_hWnd;
    run->m_OnDone = [hPage] { SendMessageA(hPage, UM_MAILSENDDONE, 0, 0); };

    m_nMailTotal = (int)run->m_Recipients.size();
    m_nMailSent = 0;
    EnableWindow(m_hSendButton, FALSE);
    char sz[64];
    snprintf(sz, sizeof sz, "准备发送邮件,共%d封邮件", m_nMailTotal);
    g_StatusBar.SetText(1, sz);
    m_pRun = run;
    m_bStopping = false;
    m_hThread = MailRun::Start(run, &m_dwThreadID);
    if (!m_hThread) {
        ReportError(kThreadError);
        EndRun();
    }
}

// The worker sends UM_MAILSENDDONE and waits for this handler: closing its
// handle is all, never a wait for it.
void MailDialogClass::OnMailSendDone() {
    if (m_bStopping || !m_hThread) return;
    CloseHandle(m_hThread);
    m_hThread = nullptr;
    EndRun();
}

void MailDialogClass::EndRun() {
    if (m_pRun) m_nMailSent = m_pRun->MailsSent();
    m_pRun.reset();
    EnableWindow(m_hSendButton, TRUE);
    g_StatusBar.SetText(1, "");
}

bool MailDialogClass::StopRun(DWORD dwMs) {
    if (!m_hThread) return true;
    m_bStopping = true;
    m_pRun->Stop();
    // The worker may be waiting for the UI thread (a status text): serve it.
    const DWORD dwStart = GetTickCount();
    bool bEnded = false;
    for (;;) {
        if (WaitForSingleObject(m_hThread, 10) == WAIT_OBJECT_0) {
            bEnded = true;
            break;
        }
        if (GetTickCount() - dwStart > dwMs) break;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
    if (!bEnded) return false;
    CloseHandle(m_hThread);
    m_hThread = nullptr;
    m_bStopping = false;
    EndRun();
    return true;
}

void MailDialogClass::OnPaint(HWND hWnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    const int h = m_nHScroll, v = m_nVScroll;
    HBRUSH hBrush = CreateSolidBrush(0xFFE7CE);
    HGDIOBJ hOld = SelectObject(hdc, hBrush);
    Rectangle(hdc, h, v + 2, h + 160, v + 651);
    SelectObject(hdc, hOld);
    DeleteObject(hBrush);
    SelectObject(hdc, m_hFont);
    SetBkMode(hdc, TRANSPARENT);
    for (const PanelText& t : kTexts) PaintText(hdc, t.x, t.y, t.psz);
    EndPaint(hWnd, &ps);
}

LRESULT MailDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_PAINT: OnPaint(hWnd); return 0;
    case UM_OPENVIEW: return OnOpenView();
    case UM_RESTOREVIEW: g_Toolbar.CheckButton(TB_MAIL, 1); return 0;
    case UM_MAILTOLIST: return OnMailToList();
    case UM_MAILSTART: OnMailStart(); return 0;
    case UM_MAILSENDDONE: OnMailSendDone(); return 0;
    case WM_NOTIFY: {
        const NMHDR* pHdr = (const NMHDR*)lParam;
        if (pHdr && pHdr->hwndFrom == m_RecipientList.m_hListView && pHdr->code == NM_CUSTOMDRAW)
            return m_RecipientList.OnCustomDraw((NMLVCUSTOMDRAW*)lParam);
        return 0;
    }
    case WM_COMMAND:
        if (wParam == kExportButtonID) {
            OnExport();
            return 0;
        }
        if (wParam == kSendButtonID) {
            OnSend();
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_RBUTTONUP: return 0;
    }
    return DefaultPageProc(hWnd, uMsg, wParam, lParam);
}
