#include "settings/MailSettingDialogClass.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "resources/settings_ids.h"
#include "settings/MailPort.h"
#include "shell/Report.h"
#include "shell/ViewMessages.h"

MailSettingDialogClass g_MailSetting;

namespace {
constexpr DWORD kScrollEdit = WS_BORDER | ES_AUTOHSCROLL;

// Creation order is the Tab order; the memo (signature) keeps Tab itself.
const FormFieldDef kFields[] = {
    {kFieldEdit, IDC_MSET_NAME, 300, 95, 200, 20, kScrollEdit, 49, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_MSET_EMAIL, 300, 125, 200, 20, kScrollEdit, 254, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_MSET_SMTPSERVER, 350, 200, 200, 20, kScrollEdit, 254, nullptr, kFieldInTabCycle},
    {kFieldCheck, IDC_MSET_ESMTP, 350, 230, 190, 20, BS_AUTOCHECKBOX, 0, "我的服务器要求身份验证", kFieldInTabCycle},
    {kFieldEdit, IDC_MSET_USER, 350, 265, 200, 20, kScrollEdit, 49, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_MSET_PASSWORD, 350, 295, 200, 20, kScrollEdit | ES_PASSWORD, 49, nullptr, kFieldInTabCycle},
    // The port column holds 9 characters and the terminating zero.
    {kFieldEdit, IDC_MSET_PORT, 350, 325, 60, 20, kScrollEdit, 9, nullptr, kFieldInTabCycle},
    {kFieldCheck, IDC_MSET_SSL, 350, 355, 210, 20, BS_AUTOCHECKBOX, 0, "此服务器要求安全连接(SSL)", kFieldInTabCycle},
    {kFieldEdit, IDC_MSET_AGAINTIME, 350, 385, 200, 20, kScrollEdit, 0, nullptr, kFieldInTabCycle},
    {kFieldMemo, IDC_MSET_SIGN, 166, 445, 600, 130, WS_BORDER | ES_MULTILINE | WS_VSCROLL | WS_TABSTOP, 254, nullptr,
     kFieldInTabCycle},
    {kFieldButton, IDC_MSET_SAVE, 166, 595, 60, 20, 0, 0, "保存", kFieldInTabCycle},
};

const FormLabelDef kLabels[] = {
    {166, 97, "用户姓名:"},
    {166, 127, "电子邮件地址:"},
    {166, 207, "发送邮件服务器(SMTP):"},
    {166, 267, "登陆用户帐户:"},
    {166, 297, "登陆用户密码:"},
    {166, 327, "服务器(SMTP)端口号:"},
    {166, 387, "邮件发送间隔时间（秒）:"},
};

const FormLabelDef kHeadings[] = {
    {166, 67, "用户信息"},
    {166, 167, "邮件服务器信息"},
    {166, 417, "用户签名"},
};

SettingPageDef MakeDef() {
    SettingPageDef def = {{IDC_MSET_MENU1, IDC_MSET_MENU2, IDC_MSET_MENU3, IDC_MSET_MENU4, IDC_MSET_MENU5,
                           IDC_MSET_MENU6, IDC_MSET_MENU7, IDC_MSET_MENU8},
                          IDC_MSET_HELP,
                          kFields,
                          (int)(sizeof(kFields) / sizeof(kFields[0])),
                          kLabels,
                          (int)(sizeof(kLabels) / sizeof(kLabels[0])),
                          "邮件群发设置",
                          500,
                          22};
    return def;
}

// The decimal number at the start of a text (leading blanks and one sign
// allowed, reading stops at the first non-digit); 0 without a digit.
int LeadingNumber(const char* psz) {
    errno = 0;
    const long n = strtol(psz, nullptr, 10);
    if (n > INT_MAX) return INT_MAX;
    if (n < INT_MIN) return INT_MIN;
    return (int)n;
}
}  // namespace

MailSettingDialogClass::MailSettingDialogClass() : SettingPageClass(MakeDef()) {}

void MailSettingDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    SettingPageClass::InitDialog(hWnd);
}

