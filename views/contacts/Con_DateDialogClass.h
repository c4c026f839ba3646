// Contacts by dates.
// Window class "Con_Date", one object g_Con_Date.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Con_DateDialogClass : public PlaceholderDialogClass {
public:
    Con_DateDialogClass();
};

extern Con_DateDialogClass g_Con_Date;
