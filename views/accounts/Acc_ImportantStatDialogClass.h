// Accounts counted by importance.
// Window class "Acc_ImportantStat", one object g_Acc_ImportantStat.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Acc_ImportantStatDialogClass : public PlaceholderDialogClass {
public:
    Acc_ImportantStatDialogClass();
};

extern Acc_ImportantStatDialogClass g_Acc_ImportantStat;
