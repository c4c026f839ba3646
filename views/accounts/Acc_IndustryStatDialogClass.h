// Accounts counted by industry.
// Window class "Acc_IndustryStat", one object g_Acc_IndustryStat.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Acc_IndustryStatDialogClass : public PlaceholderDialogClass {
public:
    Acc_IndustryStatDialogClass();
};

extern Acc_IndustryStatDialogClass g_Acc_IndustryStat;
