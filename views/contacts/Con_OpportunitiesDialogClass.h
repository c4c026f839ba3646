// Contacts with and without opportunities; the record rows stay from one
// visit to the next and the record form keeps its title.
// Window class "Con_Opportunities", one object g_Con_Opportunities.
#pragma once

#include "views/contacts/Con_CategoryStatClass.h"

class Con_OpportunitiesDialogClass : public Con_CategoryStatClass {
public:
    Con_OpportunitiesDialogClass();
};

extern Con_OpportunitiesDialogClass g_Con_Opportunities;
