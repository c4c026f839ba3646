// Accounts counted and listed by region.
#pragma once

#include "views/accounts/Acc_CategoryStatClass.h"

class Acc_ProvinceStatDialogClass : public Acc_CategoryStatClass {
public:
    Acc_ProvinceStatDialogClass();
};

extern Acc_ProvinceStatDialogClass g_Acc_ProvinceStat;
