// The frame of every page that shows records in a list (the list page of a
// record kind, its statistics and date pages): the record list with the ids
// of its rows, sorting by a column, export, and the hand-over of a row to the
// module's record form. A page adds its queries, captions and own controls.
#pragma once

#include "shell/ExportClass.h"
#include "shell/ListViewClass.h"
#include "views/PageFrameClass.h"

class RecordFormClass;

struct ListColumnDef {
    const char* pszCaption;
    int nWidth;
};

// Texts of the module's message boxes (caption "Tarvel提示").
struct ListPageTexts {
    const char* pszIDArrayError;    // an id array could not be had
    const char* pszEmptyListError;  // the data object holds no list to fill from
};

class ListPageClass : public PageFrameClass {
public:
    static constexpr int kMaxColumns = 16;

    explicit ListPageClass(int nLastSortColumn);
    ~ListPageClass() override;

    ListViewClass m_ListView;
    ULONG* m_pulID;         // record id of every row: entry r is row r
    int m_nIDCount;         // number of rows (and of entries of m_pulID)
    int m_nLastSortColumn;  // column last clicked in the header
    HMENU m_hExportMenu;
    HWND m_hExportButton;

    void FreeIDArray();
    // Writes the data object's node list into the record list and m_pulID
    // (m_nIDCount entries already allocated); rows go in at row 0, so the
    // list shows the query's rows in reverse order.
    void FillRecordList();
    // Result handling of a query: -1 shows pszQueryError and keeps the list,
    // its ids and its count; 0 empties the list; above 0 replaces the ids and
    // refills the list. Returns the count now shown, or -1.
    int ShowQueryResult(int nResult, const char* pszQueryError);
    // Empties the record list; the id array and the count follow it.
    void EmptyRecordList();

protected:
    void CreateRecordList(HWND hWnd, int nID, int x, int y, int w, int h, const ListColumnDef* pColumns, int nColumns,
                          UINT uColumnMask);
    void CreateExportButton(HWND hWnd, int nID, int y, HFONT hFont);
    void LoadExportMenu();

    // WM_COMMAND: the export menu's commands and the "导出列表" button.
    BOOL OnExportCommand(WPARAM wParam);
    // WM_NOTIFY from the record list: column click, custom draw, double
    // click. 0 for any other notification.
    LRESULT OnRecordListNotify(const NMHDR* pHdr);
    // FrameMessage plus the record list's notifications and the export
    // commands. TRUE when handled.
    BOOL PageMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Double click on row nRow (-1: off the rows).
    void HandOver(int nRow);

    // Walks the data object's node list.
    virtual BOOL FirstRow() = 0;  // FALSE when no list is held
    virtual BOOL NextRow() = 0;   // FALSE after the last node
    virtual ULONG RowID() = 0;
    virtual void RowText(int nColumn, char* pszBuf, int nSize) = 0;
    // The module's record form and the title handed to it.
    virtual RecordFormClass* RecordForm() = 0;
    virtual void HandOverTitle(char* pszBuf, int nSize) = 0;
    virtual const ListPageTexts& Texts() const = 0;
    // The module's toolbar button, its quick search (the keyword goes to the
    // module's list page) and the release of the data object's rows.
    virtual int ModuleButton() const = 0;
    virtual void SearchOnModuleListPage() = 0;
    virtual void FreeRows() = 0;

    int m_nRecordListID;
    int m_nExportButtonID;
    int m_nColumns;
    BOOL m_bListEndsHover;  // a notification of the page's lists ends the hover look
};
