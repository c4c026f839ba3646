#include "mail/MailDialogClass.h"

#include "shell/StatusBarClass.h"
#include "shell/ViewMessages.h"

#include <cstdio>
#include <cstring>
#include "platform/gbk/gbk.h"

MailDialogClass g_Mail;

namespace {

struct Column {
    LPCSTR pszCaption;
    int nWidth;
};

const Column kColumns[] = {
    {"昵称", 100}, {"联系人", 100}, {"客户单位", 150}, {"单位类型", 100},
    {"电话", 100}, {"手机", 100},   {"邮件", 150},
};

}  // namespace

MailDialogClass::MailDialogClass()
    : PlaceholderDialogClass(TB_MAIL, {UM_OPENVIEW}),
      m_pulID(nullptr),
      m_nConCount(0),
      m_nMailTotal(0),
      m_nMailSent(0),
      m_szRecipient{},
      m_hCheckImages(NULL),
      m_hThread(NULL),
      m_dwThreadID(0),
      m_pRow(nullptr)
{
}

MailDialogClass::~MailDialogClass()
{
    FreeIDArray();
    if (m_hCheckImages)
        ImageList_Destroy(m_hCheckImages);
}

void MailDialogClass::InitDialog(HWND hWnd)
{
    if (m_bInit)
        return;
    BaseDialogClass::InitDialog(hWnd);
    if (m_RecipientList.Create(m_hInstance, hWnd, 168, 30, 835, 400,
                               WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, kRecipientListID) != 0)
        return;
    m_RecipientList.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT |
                                     LVS_EX_ONECLICKACTIVATE);
    m_RecipientList.InitColumn(LVCF_TEXT | LVCF_WIDTH | LVCF_FMT);
    for (const Column& c : kColumns)
        m_RecipientList.InsertColumn(c.pszCaption, c.nWidth);
    m_RecipientList.InitItem();
    SendMessageA(m_RecipientList.m_hListView, WM_SETFONT, (WPARAM)m_hFont, TRUE);

    m_hCheckImages = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
    if (m_hCheckImages) {
        ImageList_AddIcon(m_hCheckImages, LoadIconA(m_hInstance, "IDI_LISTVIEW_CHECKED"));
        ImageList_AddIcon(m_hCheckImages, LoadIconA(m_hInstance, "IDI_LISTVIEW_UNCHECKED"));
        m_RecipientList.SetImageList(m_hCheckImages, LVSIL_STATE);
    }
}

void MailDialogClass::FreeIDArray()
{
    FreeIDs(m_pulID, m_nConCount);
}

ULONG MailDialogClass::RowID()
{
    return m_pRow ? (ULONG)m_pRow->con_id : 0;
}

void MailDialogClass::RowText(int nColumn, char* pszBuf, int nSize)
{
    const ConNode* p = m_pRow;
    const char* cells[] = {p->con_nickname, p->con_name,   p->acc_name, p->acc_type,
                           p->con_telephone, p->con_mobile, p->con_email};
    gbk::CopyCut(pszBuf, (size_t)nSize, nColumn >= 0 && nColumn < 7 ? cells[nColumn] : "");
}

void MailDialogClass::RowAdded(ListViewClass& list, int nRow)
{
    if (strcmp(m_pRow->acc_type, "竞争对手") == 0)
        list.SetCheck(nRow, 1);
}

// Every contact becomes a row, inserted at the top, so the rows show the
// loaded list in reverse order; entry i of m_pulID belongs to row i. All
// rows start selected except competitors. A count without a loaded list or
// without memory for its ids gives no recipients, never ids the rows do not
// have; a failed load (count -1) gives none either.
void MailDialogClass::FillRecipientList()
{
    static const FillTexts kTexts = {"Acc_HomepageDialogClass 89: m_pulID Error.",
                                     "Acc_HomepageDialogClass 135: m_pConHead Error."};
    const int nCount = m_nConCount;
    if (FillListAtTop(m_RecipientList, 7, m_pulID, m_nConCount, nCount, *this, kTexts) < 0)
        m_nConCount = 0;
}

LRESULT MailDialogClass::OnMailToList()
{
    // The worker reads the list while a run is going: no refill until it ends.
    if (IsSending())
        return -1;
    EnsureInit();
    CheckOwnButton();
    g_History.OpenEntry(this);
    // A failed load (count -1) fills nothing; the old rows go.
    FillRecipientList();
    Repaint();
    return 0;
}

void MailDialogClass::OnMailStart()
{
    if (IsSending())
        return;
    m_nMailSent = 0;
    char szText[64];
    snprintf(szText, sizeof szText, "准备发送邮件,共%d封邮件", m_nMailTotal);
    g_StatusBar.SetText(1, szText);
    m_hThread = CreateThread(NULL, 0, MailSendThreadProc, NULL, 0, &m_dwThreadID);
}

void MailDialogClass::OnMailSendDone()
{
    if (m_hThread) {
        CloseHandle(m_hThread);
        m_hThread = NULL;
    }
    g_StatusBar.SetText(1, "");
}

LRESULT MailDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case UM_MAILTOLIST:
        return OnMailToList();
    case UM_MAILSTART:
        OnMailStart();
        return 0;
    case UM_MAILSENDDONE:
        OnMailSendDone();
        return 0;
    case WM_NOTIFY: {
        const NMHDR* pHdr = (const NMHDR*)lParam;
        if (pHdr && pHdr->hwndFrom == m_RecipientList.m_hListView && pHdr->code == NM_CUSTOMDRAW)
            return m_RecipientList.OnCustomDraw((NMLVCUSTOMDRAW*)lParam);
        return 0;
    }
    }
    return PlaceholderDialogClass::DialogProc(hWnd, uMsg, wParam, lParam);
}

// Walks the recipient rows: a row is a recipient when it is selected and has
// an address. The mail of each recipient is written by the SMTP client.
DWORD WINAPI MailSendThreadProc(LPVOID lpParameter)
{
    MailDialogClass& page = g_Mail;
    int nRows = page.m_RecipientList.GetItemCount();
    for (int nRow = 0; nRow < nRows; nRow++) {
        if (page.m_RecipientList.GetCheck(nRow) != 0)
            continue;
        page.m_RecipientList.GetItemText(nRow, MailDialogClass::kColumnEmail, page.m_szRecipient,
                                         sizeof page.m_szRecipient);
    }
    SendMessageA(page.m_hWnd, UM_MAILSENDDONE, 0, 0);
    return 0;
}
