// The statistics pages of opportunities by one lookup field (importance or
// project phase): a category list (name, count, sum of the expected sales)
// above the record list of the category the user clicks.
#pragma once

#include "Opp_ListPageClass.h"

// What tells the two pages apart.
struct OppCategoryPageDef {
    BOOL bPhase;  // FALSE: by importance, TRUE: by phase
    UINT uOpenMessage;
    int nSearchEditID, nSearchID, nCategoryListID, nExportID, nRecordListID, nHelpID;
    int nMenuIDs[5];
    const char* pszCategoryCaption;  // column 0 of the category list
    int nSumWidth;                   // width of column 2
    const char* pszTopLine;
    const char* pszTitleFormat;      // title handed to the record form
    WNDPROC pfnSearchEditProc;
    WNDPROC* ppfnOldSearchEdit;
};

class Opp_CategoryStatClass : public Opp_ListPageClass {
public:
    explicit Opp_CategoryStatClass(const OppCategoryPageDef& def);

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    ListViewClass m_CategoryList;
    int m_nCategory;  // index of the category whose records the list shows

    // Number of categories the data object holds, and their names.
    int CategoryCount() const;
    const char* CategoryName(int i) const;
    void FillCategoryList();

protected:
    void HandOverTitle(char* pszBuf, int nSize) override;

private:
    LRESULT OnOpen();
    LRESULT OnRestoreView();
    LRESULT OnSortList(WPARAM wParam, LPARAM lParam);
    void OnCategoryClick(int nRow);
    int CountCategories();
    // Lists category m_nCategory (the query mode as the caller set it).
    void ListCategory();
    void OnPaint(HWND hWnd);

    const OppCategoryPageDef& m_Def;
};
