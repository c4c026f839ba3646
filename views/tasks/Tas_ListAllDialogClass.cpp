#include "Tas_ListAllDialogClass.h"

#include "ViewMessages.h"

Tas_ListAllDialogClass g_Tas_ListAll;

Tas_ListAllDialogClass::Tas_ListAllDialogClass() : KeywordListDialogClass(TB_TASKS) {}
