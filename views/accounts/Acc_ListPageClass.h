// What every page of the account module that lists accounts shares: the data
// object, the eight account columns, the module's left menu of nine entries,
// its message texts, the record form the rows go to and the quick search that
// goes to the account list page.
#pragma once

#include "store/Acc_DetailClass.h"
#include "shell/ListPageClass.h"

// The eight columns of an account list (their sort columns 0-7).
extern const ListColumnDef g_AccColumns[8];
// Texts of the account pages' message boxes.
extern const ListPageTexts g_AccListTexts;

// The left menu of the account pages with the page's own control ids (nine).
PageMenu AccMenu(const int* pIDs);
// Nine consecutive control ids from nFirst.
struct AccMenuIDs {
    int ids[9];
};
constexpr AccMenuIDs AccMenuFrom(int nFirst) {
    return {{nFirst, nFirst + 1, nFirst + 2, nFirst + 3, nFirst + 4, nFirst + 5, nFirst + 6, nFirst + 7, nFirst + 8}};
}
// Cell text of column nColumn for one account.
void AccCellText(const AccNode* pNode, int nColumn, char* pszBuf, int nSize);

class Acc_ListPageClass : public ListPageClass {
public:
    explicit Acc_ListPageClass(int nLastSortColumn);

    Acc_DetailClass m_Acc;

protected:
    BOOL FirstRow() override;
    BOOL NextRow() override;
    ULONG RowID() override;
    void RowText(int nColumn, char* pszBuf, int nSize) override;
    RecordFormClass* RecordForm() override;
    const ListPageTexts& Texts() const override { return g_AccListTexts; }
    int ModuleButton() const override;
    // Quick search: the keyword goes to the account list page.
    void SearchOnModuleListPage(HWND hEdit) override;
    void FreeRows() override { m_Acc.cad_FreeList(); }

    // The record list with the eight account columns (and a blank last
    // column of nBlankWidth when above 0).
    void CreateAccRecordList(HWND hWnd, int nID, int y, int h, UINT uColumnMask, int nBlankWidth = 0);
};
