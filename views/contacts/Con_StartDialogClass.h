// The contact module's start page (toolbar 联系人): painted help on the
// module, a picture of how a contact relates to the other records, the
// module's left menu, quick search and help link. Window class "Con_Start",
// one object g_Con_Start.
#pragma once

#include "shell/StartPageClass.h"

class Con_StartDialogClass : public StartPageClass {
public:
    Con_StartDialogClass();
};

extern Con_StartDialogClass g_Con_Start;
