#include "views/contacts/Con_Navigation.h"

#include "shell/ViewMessages.h"
#include "shell/ViewSwitch.h"
#include "views/contacts/Con_DateDialogClass.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_ImportantDialogClass.h"
#include "views/contacts/Con_IndustryDialogClass.h"
#include "views/contacts/Con_OpportunitiesDialogClass.h"
#include "views/contacts/Con_ProvinceDialogClass.h"
#include "views/contacts/Con_RelationDialogClass.h"

int GotoCon_Homepage() { return SwitchViewAlways(&g_Con_Homepage, UM_OPENVIEW); }
int GotoCon_Important() { return SwitchViewGuarded(&g_Con_Important, UM_OPEN_IMPORTANT); }
int GotoCon_Opportunities() { return SwitchViewGuarded(&g_Con_Opportunities, UM_OPEN_HASOPP); }
int GotoCon_Relation() { return SwitchViewGuarded(&g_Con_Relation, UM_OPEN_RELATION); }
int GotoCon_Industry() { return SwitchViewGuarded(&g_Con_Industry, UM_OPEN_INDUSTRY); }
int GotoCon_Province() { return SwitchViewGuarded(&g_Con_Province, UM_OPEN_PROVINCE); }
int GotoCon_Date() { return SwitchViewGuarded(&g_Con_Date, UM_OPEN_DATE); }
int GotoCon_DetailNew() { return SwitchViewAlways(&g_Con_Detail, UM_NEWRECORD); }
