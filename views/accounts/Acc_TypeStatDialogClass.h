// Accounts counted by account type.
// Window class "Acc_TypeStat", one object g_Acc_TypeStat.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Acc_TypeStatDialogClass : public PlaceholderDialogClass {
public:
    Acc_TypeStatDialogClass();
};

extern Acc_TypeStatDialogClass g_Acc_TypeStat;