void MailSettingDialogClass::RecordToFields() {
    SetWindowTextA(Field(IDC_MSET_NAME), m_Setting.set_name);
    SetWindowTextA(Field(IDC_MSET_EMAIL), m_Setting.set_emailaddress);
    SetWindowTextA(Field(IDC_MSET_SMTPSERVER), m_Setting.set_smtpserver);
    SetWindowTextA(Field(IDC_MSET_USER), m_Setting.set_user);
    SetWindowTextA(Field(IDC_MSET_PASSWORD), m_Setting.set_pwd);
    SetWindowTextA(Field(IDC_MSET_PORT), m_Setting.set_port);
    char szInterval[16];
    snprintf(szInterval, sizeof szInterval, "%d", m_Setting.set_againtime);
    SetWindowTextA(Field(IDC_MSET_AGAINTIME), szInterval);
    SetWindowTextA(Field(IDC_MSET_SIGN), m_Setting.set_sign);
    SendMessageA(Field(IDC_MSET_ESMTP), BM_SETCHECK, m_Setting.set_esmtp == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(Field(IDC_MSET_SSL), BM_SETCHECK, m_Setting.set_ssl == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MailSettingDialogClass::FieldsToRecord() {
    // Each text is cut to its column at a character boundary.
    ReadText(Field(IDC_MSET_NAME), m_Setting.set_name, sizeof m_Setting.set_name);
    ReadText(Field(IDC_MSET_EMAIL), m_Setting.set_emailaddress, 255);
    ReadText(Field(IDC_MSET_SMTPSERVER), m_Setting.set_smtpserver, 255);
    ReadText(Field(IDC_MSET_USER), m_Setting.set_user, sizeof m_Setting.set_user);
    ReadText(Field(IDC_MSET_PASSWORD), m_Setting.set_pwd, sizeof m_Setting.set_pwd);
    m_Setting.set_esmtp = SendMessageA(Field(IDC_MSET_ESMTP), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    m_Setting.set_ssl = SendMessageA(Field(IDC_MSET_SSL), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    ReadText(Field(IDC_MSET_PORT), m_Setting.set_port, sizeof m_Setting.set_port);
    char szInterval[64];
    ReadText(Field(IDC_MSET_AGAINTIME), szInterval, sizeof szInterval);
    m_Setting.set_againtime = LeadingNumber(szInterval);
    ReadText(Field(IDC_MSET_SIGN), m_Setting.set_sign, 255);
}

void MailSettingDialogClass::OnOpenView() {
    EnsureInitialized();
    CheckSettingButton();
    AppendHistoryNode();
    SetFocus(Field(IDC_MSET_NAME));
    // After a failed read the fields show what the object last held.
    m_Setting.cst_GetMailSetting();
    RecordToFields();
}

const char kMailPortRangeText[] = "服务器(SMTP)端口号应是1到65535之间的数字，请重新输入";

bool IsMailPort(const char* pszPort) {
    const char* p = pszPort;
    while (*p == ' ') p++;
    long nPort = 0;
    int nDigits = 0;
    for (; *p >= '0' && *p <= '9'; p++, nDigits++)
        if ((nPort = nPort * 10 + (*p - '0')) > 65535) return false;
    while (*p == ' ') p++;
    return nDigits > 0 && *p == '\0' && nPort >= 1;
}

void MailSettingDialogClass::OnSave() {
    FieldsToRecord();
    // An empty port stays allowed (the mail page asks for it before a run);
    // a port out of range is refused, and nothing is stored.
    if (m_Setting.set_port[0] && !IsMailPort(m_Setting.set_port)) {
        ReportError(kMailPortRangeText);
        SetFocus(Field(IDC_MSET_PORT));
        return;
    }
    if (m_Setting.cst_SaveMailSetting() != 0) return;  // the store has told the user; the typed values stay
    SendMessageA(m_hWnd, UM_OPENVIEW, 0, 0);
}

void MailSettingDialogClass::PaintPage(HDC hdc) {
    SettingPageClass::PaintPage(hdc);
    SelectObject(hdc, m_hFontArialBold);
    for (const FormLabelDef& l : kHeadings) PaintText(hdc, l.x, l.y, l.pszText);
}

LRESULT MailSettingDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case UM_OPENVIEW: OnOpenView(); return 0;
    case UM_RESTOREVIEW: CheckSettingButton(); return 0;
    case WM_DESTROY: return 0;
    case WM_COMMAND:
        if (wParam == IDC_MSET_SAVE) {
            OnSave();
            return 0;
        }
        break;
    }
    return DefaultPageProc(hWnd, uMsg, wParam, lParam);
}
