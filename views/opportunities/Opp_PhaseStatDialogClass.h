// Opportunities counted and listed by project phase.
#pragma once

#include "views/opportunities/Opp_CategoryStatClass.h"

class Opp_PhaseStatDialogClass : public Opp_CategoryStatClass {
public:
    Opp_PhaseStatDialogClass();
};

LRESULT CALLBACK SearchEditProc_OppPhaseStat(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

extern Opp_PhaseStatDialogClass g_Opp_PhaseStat;
