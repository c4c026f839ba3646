#include "views/tasks/Tas_Navigation.h"

#include "shell/ViewMessages.h"
#include "shell/ViewSwitch.h"
#include "views/tasks/Tas_ClosedStatDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_HomepageDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_MonthDialogClass.h"
#include "views/tasks/Tas_WeekDialogClass.h"

int GotoTas_Homepage() { return SwitchViewGuarded(&g_Tas_Homepage, UM_OPENVIEW); }
int GotoTas_HomepageToday() { return SwitchViewAlways(&g_Tas_Homepage, UM_OPEN_TODAY); }
int GotoTas_Week() { return SwitchViewGuarded(&g_Tas_Week, UM_OPEN_WEEK); }
int GotoTas_Month() { return SwitchViewGuarded(&g_Tas_Month, UM_OPEN_MONTH); }
int GotoTas_ListAll() { return SwitchViewAlways(&g_Tas_ListAll, UM_OPENVIEW); }
int GotoTas_ClosedStat() { return SwitchViewAlways(&g_Tas_ClosedStat, UM_OPEN_CLOSED); }
int GotoTas_DetailNew() { return SwitchViewAlways(&g_Tas_Detail, UM_NEWRECORD); }
