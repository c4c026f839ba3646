#include "settings/LoginSettingDialogClass.h"

#include <cstring>

#include "resources/message_texts.h"
#include "resources/settings_ids.h"
#include "shell/Report.h"
#include "shell/ViewMessages.h"

LoginSettingDialogClass g_LoginSetting;

namespace {
const char kLoginChanged[] = "您的用户名密码修改成功";

// Each edit takes up to 49 characters, more than its width shows.
constexpr DWORD kScrollEdit = WS_BORDER | ES_AUTOHSCROLL;

const FormFieldDef kFields[] = {
    {kFieldEdit, IDC_LSET_NAME, 300, 110, 200, 20, kScrollEdit, 49, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_LSET_OLDPWD, 300, 140, 200, 20, kScrollEdit | ES_PASSWORD, 49, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_LSET_NEWPWD, 300, 170, 200, 20, kScrollEdit | ES_PASSWORD, 49, nullptr, kFieldInTabCycle},
    {kFieldEdit, IDC_LSET_CONFIRM, 300, 200, 200, 20, kScrollEdit | ES_PASSWORD, 49, nullptr, kFieldInTabCycle},
    {kFieldButton, IDC_LSET_SAVE, 300, 230, 80, 20, 0, 0, "保存", kFieldInTabCycle},
};

const FormLabelDef kLabels[] = {
    {180, 72, "修改用户名和密码，用户名3个字符以上，密码6个字符以上"},
    {180, 112, "用户名:"},
    {180, 142, "旧密码:"},
    {180, 172, "新密码:"},
    {180, 202, "二次确认密码:"},
};

SettingPageDef MakeDef() {
    SettingPageDef def = {{IDC_LSET_MENU1, IDC_LSET_MENU2, IDC_LSET_MENU3, IDC_LSET_MENU4, IDC_LSET_MENU5,
                           IDC_LSET_MENU6, IDC_LSET_MENU7, IDC_LSET_MENU8},
                          IDC_LSET_HELP,
                          kFields,
                          (int)(sizeof(kFields) / sizeof(kFields[0])),
                          kLabels,
                          (int)(sizeof(kLabels) / sizeof(kLabels[0])),
                          "用户登陆设置",
                          453,
                          26};
    return def;
}
}  // namespace

LoginSettingDialogClass::LoginSettingDialogClass() : SettingPageClass(MakeDef()) {}

void LoginSettingDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    SettingPageClass::InitDialog(hWnd);
}

void LoginSettingDialogClass::OnOpenView() {
    EnsureInitialized();
    // The fields keep what they hold; nothing is read.
    CheckSettingButton();
    AppendHistoryNode();
    SetFocus(Field(IDC_LSET_NAME));
}

void LoginSettingDialogClass::OnSave() {
    // The texts are GBK: every length below counts GBK bytes.
    ReadText(Field(IDC_LSET_OLDPWD), m_Setting.set_pwd, sizeof m_Setting.set_pwd);
    const int nChecked = m_Setting.cst_CheckLogin();
    explicit_bzero(m_Setting.set_pwd, sizeof m_Setting.set_pwd);
    // A failed read of the stored login counts as no match.
    if (nChecked != 0 || m_Setting.m_iCategory != 1) {
        ReportError(msg::kWrongPassword);
        SetWindowTextA(Field(IDC_LSET_OLDPWD), "");
        SetWindowTextA(Field(IDC_LSET_NEWPWD), "");
        SetWindowTextA(Field(IDC_LSET_CONFIRM), "");
        return;
    }
    char szConfirm[50];
    ReadText(Field(IDC_LSET_NAME), m_Setting.set_user, sizeof m_Setting.set_user);
    ReadText(Field(IDC_LSET_NEWPWD), m_Setting.set_pwd, sizeof m_Setting.set_pwd);
    ReadText(Field(IDC_LSET_CONFIRM), szConfirm, sizeof szConfirm);
    if (strlen(m_Setting.set_user) < 3) {
        ReportError(msg::kUserNameTooShort);
    } else if (strlen(m_Setting.set_pwd) < 6) {
        ReportError(msg::kPasswordTooShort);
    } else if (strcmp(szConfirm, m_Setting.set_pwd) == 0) {
        // Success only when the store wrote it; otherwise its box alone.
        if (m_Setting.cst_SetLogin() == 0) ReportError(kLoginChanged);
    } else {
        ReportError(msg::kPasswordsDiffer);
        SetWindowTextA(Field(IDC_LSET_NEWPWD), "");
        SetWindowTextA(Field(IDC_LSET_CONFIRM), "");
    }
    explicit_bzero(m_Setting.set_pwd, sizeof m_Setting.set_pwd);
    explicit_bzero(szConfirm, sizeof szConfirm);
}

LRESULT LoginSettingDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case UM_OPENVIEW: OnOpenView(); return 0;
    case UM_RESTOREVIEW: CheckSettingButton(); return 0;
    case WM_DESTROY: return 0;
    case WM_COMMAND:
        if (wParam == IDC_LSET_SAVE) {
            OnSave();
            return 0;
        }
        break;
    }
    return DefaultPageProc(hWnd, uMsg, wParam, lParam);
}
