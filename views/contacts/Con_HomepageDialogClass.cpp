#include "views/contacts/Con_HomepageDialogClass.h"

#include "shell/ViewMessages.h"

Con_HomepageDialogClass g_Con_Homepage;

Con_HomepageDialogClass::Con_HomepageDialogClass() : KeywordListDialogClass(TB_CONTACTS) {}
