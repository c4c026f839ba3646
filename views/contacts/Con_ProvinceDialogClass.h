// Contacts counted by region.
// Window class "Con_Province", one object g_Con_Province.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Con_ProvinceDialogClass : public PlaceholderDialogClass {
public:
    Con_ProvinceDialogClass();
};

extern Con_ProvinceDialogClass g_Con_Province;
