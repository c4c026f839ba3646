// The list of all tasks. Window class "Tas_ListAll", one object g_Tas_ListAll.
// Other pages' search boxes write m_szKeyword and send UM_KEYWORDSEARCH.
#pragma once

#include "views/KeywordListDialogClass.h"

class Tas_ListAllDialogClass : public KeywordListDialogClass {
public:
    Tas_ListAllDialogClass();
};

extern Tas_ListAllDialogClass g_Tas_ListAll;
