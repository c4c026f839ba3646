// Accounts counted by region.
// Window class "Acc_ProvinceStat", one object g_Acc_ProvinceStat.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Acc_ProvinceStatDialogClass : public PlaceholderDialogClass {
public:
    Acc_ProvinceStatDialogClass();
};

extern Acc_ProvinceStatDialogClass g_Acc_ProvinceStat;
