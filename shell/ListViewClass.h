// Thin wrapper through which every list of the program is made and filled:
// a report-mode list view with a work item and a work column record, the
// alternating row colours and the state-image check marks.
#pragma once

#include "win32.h"

class ListViewClass {
public:
    ListViewClass();
    ~ListViewClass();

    // 0, or -1 after a message.
    int Create(HINSTANCE hInstance, HWND hParent, int x, int y, int nWidth, int nHeight, DWORD dwStyle, int nID);
    void SetExtendedStyle(DWORD dwExStyle);
    void InitColumn(UINT uMask);
    // Appends a column at index m_nColumns; the index moves on even when the
    // insert fails. 0, or -1 after a message.
    int InsertColumn(LPCSTR pszCaption, int nWidth);
    void InitItem();
    // Inserts a row with pszText in column 0; the new row's index or -1.
    int InsertItem(int nRow, LPCSTR pszText);
    // 0, or -1 after a message.
    int SetItemText(int nRow, int nColumn, LPCSTR pszText);
    // Copies the cell's text, cut to nSize - 1 bytes on a character boundary
    // and zero-terminated; returns the length copied. Safe from any thread.
    int GetItemText(int nRow, int nColumn, LPSTR pszBuffer, int nSize);
    LRESULT GetColumn(int nColumn, LVCOLUMNA* pColumn);
    LRESULT SetColumn(int nColumn, LVCOLUMNA* pColumn);
    LRESULT DeleteAllItems();
    // Number of rows the list holds.
    int GetItemCount();
    int GetNotifyItem(const NMLISTVIEW* pNotify);
    // The first selected row, -1 when none is.
    int GetSelectedItem();
    // TRUE for an LVN_ITEMCHANGED that selected or deselected a row: the keys
    // (or the mouse) moved the selection, and *pRow is the row the list now
    // shows selected (-1 for none), chosen as a click on it would be.
    BOOL SelectionMoved(const NMHDR* pHdr, int* pRow);
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int nWhich);
    // Index of the row's state image (0 first image, 1 second), -1 without one.
    // Safe from any thread.
    int GetCheck(int nRow);
    void SetCheck(int nRow, int nImage);
    // The answer to NM_CUSTOMDRAW: odd rows light blue, even rows white.
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW* pDraw);

    static const COLORREF kOddRowColour = 0xFFE7CE;
    static const COLORREF kEvenRowColour = 0xFFFFFF;

public:
    HWND m_hListView;
    LVITEMA m_lvItem;
    LVCOLUMNA m_lvColumn;
    int m_nColumns;
};
