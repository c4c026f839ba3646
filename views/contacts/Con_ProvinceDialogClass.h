// Contacts counted and listed by region.
// Window class "Con_Province", one object g_Con_Province.
#pragma once

#include "views/contacts/Con_CategoryStatClass.h"

class Con_ProvinceDialogClass : public Con_CategoryStatClass {
public:
    Con_ProvinceDialogClass();
};

extern Con_ProvinceDialogClass g_Con_Province;
