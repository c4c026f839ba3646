// Contacts counted and listed by the industry of their account; the record
// rows stay from one visit to the next.
// Window class "Con_Industry", one object g_Con_Industry.
#pragma once

#include "views/contacts/Con_CategoryStatClass.h"

class Con_IndustryDialogClass : public Con_CategoryStatClass {
public:
    Con_IndustryDialogClass();
};

extern Con_IndustryDialogClass g_Con_Industry;
