// Accounts counted and listed by industry.
#pragma once

#include "views/accounts/Acc_CategoryStatClass.h"

class Acc_IndustryStatDialogClass : public Acc_CategoryStatClass {
public:
    Acc_IndustryStatDialogClass();
};

extern Acc_IndustryStatDialogClass g_Acc_IndustryStat;
