#include "views/accounts/Acc_StartDialogClass.h"

#include "shell/ViewMessages.h"

Acc_StartDialogClass g_Acc_Start;

Acc_StartDialogClass::Acc_StartDialogClass() : PlaceholderDialogClass(TB_ACCOUNTS, {UM_OPENVIEW}) {}
