// The task record form. Window class "Tas_Detail", one object g_Tas_Detail.
// A page opening a task here calls FreeIDArray, writes m_pulID, m_nIDCount
// and m_szTitle, then sends UM_SHOWRECORD (row, id); UM_NEWRECORD opens an
// empty form for a new task.
#pragma once

#include "views/RecordFormDialogClass.h"

class Tas_DetailDialogClass : public RecordFormDialogClass {
public:
    Tas_DetailDialogClass();
};

extern Tas_DetailDialogClass g_Tas_Detail;
