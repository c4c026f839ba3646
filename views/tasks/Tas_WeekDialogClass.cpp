#include "views/tasks/Tas_WeekDialogClass.h"

#include "shell/ViewMessages.h"

Tas_WeekDialogClass g_Tas_Week;

Tas_WeekDialogClass::Tas_WeekDialogClass() : PlaceholderDialogClass(TB_TASKS, {UM_OPEN_WEEK}) {}
