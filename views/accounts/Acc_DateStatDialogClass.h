// Accounts by dates: three date queries (entry, no contact since, contact),
// each on its own row, listed in one record list.
#pragma once

#include "shell/DateStatPage.h"
#include "views/accounts/Acc_ListPageClass.h"

class Acc_DateStatDialogClass : public DateStatPage<Acc_ListPageClass> {
public:
    static constexpr int kRows = 3;

    Acc_DateStatDialogClass();

protected:
    void CreateDateRecordList(HWND hWnd, int nID, int y, int h) override;
    int QueryKind(int nKind, const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) override;
    void PrepareSort(BOOL bToggle, int nColumn) override;
    // This page's boxes name the opportunity list page's texts.
    const ListPageTexts& Texts() const override;
};

extern Acc_DateStatDialogClass g_Acc_DateStat;
