// The list of all accounts, or of those whose name or description holds a
// keyword: sort by any column, export, and hand a row over to the account
// record form. Every search box of the account module searches here.
#pragma once

#include "shell/KeywordListPage.h"
#include "views/accounts/Acc_ListPageClass.h"

class Acc_HomepageDialogClass : public KeywordListPage<Acc_ListPageClass> {
public:
    Acc_HomepageDialogClass();

protected:
    void CreateKeywordRecordList(HWND hWnd, int nID) override;
    char* DataKeyword() override { return m_Acc.m_szKeyword; }
    int QueryList(int nMode) override;
    void PrepareSort(BOOL bToggle, int nColumn) override;
};

extern Acc_HomepageDialogClass g_Acc_Homepage;
