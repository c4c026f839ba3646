// Opportunities counted and listed by importance.
#pragma once

#include "views/opportunities/Opp_CategoryStatClass.h"

class Opp_ImportantStatDialogClass : public Opp_CategoryStatClass {
public:
    Opp_ImportantStatDialogClass();
};

extern Opp_ImportantStatDialogClass g_Opp_ImportantStat;
