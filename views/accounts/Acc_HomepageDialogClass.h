// The list of all accounts. Window class "Acc_Homepage", one object g_Acc_Homepage.
// Other pages' search boxes write m_szKeyword and send UM_KEYWORDSEARCH.
#pragma once

#include "views/KeywordListDialogClass.h"

class Acc_HomepageDialogClass : public KeywordListDialogClass {
public:
    Acc_HomepageDialogClass();
};

extern Acc_HomepageDialogClass g_Acc_Homepage;
