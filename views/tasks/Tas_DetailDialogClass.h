// The task record form. Window class "Tas_Detail", one object g_Tas_Detail.
// Pages open a task here through HandOverToForm; UM_NEWRECORD opens an
// empty form for a new task.
#pragma once

#include "views/RecordFormClass.h"

class Tas_DetailDialogClass : public RecordFormClass {
public:
    Tas_DetailDialogClass();
};

extern Tas_DetailDialogClass g_Tas_Detail;
