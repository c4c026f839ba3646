// Accounts counted and listed by importance.
#pragma once

#include "views/accounts/Acc_CategoryStatClass.h"

class Acc_ImportantStatDialogClass : public Acc_CategoryStatClass {
public:
    Acc_ImportantStatDialogClass();
};

extern Acc_ImportantStatDialogClass g_Acc_ImportantStat;
