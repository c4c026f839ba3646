// What every page of the opportunity module that lists opportunities shares:
// the data object, the eight opportunity columns, the module's left menu, its
// message texts, the record form the rows go to and the quick search that
// goes to the opportunity list page.
#pragma once

#include "shell/ListPageClass.h"
#include "store/Opp_DetailClass.h"

// The eight columns of an opportunity list (their sort columns 0-7).
extern const ListColumnDef g_OppColumns[8];
// Texts of the opportunity pages' message boxes.
extern const ListPageTexts g_OppListTexts;
extern const char g_szOppQueryError[];  // "…cod_InitDetail Error."

// The left menu of the opportunity pages with the page's own control ids.
PageMenu OppMenu(const int* pIDs);
// Cell text of column nColumn for one opportunity.
void OppCellText(const OppNode* pNode, int nColumn, char* pszBuf, int nSize);

class Opp_ListPageClass : public ListPageClass {
public:
    explicit Opp_ListPageClass(int nLastSortColumn);

    Opp_DetailClass m_Opp;

protected:
    BOOL FirstRow() override { return FirstNode(m_Opp.m_pOppHead, m_Opp.m_pCurrent); }
    BOOL NextRow() override { return NextNode(m_Opp.m_pCurrent); }
    ULONG RowID() override;
    void RowText(int nColumn, char* pszBuf, int nSize) override;
    RecordFormClass* RecordForm() override;
    const ListPageTexts& Texts() const override { return g_OppListTexts; }
    int ModuleButton() const override;
    // Quick search: the keyword goes to the opportunity list page.
    void SearchOnModuleListPage(HWND hEdit) override;
    void FreeRows() override { m_Opp.cod_FreeList(); }

    // The record list with the eight opportunity columns.
    void CreateOppRecordList(HWND hWnd, int nID, int y, int h, UINT uColumnMask);
};
