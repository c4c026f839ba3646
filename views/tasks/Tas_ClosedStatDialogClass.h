// Tasks counted by finished and unfinished.
// Window class "Tas_ClosedStat", one object g_Tas_ClosedStat.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Tas_ClosedStatDialogClass : public PlaceholderDialogClass {
public:
    Tas_ClosedStatDialogClass();
};

extern Tas_ClosedStatDialogClass g_Tas_ClosedStat;
