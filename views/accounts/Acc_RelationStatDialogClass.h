// Accounts counted by relation.
// Window class "Acc_RelationStat", one object g_Acc_RelationStat.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Acc_RelationStatDialogClass : public PlaceholderDialogClass {
public:
    Acc_RelationStatDialogClass();
};

extern Acc_RelationStatDialogClass g_Acc_RelationStat;
