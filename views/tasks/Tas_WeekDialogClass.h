// The tasks of one week, seven day lists.
// Window class "Tas_Week", one object g_Tas_Week.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Tas_WeekDialogClass : public PlaceholderDialogClass {
public:
    Tas_WeekDialogClass();
};

extern Tas_WeekDialogClass g_Tas_Week;
