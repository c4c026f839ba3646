// The account module's start page (toolbar 客户单位): painted help on the
// module, a picture of how an account relates to the other records, the
// module's left menu, quick search and help link.
#pragma once

#include "shell/StartPageClass.h"

class Acc_StartDialogClass : public StartPageClass {
public:
    Acc_StartDialogClass();
};

extern Acc_StartDialogClass g_Acc_Start;
