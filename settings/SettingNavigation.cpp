#include "settings/SettingNavigation.h"

#include "shell/ViewMessages.h"
#include "shell/ViewSwitch.h"
#include "settings/LoginSettingDialogClass.h"
#include "settings/MailSettingDialogClass.h"
#include "settings/OptionSettingDialogClass.h"

int GotoMailSetting() { return SwitchViewGuarded(&g_MailSetting, UM_OPENVIEW); }
int GotoOptionSetting_Important() { return SwitchViewAlways(&g_OptionSetting, UM_OPEN_IMPORTANT); }
int GotoOptionSetting_Relation() { return SwitchViewAlways(&g_OptionSetting, UM_OPEN_RELATION); }
int GotoOptionSetting_Province() { return SwitchViewAlways(&g_OptionSetting, UM_OPEN_PROVINCE); }
int GotoOptionSetting_Phase() { return SwitchViewAlways(&g_OptionSetting, UM_OPEN_PHASE); }
int GotoOptionSetting_Industry() { return SwitchViewAlways(&g_OptionSetting, UM_OPEN_INDUSTRY); }
int GotoOptionSetting_Type() { return SwitchViewAlways(&g_OptionSetting, UM_OPEN_TYPE); }
int GotoLoginSetting() { return SwitchViewAlways(&g_LoginSetting, UM_OPENVIEW); }
