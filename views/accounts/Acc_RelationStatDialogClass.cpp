#include "views/accounts/Acc_RelationStatDialogClass.h"

#include "shell/ViewMessages.h"

Acc_RelationStatDialogClass g_Acc_RelationStat;

Acc_RelationStatDialogClass::Acc_RelationStatDialogClass() : PlaceholderDialogClass(TB_ACCOUNTS, {UM_OPEN_RELATION}) {}
