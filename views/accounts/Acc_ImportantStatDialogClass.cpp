#include "views/accounts/Acc_ImportantStatDialogClass.h"

#include "shell/ViewMessages.h"

Acc_ImportantStatDialogClass g_Acc_ImportantStat;

Acc_ImportantStatDialogClass::Acc_ImportantStatDialogClass() : PlaceholderDialogClass(TB_ACCOUNTS, {UM_OPEN_IMPORTANT}) {}
