// The list of all tasks, or of those whose subject or content holds a
// keyword. Window class "Tas_ListAll", one object g_Tas_ListAll. Every task
// search box (and the start page's) writes m_szKeyword and sends
// UM_KEYWORDSEARCH; the rows go to the task record form.
#pragma once

#include "shell/KeywordListPage.h"
#include "views/tasks/Tas_ListPageClass.h"

class Tas_ListAllDialogClass : public KeywordListPage<Tas_ListPageClass> {
public:
    Tas_ListAllDialogClass();

protected:
    void CreateKeywordRecordList(HWND hWnd, int nID) override;
    char* DataKeyword() override { return m_Tas.m_szKeyword; }
    int QueryList(int nMode) override;
    void PrepareSort(BOOL bToggle, int nColumn) override {}
};

extern Tas_ListAllDialogClass g_Tas_ListAll;
