#include "views/contacts/Con_StartDialogClass.h"

#include "shell/ViewMessages.h"

Con_StartDialogClass g_Con_Start;

Con_StartDialogClass::Con_StartDialogClass() : PlaceholderDialogClass(TB_CONTACTS, {UM_OPENVIEW}) {}
