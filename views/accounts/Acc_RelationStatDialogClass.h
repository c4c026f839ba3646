// Accounts counted and listed by relation.
#pragma once

#include "views/accounts/Acc_CategoryStatClass.h"

class Acc_RelationStatDialogClass : public Acc_CategoryStatClass {
public:
    Acc_RelationStatDialogClass();
};

extern Acc_RelationStatDialogClass g_Acc_RelationStat;
