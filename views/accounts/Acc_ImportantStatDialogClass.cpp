#include "views/accounts/Acc_ImportantStatDialogClass.h"

Acc_ImportantStatDialogClass g_Acc_ImportantStat;

Acc_ImportantStatDialogClass::Acc_ImportantStatDialogClass()
    : Acc_CategoryStatClass(g_AccCategoryRows[kAccImportant]) {}
