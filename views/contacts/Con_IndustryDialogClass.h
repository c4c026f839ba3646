// Contacts counted by industry.
// Window class "Con_Industry", one object g_Con_Industry.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Con_IndustryDialogClass : public PlaceholderDialogClass {
public:
    Con_IndustryDialogClass();
};

extern Con_IndustryDialogClass g_Con_Industry;
