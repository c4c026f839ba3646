#include "views/contacts/Con_OpportunitiesDialogClass.h"

#include "shell/ViewMessages.h"

Con_OpportunitiesDialogClass g_Con_Opportunities;

Con_OpportunitiesDialogClass::Con_OpportunitiesDialogClass() : PlaceholderDialogClass(TB_CONTACTS, {UM_OPEN_HASOPP}) {}
