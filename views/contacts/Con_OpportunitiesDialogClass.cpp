#include "views/contacts/Con_OpportunitiesDialogClass.h"

#include "shell/ViewMessages.h"

Con_OpportunitiesDialogClass g_Con_Opportunities;

Con_OpportunitiesDialogClass::Con_OpportunitiesDialogClass() : PlaceholderDialogClass("Con_Opportunities", TB_CONTACTS, {UM_OPEN_HASOPP}) {}
