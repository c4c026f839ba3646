#include "views/accounts/Acc_ProvinceStatDialogClass.h"

Acc_ProvinceStatDialogClass g_Acc_ProvinceStat;

Acc_ProvinceStatDialogClass::Acc_ProvinceStatDialogClass() : Acc_CategoryStatClass(g_AccCategoryRows[kAccProvince]) {}
