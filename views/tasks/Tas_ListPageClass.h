// What every task page shares: the task module's left menu, the row format
// of a task list (date, time, subject, cost), the quick search that goes to
// the all-tasks list, and the module base of the pages with one record list.
#pragma once

#include "shell/ListPageClass.h"
#include "store/Tas_DetailClass.h"

// The four columns of a task list.
extern const ListColumnDef g_TasColumns[4];
// Title the task pages hand to the record form with their ids.
extern const char g_szTasListTitle[];
// Texts of the day view's and the all-tasks list's message boxes.
extern const ListPageTexts g_TasListTexts;
extern const char g_szTasQueryError[];  // "...cad_GetAllAccounts Error."

// The left menu of the task pages with the page's own control ids: 添加计划日志,
// 所有计划日志, 今天, 按天显示, 按周显示, 按月显示, 按是否完成查询.
constexpr int kTasMenuEntries = 7;
PageMenu TasMenu(const int* pIDs);
// Cell text of column nColumn for one task: "%d-%d-%d", "%d:%d", subject, "%.2f".
void TasCellText(const TasNode* pNode, int nColumn, char* pszBuf, int nSize);
// The quick search of every task page: the keyword goes to the all-tasks list.
void SearchOnTaskList(HWND hEdit);

class Tas_ListPageClass : public ListPageClass {
public:
    explicit Tas_ListPageClass(int nLastSortColumn = -1);

    Tas_DetailClass m_Tas;

protected:
    BOOL FirstRow() override;
    BOOL NextRow() override;
    ULONG RowID() override;
    void RowText(int nColumn, char* pszBuf, int nSize) override;
    RecordFormClass* RecordForm() override;
    void HandOverTitle(char* pszBuf, int nSize) override;
    const ListPageTexts& Texts() const override { return g_TasListTexts; }
    int ModuleButton() const override;
    void SearchOnModuleListPage(HWND hEdit) override { SearchOnTaskList(hEdit); }
    void FreeRows() override { m_Tas.ctd_FreeList(); }
    // The store offers one order of tasks only: a header click sorts nothing.
    BOOL Sortable() const override { return FALSE; }

    // The record list with the four task columns at (167, y), 850 wide.
    void CreateTasRecordList(HWND hWnd, int nID, int y, int h);
};
