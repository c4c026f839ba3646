#include "views/accounts/Acc_Navigation.h"

#include "shell/ViewMessages.h"
#include "shell/ViewSwitch.h"
#include "views/accounts/Acc_DateStatDialogClass.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_ImportantStatDialogClass.h"
#include "views/accounts/Acc_IndustryStatDialogClass.h"
#include "views/accounts/Acc_OpportunitiesStatDialogClass.h"
#include "views/accounts/Acc_ProvinceStatDialogClass.h"
#include "views/accounts/Acc_RelationStatDialogClass.h"
#include "views/accounts/Acc_TypeStatDialogClass.h"

int GotoAcc_Homepage() { return SwitchViewAlways(&g_Acc_Homepage, UM_OPENVIEW); }
int GotoAcc_ImportantStat() { return SwitchViewGuarded(&g_Acc_ImportantStat, UM_OPEN_IMPORTANT); }
int GotoAcc_OpportunitiesStat() { return SwitchViewGuarded(&g_Acc_OpportunitiesStat, UM_OPEN_HASOPP); }
int GotoAcc_RelationStat() { return SwitchViewGuarded(&g_Acc_RelationStat, UM_OPEN_RELATION); }
int GotoAcc_TypeStat() { return SwitchViewGuarded(&g_Acc_TypeStat, UM_OPEN_TYPE); }
int GotoAcc_IndustryStat() { return SwitchViewGuarded(&g_Acc_IndustryStat, UM_OPEN_INDUSTRY); }
int GotoAcc_ProvinceStat() { return SwitchViewGuarded(&g_Acc_ProvinceStat, UM_OPEN_PROVINCE); }
int GotoAcc_DateStat() { return SwitchViewGuarded(&g_Acc_DateStat, UM_OPEN_DATE); }
int GotoAcc_DetailNew() { return SwitchViewAlways(&g_Acc_Detail, UM_NEWRECORD); }
