// The list of all contacts, or of those that match a keyword: sort by any
// column, export, 邮件群发, and hand a row over to the contact record form.
// Every search box of the contact module searches here. Window class
// "Con_Homepage", one object g_Con_Homepage.
#pragma once

#include "shell/KeywordListPage.h"
#include "views/contacts/Con_ListPageClass.h"

class Con_HomepageDialogClass : public KeywordListPage<Con_ListPageClass> {
public:
    Con_HomepageDialogClass();

protected:
    void CreateKeywordRecordList(HWND hWnd, int nID) override;
    char* DataKeyword() override { return m_Contact.m_szKeyword; }
    int QueryList(int nMode) override;
    void PrepareSort(BOOL bToggle, int nColumn) override;
    // The query of the current entry (all contacts, or its keyword) run again
    // for the mail page.
    void HandOverToMail() override;
};

extern Con_HomepageDialogClass g_Con_Homepage;
