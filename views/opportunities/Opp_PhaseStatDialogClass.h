// Opportunities counted and listed by project phase.
#pragma once

#include "views/opportunities/Opp_CategoryStatClass.h"

class Opp_PhaseStatDialogClass : public Opp_CategoryStatClass {
public:
    Opp_PhaseStatDialogClass();
};

extern Opp_PhaseStatDialogClass g_Opp_PhaseStat;
