#include "views/contacts/Con_ImportantDialogClass.h"

#include "shell/ViewMessages.h"

Con_ImportantDialogClass g_Con_Important;

Con_ImportantDialogClass::Con_ImportantDialogClass() : PlaceholderDialogClass(TB_CONTACTS, {UM_OPEN_IMPORTANT}) {}
