#include "views/accounts/Acc_RelationStatDialogClass.h"

Acc_RelationStatDialogClass g_Acc_RelationStat;

Acc_RelationStatDialogClass::Acc_RelationStatDialogClass() : Acc_CategoryStatClass(g_AccCategoryRows[kAccRelation]) {}
