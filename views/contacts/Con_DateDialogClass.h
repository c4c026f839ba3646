// Contacts by dates: created between two dates, not contacted since a date,
// contacted between two dates, each on its own row, listed in one record
// list. Window class "Con_Date", one object g_Con_Date.
#pragma once

#include "shell/DateStatPage.h"
#include "views/contacts/Con_ListPageClass.h"

class Con_DateDialogClass : public DateStatPage<Con_ListPageClass> {
public:
    static constexpr int kRows = 3;

    Con_DateDialogClass();

    // Runs query nKind (1-3) with the dates into contacts: the number of
    // contacts or -1 (its box shown).
    static int QueryInto(Con_DetailClass& contacts, int nKind, const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo);

protected:
    void CreateDateRecordList(HWND hWnd, int nID, int y, int h) override;
    int QueryKind(int nKind, const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) override;
    void PrepareSort(BOOL bToggle, int nColumn) override;
    // The opportunity list's texts.
    const ListPageTexts& Texts() const override;
    // The record form keeps the title of the list that opened it before.
    BOOL KeepsFormTitle() const override { return TRUE; }
    // The query of the current entry run again for the mail page; none
    // before the first query.
    void HandOverToMail() override;
};

extern Con_DateDialogClass g_Con_Date;
