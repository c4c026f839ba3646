#include "LoginSettingDialogClass.h"

#include "ViewMessages.h"

LoginSettingDialogClass g_LoginSetting;

LoginSettingDialogClass::LoginSettingDialogClass() : PlaceholderDialogClass(TB_SETTING, {UM_OPENVIEW}) {}
