// The login-settings page (user name and password).
// Window class "LoginSetting", one object g_LoginSetting.
#pragma once

#include "views/PlaceholderDialogClass.h"

class LoginSettingDialogClass : public PlaceholderDialogClass {
public:
    LoginSettingDialogClass();
};

extern LoginSettingDialogClass g_LoginSetting;
