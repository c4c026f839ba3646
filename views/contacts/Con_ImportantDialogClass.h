// Contacts counted and listed by importance.
// Window class "Con_Important", one object g_Con_Important.
#pragma once

#include "views/contacts/Con_CategoryStatClass.h"

class Con_ImportantDialogClass : public Con_CategoryStatClass {
public:
    Con_ImportantDialogClass();
};

extern Con_ImportantDialogClass g_Con_Important;
