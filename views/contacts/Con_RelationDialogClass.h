// Contacts counted by relation.
// Window class "Con_Relation", one object g_Con_Relation.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Con_RelationDialogClass : public PlaceholderDialogClass {
public:
    Con_RelationDialogClass();
};

extern Con_RelationDialogClass g_Con_Relation;
