// The frame of every page that shows records in a list (the list page of a
// record kind, its statistics and date pages): the record list with the ids
// of its rows, sorting by a column, export, and the hand-over of a row to the
// module's record form. A page adds its queries, captions and own controls.
#pragma once

#include "shell/ExportClass.h"
#include "shell/ListViewClass.h"
#include "shell/IDList.h"
#include "shell/PageFrameClass.h"

class RecordFormClass;

struct ListColumnDef {
    const char* pszCaption;
    int nWidth;
};

// Texts of the module's message boxes (caption "Tarvel提示").
using ListPageTexts = FillTexts;

// m_pulID / m_nIDCount (IDListOwner): the record id of every row, entry r
// for row r, and the number of rows.
class ListPageClass : public PageFrameClass, public IDListOwner, public RowSource {
public:
    static constexpr int kMaxColumns = 16;

    explicit ListPageClass(int nLastSortColumn);

    ListViewClass m_ListView;
    int m_nLastSortColumn;  // column last clicked in the header
    HMENU m_hExportMenu;    // submenu 导出 of m_hPopupMenu
    HWND m_hExportButton;
    HWND m_hMailButton;  // "邮件群发", on pages that hand their records to the mail page

    // Result handling of a query: -1 shows pszQueryError and keeps the list,
    // its ids and its count; 0 empties the list; above 0 replaces the ids and
    // refills the list from the data object's rows (FillListAtTop). Returns
    // the count now shown, or -1.
    int ShowQueryResult(int nResult, const char* pszQueryError);
    // Empties the record list; the id array and the count follow it.
    void EmptyRecordList();

protected:
    // The record list with nColumns columns; nBlankWidth above 0 adds a last
    // column of that width with no caption and no cells, which is neither
    // sorted by nor exported.
    void CreateRecordList(HWND hWnd, int nID, int x, int y, int w, int h, const ListColumnDef* pColumns, int nColumns,
                          UINT uColumnMask, int nBlankWidth = 0);
    void CreateExportButton(HWND hWnd, int nID, int y, HFONT hFont);
    // "邮件群发" at (837, y), left of "导出列表": its click calls HandOverToMail.
    void CreateMailButton(HWND hWnd, int nID, int y, HFONT hFont);
    // Loads the popup menu "IDM_POP_MENU" for its submenu 导出; the page
    // keeps it until its window is destroyed.
    void LoadExportMenu();
    void ReleaseExportMenu();

    // WM_COMMAND: the export menu's commands, the "导出列表" button and
    // "邮件群发".
    BOOL OnExportCommand(WPARAM wParam);
    // WM_NOTIFY from the record list: column click, custom draw, double
    // click. 0 for any other notification.
    LRESULT OnRecordListNotify(const NMHDR* pHdr);
    // FrameMessage plus the record list's notifications and the export
    // commands. TRUE when handled.
    BOOL PageMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Double click on row nRow (-1: off the rows).
    void HandOver(int nRow);
    // "邮件群发": the page hands the records of its current entry to the
    // mail page. Nothing by default.
    virtual void HandOverToMail() {}
    // TRUE when a double click leaves the record form's title as it is
    // (the page hands over no title).
    virtual BOOL KeepsFormTitle() const { return FALSE; }

    // RowSource: walks the data object's node list.
    // The module's record form and the title handed to it.
    virtual RecordFormClass* RecordForm() = 0;
    virtual void HandOverTitle(char* pszBuf, int nSize) = 0;
    virtual const ListPageTexts& Texts() const = 0;
    // The module's toolbar button and the release of the data object's rows;
    // its quick search is SearchOnModuleListPage.
    virtual int ModuleButton() const = 0;
    virtual void FreeRows() = 0;
    // FALSE: a click on a column header sorts nothing (the data object has
    // one order only).
    virtual BOOL Sortable() const { return TRUE; }

    int m_nRecordListID;
    int m_nExportButtonID;
    int m_nMailButtonID;
    int m_nColumns;
    BOOL m_bListEndsHover;  // a notification of the page's lists ends the hover look

private:
    HMENU m_hPopupMenu;  // the loaded "IDM_POP_MENU", destroyed with the window
};
