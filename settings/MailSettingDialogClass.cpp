#include "MailSettingDialogClass.h"

#include "ViewMessages.h"

MailSettingDialogClass g_MailSetting;

MailSettingDialogClass::MailSettingDialogClass() : PlaceholderDialogClass(TB_SETTING, {UM_OPENVIEW}) {}
