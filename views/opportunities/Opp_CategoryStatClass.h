// The statistics pages of opportunities by one lookup field (importance or
// project phase): the category list shows each category's number of
// opportunities and the sum of their expected sales.
#pragma once

#include "views/opportunities/Opp_ListPageClass.h"
#include "shell/CategoryStatPage.h"

// What tells the two pages apart.
struct OppCategoryPageDef {
    BOOL bPhase;  // FALSE: by importance, TRUE: by phase
    UINT uOpenMessage;
    int nSearchEditID, nSearchID, nCategoryListID, nExportID, nRecordListID, nHelpID;
    int nMenuIDs[5];
    const char* pszCategoryCaption;  // column 0 of the category list
    int nSumWidth;                   // width of column 2
    const char* pszTopLine;
    const char* pszTitleFormat;  // title handed to the record form
};

class Opp_CategoryStatClass : public CategoryStatPage<Opp_ListPageClass> {
public:
    explicit Opp_CategoryStatClass(const OppCategoryPageDef& def);

    int CategoryCount() const override;
    const char* CategoryName(int i) const override;

protected:
    void CreateCategoryRecordList(HWND hWnd, int nID) override;
    int CountCategories() override;
    void CategoryCell(int i, int nColumn, char* pszBuf, int nSize) const override;
    int QueryCategory(const char* pszName) override;
    void PrepareSort(BOOL bToggle, int nColumn, BOOL bSorted) override;

private:
    static CategoryPageDef MakeDef(const OppCategoryPageDef& def);

    const OppCategoryPageDef m_OppDef;
};
