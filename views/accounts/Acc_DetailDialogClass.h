// The account record form. Window class "Acc_Detail", one object
// g_Acc_Detail. Pages open an account here through HandOverToForm.
#pragma once

#include "views/RecordFormClass.h"

class Acc_DetailDialogClass : public RecordFormClass {
public:
    Acc_DetailDialogClass();
};

extern Acc_DetailDialogClass g_Acc_Detail;
