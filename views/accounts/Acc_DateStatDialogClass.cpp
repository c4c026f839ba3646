#include "views/accounts/Acc_DateStatDialogClass.h"

#include "shell/ViewMessages.h"

Acc_DateStatDialogClass g_Acc_DateStat;

Acc_DateStatDialogClass::Acc_DateStatDialogClass() : PlaceholderDialogClass(TB_ACCOUNTS, {UM_OPEN_DATE}) {}
