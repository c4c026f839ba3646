// Contacts with and without opportunities.
// Window class "Con_Opportunities", one object g_Con_Opportunities.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Con_OpportunitiesDialogClass : public PlaceholderDialogClass {
public:
    Con_OpportunitiesDialogClass();
};

extern Con_OpportunitiesDialogClass g_Con_Opportunities;
