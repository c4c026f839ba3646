// The list of all contacts. Window class "Con_Homepage", one object g_Con_Homepage.
// Other pages' search boxes write m_szKeyword and send UM_KEYWORDSEARCH.
#pragma once

#include "views/KeywordListDialogClass.h"

class Con_HomepageDialogClass : public KeywordListDialogClass {
public:
    Con_HomepageDialogClass();
};

extern Con_HomepageDialogClass g_Con_Homepage;
