// The account record form. Window class "Acc_Detail", one object
// g_Acc_Detail. A page opening an account here calls FreeIDArray, writes
// m_pulID, m_nIDCount and m_szTitle, then sends UM_SHOWRECORD (row, id).
#pragma once

#include "views/RecordFormDialogClass.h"

class Acc_DetailDialogClass : public RecordFormDialogClass {
public:
    Acc_DetailDialogClass();
};

extern Acc_DetailDialogClass g_Acc_Detail;
