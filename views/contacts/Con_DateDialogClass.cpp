#include "views/contacts/Con_DateDialogClass.h"

#include "shell/ViewMessages.h"

Con_DateDialogClass g_Con_Date;

Con_DateDialogClass::Con_DateDialogClass() : PlaceholderDialogClass(TB_CONTACTS, {UM_OPEN_DATE}) {}
