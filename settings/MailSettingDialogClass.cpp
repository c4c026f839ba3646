#include "settings/MailSettingDialogClass.h"

#include "shell/ViewMessages.h"

MailSettingDialogClass g_MailSetting;

MailSettingDialogClass::MailSettingDialogClass() : PlaceholderDialogClass("MailSetting", TB_SETTING, {UM_OPENVIEW}) {}
