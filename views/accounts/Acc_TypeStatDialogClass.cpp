#include "views/accounts/Acc_TypeStatDialogClass.h"

Acc_TypeStatDialogClass g_Acc_TypeStat;

Acc_TypeStatDialogClass::Acc_TypeStatDialogClass() : Acc_CategoryStatClass(g_AccCategoryRows[kAccType]) {}
