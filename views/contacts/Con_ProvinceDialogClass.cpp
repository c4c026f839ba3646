#include "Con_ProvinceDialogClass.h"

#include "ViewMessages.h"

Con_ProvinceDialogClass g_Con_Province;

Con_ProvinceDialogClass::Con_ProvinceDialogClass() : PlaceholderDialogClass(TB_CONTACTS, {UM_OPEN_PROVINCE}) {}
