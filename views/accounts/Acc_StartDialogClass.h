// The account module's start page (toolbar 客户单位).
// Window class "Acc_Start", one object g_Acc_Start.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Acc_StartDialogClass : public PlaceholderDialogClass {
public:
    Acc_StartDialogClass();
};

extern Acc_StartDialogClass g_Acc_Start;
