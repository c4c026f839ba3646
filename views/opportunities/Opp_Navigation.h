// The view switches into the opportunity pages, for the menus and links that open them.
#pragma once

int GotoOpp_Homepage();
int GotoOpp_ImportantStat();
int GotoOpp_PhaseStat();
int GotoOpp_DateStat();
int GotoOpp_DetailNew();
