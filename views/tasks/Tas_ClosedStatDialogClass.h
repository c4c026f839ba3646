// Tasks counted by finished and unfinished: the two counts above, the tasks
// of the clicked one below (to the record form, or exported). Window class
// "Tas_ClosedStat", one object g_Tas_ClosedStat. Row 0 is the finished
// tasks, row 1 the unfinished ones (category = tas_closed = 1 - row).
#pragma once

#include "shell/CategoryStatPage.h"
#include "views/tasks/Tas_ListPageClass.h"

class Tas_ClosedStatDialogClass : public CategoryStatPage<Tas_ListPageClass> {
public:
    Tas_ClosedStatDialogClass();

protected:
    void CreateCategoryRecordList(HWND hWnd, int nID) override;
    int CountCategories() override;
    int CategoryCount() const override { return 2; }
    const char* CategoryName(int i) const override;
    void CategoryCell(int i, int nColumn, char* pszBuf, int nSize) const override;
    int QueryCategory(const char* pszName) override;
    void PrepareSort(BOOL bToggle, int nColumn, BOOL bSorted) override {}
    const ListPageTexts& Texts() const override;

private:
    char m_szNames[2][50];  // by tas_closed: unfinished, finished
};

extern Tas_ClosedStatDialogClass g_Tas_ClosedStat;
