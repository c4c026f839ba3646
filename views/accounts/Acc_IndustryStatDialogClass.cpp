#include "views/accounts/Acc_IndustryStatDialogClass.h"

Acc_IndustryStatDialogClass g_Acc_IndustryStat;

Acc_IndustryStatDialogClass::Acc_IndustryStatDialogClass() : Acc_CategoryStatClass(g_AccCategoryRows[kAccIndustry]) {}
