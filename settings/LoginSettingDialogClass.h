// The login-settings page: a new login name and password, given the current
// password. Window class "LoginSetting", one object g_LoginSetting.
#pragma once

#include "settings/SettingPageClass.h"
#include "store/SettingClass.h"

class LoginSettingDialogClass : public SettingPageClass {
public:
    LoginSettingDialogClass();

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // The page's own settings object (the login check overwrites its name
    // and password fields).
    SettingClass m_Setting;

private:
    void OnOpenView();
    // 保存: the old password checked, then the name and new password
    // checked and stored.
    void OnSave();
};

extern LoginSettingDialogClass g_LoginSetting;
