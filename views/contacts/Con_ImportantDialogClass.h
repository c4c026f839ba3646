// Contacts counted by importance.
// Window class "Con_Important", one object g_Con_Important.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Con_ImportantDialogClass : public PlaceholderDialogClass {
public:
    Con_ImportantDialogClass();
};

extern Con_ImportantDialogClass g_Con_Important;
