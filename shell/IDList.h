// Record id lists: a page's list of the record id of every row it shows, a
// record form's handed-over list, and the routine that fills a list control
// and its ids together. One rule holds for every list: the count is 0
// whenever the array is null.
#pragma once

#include "win32.h"

class ListViewClass;

// Frees the array and sets the count to 0.
void FreeIDs(ULONG*& pulID, int& nCount);
// Replaces the list with a copy of nFrom ids (nothing when pulFrom is null or
// nFrom <= 0). 0, or -1 when memory failed (the list is then empty).
int CopyIDs(ULONG*& pulID, int& nCount, const ULONG* pulFrom, int nFrom);

// The owner of one id list, under the member names every page uses.
class IDListOwner {
public:
    IDListOwner() = default;
    IDListOwner(const IDListOwner&) = delete;
    IDListOwner& operator=(const IDListOwner&) = delete;
    ~IDListOwner() { FreeIDs(m_pulID, m_nIDCount); }

    ULONG* m_pulID = nullptr;  // record id of every row: entry r is row r
    int m_nIDCount = 0;        // entries of m_pulID; 0 when it is null

    // The array freed and the count 0.
    void FreeIDArray() { FreeIDs(m_pulID, m_nIDCount); }
    // 0, or -1 (the list then empty).
    int CopyIDArray(const ULONG* pulFrom, int nFrom) { return CopyIDs(m_pulID, m_nIDCount, pulFrom, nFrom); }
    // True when nRow is a row of the list.
    bool HasRow(int nRow) const { return m_pulID && nRow >= 0 && nRow < m_nIDCount; }
};

// Walks the rows a query left in a data object, for FillListAtTop.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual BOOL FirstRow() = 0;  // FALSE when no list is held
    virtual BOOL NextRow() = 0;   // FALSE after the last node
    virtual ULONG RowID() = 0;
    virtual void RowText(int nColumn, char* pszBuf, int nSize) = 0;
    // Called after row nRow (always 0: rows go in at the top) was written.
    virtual void RowAdded(ListViewClass& list, int nRow) {}
};

// The walk of a data object's node list (nodes linked by `next`) for a
// RowSource: the cursor starts at the head and moves on; FALSE when no node
// is left.
template <class Head, class Cursor>
BOOL FirstNode(Head* pHead, Cursor*& pCursor) {
    pCursor = pHead;
    return pCursor != nullptr;
}
template <class Cursor>
BOOL NextNode(Cursor*& pCursor) {
    if (pCursor) pCursor = pCursor->next;
    return pCursor != nullptr;
}

// Texts of the boxes FillListAtTop shows (caption "Tarvel提示").
struct FillTexts {
    const char* pszIDArrayError;    // the id array could not be had
    const char* pszEmptyListError;  // a count above 0 but no rows to walk
};

// Replaces the rows of list and the ids with nCount rows of src: each row
// is inserted at row 0, so the list shows the rows in reverse order, and its
// id goes to the entry of its row. nColumns cells per row. Fewer nodes than
// nCount keep the rows written; no rows to walk or no memory for the ids
// leave list and ids empty (a box shown). Returns the number of rows shown,
// or -1 when memory failed.
int FillListAtTop(ListViewClass& list, int nColumns, ULONG*& pulID, int& nCount, int nRows, RowSource& src,
                  const FillTexts& texts);
