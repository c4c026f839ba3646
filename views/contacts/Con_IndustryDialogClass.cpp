#include "views/contacts/Con_IndustryDialogClass.h"

#include "shell/ViewMessages.h"

Con_IndustryDialogClass g_Con_Industry;

Con_IndustryDialogClass::Con_IndustryDialogClass() : PlaceholderDialogClass(TB_CONTACTS, {UM_OPEN_INDUSTRY}) {}
