#include "views/tasks/Tas_ClosedStatDialogClass.h"

#include "shell/ViewMessages.h"

Tas_ClosedStatDialogClass g_Tas_ClosedStat;

Tas_ClosedStatDialogClass::Tas_ClosedStatDialogClass() : PlaceholderDialogClass(TB_TASKS, {UM_OPEN_CLOSED}) {}
