// Accounts counted and listed by account type.
#pragma once

#include "views/accounts/Acc_CategoryStatClass.h"

class Acc_TypeStatDialogClass : public Acc_CategoryStatClass {
public:
    Acc_TypeStatDialogClass();
};

extern Acc_TypeStatDialogClass g_Acc_TypeStat;
