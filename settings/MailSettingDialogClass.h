// The mail-settings page, the first page of the settings menu.
// Window class "MailSetting", one object g_MailSetting.
#pragma once

#include "views/PlaceholderDialogClass.h"

class MailSettingDialogClass : public PlaceholderDialogClass {
public:
    MailSettingDialogClass();
};

extern MailSettingDialogClass g_MailSetting;
