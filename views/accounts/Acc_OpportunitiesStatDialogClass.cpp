#include "views/accounts/Acc_OpportunitiesStatDialogClass.h"

Acc_OpportunitiesStatDialogClass g_Acc_OpportunitiesStat;

Acc_OpportunitiesStatDialogClass::Acc_OpportunitiesStatDialogClass()
    : Acc_CategoryStatClass(g_AccCategoryRows[kAccOpportunities]) {}
