// The list of all opportunities, or of those that match a keyword: sort by
// any column, export, and hand a row over to the opportunity record form.
// Every search box of the opportunity module searches here.
#pragma once

#include "views/opportunities/Opp_ListPageClass.h"
#include "shell/KeywordListPage.h"

class Opp_HomepageDialogClass : public KeywordListPage<Opp_ListPageClass> {
public:
    Opp_HomepageDialogClass();

protected:
    void CreateKeywordRecordList(HWND hWnd, int nID) override;
    char* DataKeyword() override { return m_Opp.m_szKeyword; }
    int QueryList(int nMode) override;
    void PrepareSort(BOOL bToggle, int nColumn) override;
};

extern Opp_HomepageDialogClass g_Opp_Homepage;
