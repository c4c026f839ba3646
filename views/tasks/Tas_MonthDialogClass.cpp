#include "views/tasks/Tas_MonthDialogClass.h"

#include "shell/ViewMessages.h"

Tas_MonthDialogClass g_Tas_Month;

Tas_MonthDialogClass::Tas_MonthDialogClass() : PlaceholderDialogClass(TB_TASKS, {UM_OPEN_MONTH}) {}
