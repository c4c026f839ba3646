#include "views/tasks/Tas_ListAllDialogClass.h"

#include "shell/ViewMessages.h"

Tas_ListAllDialogClass g_Tas_ListAll;

Tas_ListAllDialogClass::Tas_ListAllDialogClass() : KeywordListDialogClass(TB_TASKS) {}
