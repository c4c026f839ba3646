// The view switches into the account pages, for the menus and links that open them.
#pragma once

int GotoAcc_Homepage();
int GotoAcc_ImportantStat();
int GotoAcc_OpportunitiesStat();
int GotoAcc_RelationStat();
int GotoAcc_TypeStat();
int GotoAcc_IndustryStat();
int GotoAcc_ProvinceStat();
int GotoAcc_DateStat();
int GotoAcc_DetailNew();
