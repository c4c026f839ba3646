#include "settings/LoginSettingDialogClass.h"

#include "shell/ViewMessages.h"

LoginSettingDialogClass g_LoginSetting;

LoginSettingDialogClass::LoginSettingDialogClass() : PlaceholderDialogClass(TB_SETTING, {UM_OPENVIEW}) {}
