#include "views/accounts/Acc_IndustryStatDialogClass.h"

#include "shell/ViewMessages.h"

Acc_IndustryStatDialogClass g_Acc_IndustryStat;

Acc_IndustryStatDialogClass::Acc_IndustryStatDialogClass() : PlaceholderDialogClass("Acc_IndustryStat", TB_ACCOUNTS, {UM_OPEN_INDUSTRY}) {}
