// Accounts with and without opportunities: two fixed categories.
#pragma once

#include "views/accounts/Acc_CategoryStatClass.h"

class Acc_OpportunitiesStatDialogClass : public Acc_CategoryStatClass {
public:
    Acc_OpportunitiesStatDialogClass();
};

extern Acc_OpportunitiesStatDialogClass g_Acc_OpportunitiesStat;
