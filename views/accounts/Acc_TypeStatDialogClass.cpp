#include "views/accounts/Acc_TypeStatDialogClass.h"

#include "shell/ViewMessages.h"

Acc_TypeStatDialogClass g_Acc_TypeStat;

Acc_TypeStatDialogClass::Acc_TypeStatDialogClass() : PlaceholderDialogClass(TB_ACCOUNTS, {UM_OPEN_TYPE}) {}
