#include "views/accounts/Acc_ProvinceStatDialogClass.h"

#include "shell/ViewMessages.h"

Acc_ProvinceStatDialogClass g_Acc_ProvinceStat;

Acc_ProvinceStatDialogClass::Acc_ProvinceStatDialogClass() : PlaceholderDialogClass(TB_ACCOUNTS, {UM_OPEN_PROVINCE}) {}
