#include "settings/MailSettingDialogClass.h"

#include "shell/ViewMessages.h"

MailSettingDialogClass g_MailSetting;

MailSettingDialogClass::MailSettingDialogClass() : PlaceholderDialogClass(TB_SETTING, {UM_OPENVIEW}) {}
