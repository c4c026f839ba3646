// Opportunities counted and listed by importance.
#pragma once

#include "views/opportunities/Opp_CategoryStatClass.h"

class Opp_ImportantStatDialogClass : public Opp_CategoryStatClass {
public:
    Opp_ImportantStatDialogClass();
};

LRESULT CALLBACK SearchEditProc_OppImportantStat(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

extern Opp_ImportantStatDialogClass g_Opp_ImportantStat;
