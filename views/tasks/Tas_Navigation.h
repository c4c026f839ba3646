// The view switches into the task pages, for the menus and links that open them.
#pragma once

int GotoTas_Homepage();
int GotoTas_HomepageToday();
int GotoTas_Week();
int GotoTas_Month();
int GotoTas_ListAll();
int GotoTas_ClosedStat();
int GotoTas_DetailNew();
