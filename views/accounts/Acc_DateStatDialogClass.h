// Accounts by dates.
// Window class "Acc_DateStat", one object g_Acc_DateStat.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Acc_DateStatDialogClass : public PlaceholderDialogClass {
public:
    Acc_DateStatDialogClass();
};

extern Acc_DateStatDialogClass g_Acc_DateStat;
