// The opportunity module's start page: painted help on the module, a picture
// of how an opportunity relates to the other records, the module's left
// menu, quick search and help link.
#pragma once

#include "shell/StartPageClass.h"

class Opp_StartDialogClass : public StartPageClass {
public:
    Opp_StartDialogClass();
};

extern Opp_StartDialogClass g_Opp_Start;
