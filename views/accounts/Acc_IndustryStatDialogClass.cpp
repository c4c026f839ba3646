#include "views/accounts/Acc_IndustryStatDialogClass.h"

#include "shell/ViewMessages.h"

Acc_IndustryStatDialogClass g_Acc_IndustryStat;

Acc_IndustryStatDialogClass::Acc_IndustryStatDialogClass() : PlaceholderDialogClass(TB_ACCOUNTS, {UM_OPEN_INDUSTRY}) {}
