#include "views/opportunities/Opp_Navigation.h"

#include "shell/ViewMessages.h"
#include "shell/ViewSwitch.h"
#include "views/opportunities/Opp_DateStatDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_ImportantStatDialogClass.h"
#include "views/opportunities/Opp_PhaseStatDialogClass.h"

int GotoOpp_Homepage() { return SwitchViewAlways(&g_Opp_Homepage, UM_OPENVIEW); }
int GotoOpp_ImportantStat() { return SwitchViewGuarded(&g_Opp_ImportantStat, UM_OPEN_IMPORTANT); }
int GotoOpp_PhaseStat() { return SwitchViewGuarded(&g_Opp_PhaseStat, UM_OPEN_PHASE); }
int GotoOpp_DateStat() { return SwitchViewGuarded(&g_Opp_DateStat, UM_OPEN_DATE); }
int GotoOpp_DetailNew() { return SwitchViewAlways(&g_Opp_Detail, UM_NEWRECORD); }
