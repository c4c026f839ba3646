// The send dialog: subject, content and the salutation choice of a run.
// 发送 stores them in g_Mail and sends it UM_MAILSTART, which starts the run.
#include "mail/MailDialogClass.h"

#include "platform/gbk/gbk.h"
#include "shell/ViewMessages.h"

#include <cstdio>
#include <string>

namespace {

const int kSubjectID = 1107;
const int kSalutationID = 1108;
const int kNoSalutationID = 1109;
const int kContentID = 1110;
const int kSendID = 1111;
const int kControlIDs[] = {1093, kSubjectID, kSalutationID, kNoSalutationID, 1101, kContentID, kSendID, IDCANCEL};

// The dialog's font, made at each opening and deleted at its end.
HFONT g_hSendFont = nullptr;

void StoreAndStart(HWND hDlg) {
    MailDialogClass& page = g_Mail;
    GetDlgItemTextA(hDlg, kSubjectID, page.m_szSubject, sizeof page.m_szSubject);
    HWND hContent = GetDlgItem(hDlg, kContentID);
    const int nLength = GetWindowTextLengthA(hContent);
    char* pszContent = new char[(size_t)(nLength > 0 ? nLength : 0) + 1];
    pszContent[0] = '\0';
    GetWindowTextA(hContent, pszContent, nLength + 1);
    delete[] page.m_pszContent;
    page.m_pszContent = pszContent;
    gbk::CopyCut(page.m_szMailFrom, sizeof page.m_szMailFrom, page.m_Setting.set_emailaddress);
    page.m_bSalutation = IsDlgButtonChecked(hDlg, kSalutationID) == BST_CHECKED ? 1 : 0;
    SendMessageA(page.m_hWnd, UM_MAILSTART, 0, 0);
}

void EndSendDialog(HWND hDlg) {
    EndDialog(hDlg, 0);
    if (g_hSendFont) {
        DeleteObject(g_hSendFont);
        g_hSendFont = nullptr;
    }
}

}  // namespace

INT_PTR CALLBACK SendMailDlgProc_Mail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_INITDIALOG: {
        if (!g_hSendFont) g_hSendFont = CreateFontA(-15, 0, 0, 0, 400, 0, 0, 0, 0, 3, 2, 1, 2, "宋体");
        for (int nID : kControlIDs) SendDlgItemMessageA(hDlg, nID, WM_SETFONT, (WPARAM)g_hSendFont, TRUE);
        CheckRadioButton(hDlg, kSalutationID, kNoSalutationID, kSalutationID);
        // Two empty lines above the signature, for the text to come.
        const std::string strContent = std::string("\r\n\r\n") + g_Mail.m_Setting.set_sign;
        SetDlgItemTextA(hDlg, kContentID, strContent.c_str());
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hDlg, &ps);
        SelectObject(hdc, g_hSendFont);
        SetBkMode(hdc, TRANSPARENT);
        char sz[128];
        const int n =
            snprintf(sz, sizeof sz, "您选择的收件人数为%d，本邮件将单独发送给他们每个人。", g_Mail.m_nMailTotal);
        TextOutA(hdc, 10, 10, sz, n);
        EndPaint(hDlg, &ps);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            EndSendDialog(hDlg);
            return TRUE;
        }
        if (LOWORD(wParam) == kSendID) {
            StoreAndStart(hDlg);
            EndSendDialog(hDlg);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
