// The contact module's start page (toolbar 联系人).
// Window class "Con_Start", one object g_Con_Start.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Con_StartDialogClass : public PlaceholderDialogClass {
public:
    Con_StartDialogClass();
};

extern Con_StartDialogClass g_Con_Start;
