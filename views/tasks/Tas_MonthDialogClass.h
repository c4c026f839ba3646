// The tasks of one month, a grid of day lists.
// Window class "Tas_Month", one object g_Tas_Month.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Tas_MonthDialogClass : public PlaceholderDialogClass {
public:
    Tas_MonthDialogClass();
};

extern Tas_MonthDialogClass g_Tas_Month;
