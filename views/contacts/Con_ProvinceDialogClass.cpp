#include "views/contacts/Con_ProvinceDialogClass.h"

#include "shell/ViewMessages.h"

Con_ProvinceDialogClass g_Con_Province;

Con_ProvinceDialogClass::Con_ProvinceDialogClass() : PlaceholderDialogClass(TB_CONTACTS, {UM_OPEN_PROVINCE}) {}
