// Contacts counted and listed by relation.
// Window class "Con_Relation", one object g_Con_Relation.
#pragma once

#include "views/contacts/Con_CategoryStatClass.h"

class Con_RelationDialogClass : public Con_CategoryStatClass {
public:
    Con_RelationDialogClass();
};

extern Con_RelationDialogClass g_Con_Relation;
