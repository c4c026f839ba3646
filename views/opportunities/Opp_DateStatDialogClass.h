// Opportunities by dates: six date queries (expected end, entry, no contact
// since, contact, won, lost), each on its own row, listed in one record list.
#pragma once

#include "views/opportunities/Opp_ListPageClass.h"
#include "shell/DateStatPage.h"

class Opp_DateStatDialogClass : public DateStatPage<Opp_ListPageClass> {
public:
    static constexpr int kRows = 6;

    Opp_DateStatDialogClass();

protected:
    void CreateDateRecordList(HWND hWnd, int nID, int y, int h) override;
    int QueryKind(int nKind, const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) override;
    void PrepareSort(BOOL bToggle, int nColumn) override;
};

extern Opp_DateStatDialogClass g_Opp_DateStat;
