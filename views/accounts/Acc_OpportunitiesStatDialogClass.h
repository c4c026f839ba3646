// Accounts with and without opportunities.
// Window class "Acc_OpportunitiesStat", one object g_Acc_OpportunitiesStat.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Acc_OpportunitiesStatDialogClass : public PlaceholderDialogClass {
public:
    Acc_OpportunitiesStatDialogClass();
};

extern Acc_OpportunitiesStatDialogClass g_Acc_OpportunitiesStat;
