#include "views/contacts/Con_RelationDialogClass.h"

#include "shell/ViewMessages.h"

Con_RelationDialogClass g_Con_Relation;

Con_RelationDialogClass::Con_RelationDialogClass() : PlaceholderDialogClass(TB_CONTACTS, {UM_OPEN_RELATION}) {}
