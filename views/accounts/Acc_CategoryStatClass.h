// The account statistics pages by category: one family of pages, each a row
// of one table (its category, opening message, ids and texts). The category
// list shows each category's number of accounts; a click lists the accounts
// of that category below it. The page of accounts with and without
// opportunities is the family's row with two fixed categories.
#pragma once

#include "shell/CategoryStatPage.h"
#include "views/accounts/Acc_ListPageClass.h"

// What a page counts by.
enum AccCategoryKind { kAccImportant, kAccRelation, kAccType, kAccIndustry, kAccProvince, kAccOpportunities };

// One page of the family.
struct AccCategoryRow {
    AccCategoryKind kind;
    UINT uOpenMessage;
    int nSearchEditID, nSearchID, nCategoryListID, nRecordListID, nExportID, nHelpID;
    int nMenuIDs[9];
    const char* pszCategoryCaption;  // column 0 of the category list
    const char* pszTopLine;
    const char* pszTitleFormat;  // title handed to the record form
};

// The family, by AccCategoryKind.
extern const AccCategoryRow g_AccCategoryRows[6];

class Acc_CategoryStatClass : public CategoryStatPage<Acc_ListPageClass> {
public:
    explicit Acc_CategoryStatClass(const AccCategoryRow& row);

    int CategoryCount() const override;
    const char* CategoryName(int i) const override;
    const AccCategoryRow& Row() const { return m_Row; }

protected:
    void CreateCategoryRecordList(HWND hWnd, int nID) override;
    int CountCategories() override;
    void CategoryCell(int i, int nColumn, char* pszBuf, int nSize) const override;
    int QueryCategory(const char* pszName) override;
    void PrepareSort(BOOL bToggle, int nColumn, BOOL bSorted) override;
    // The page's own id array fails with the opportunity list's text.
    const ListPageTexts& Texts() const override;

private:
    static CategoryPageDef MakeDef(const AccCategoryRow& row);

    const AccCategoryRow m_Row;
    char m_szFixed[2][50];  // the names of the two fixed categories
};
