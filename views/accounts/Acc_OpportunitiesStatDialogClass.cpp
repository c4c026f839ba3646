#include "views/accounts/Acc_OpportunitiesStatDialogClass.h"

#include "shell/ViewMessages.h"

Acc_OpportunitiesStatDialogClass g_Acc_OpportunitiesStat;

Acc_OpportunitiesStatDialogClass::Acc_OpportunitiesStatDialogClass() : PlaceholderDialogClass(TB_ACCOUNTS, {UM_OPEN_HASOPP}) {}
