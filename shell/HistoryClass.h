// The Back/Forward history: a doubly linked list of the entries the user
// opened, with a current position. Pages decide when to add an entry and
// what to write into it; Back and Forward make an older or newer entry
// current and send its view UM_RESTOREVIEW.
#pragma once

#include "win32.h"

class BaseDialogClass;

struct HistoryNode {
    BaseDialogClass* m_pView;  // the view that shows this entry
    int m_nKind;               // 0 = the view's default content; others the view's own
    ULONG m_nRecordID;         // record forms: id of the record shown (0 = new)
    SYSTEMTIME m_stFrom;       // date pages: first date of the query
    SYSTEMTIME m_stTo;         // date pages: second date
    char* m_pszKeyword;        // keyword of a search entry, or null
    char* m_pszTitle;          // record forms: title of the handed id list, or null
    int m_nParam;              // statistics pages: category index; forms: row
    ULONG* m_pulID;            // record forms: copy of the handed id list, or null
    int m_nIDCount;            // number of ids in m_pulID
    HistoryNode* m_pNext;      // newer neighbour
    HistoryNode* m_pPrev;      // older neighbour
};

class HistoryClass {
public:
    HistoryClass();
    ~HistoryClass();

    // The start page's first entry. -1 when a head exists or memory fails.
    int AllocHead();
    // A zeroed entry after the current one, made current and tail (entries
    // still after the current one are cut first). -1 without a head or when
    // memory fails (the current entry stays).
    int Append();
    // Frees every entry after the current one; the current becomes the tail.
    void TruncateAfterCurrent();
    // Keyword / title buffers of the current entry (length + 1 bytes).
    // -1 when the entry already has one or memory fails.
    int AllocKeyword(int nLength);
    void FreeKeyword();
    int AllocTitle(int nLength);
    // Steps one entry back / forward; nothing at the ends.
    void Back();
    void Forward();
    void FreeAll();

    // --- helpers built on the primitives above ---

    // Opening a page: when the history has a head, cut after the current
    // entry, append one and set its view. Returns the new entry, or null when
    // no entry was added (no head yet, or memory failed).
    HistoryNode* OpenEntry(BaseDialogClass* pView);
    // True when the current entry exists and belongs to pView. A page writes
    // into m_pCurrent only when this holds.
    bool IsCurrentOf(const BaseDialogClass* pView) const;
    // Replaces the current entry's keyword with a copy of pszKeyword (null or
    // "" clears it). 0, or -1 when there is no entry or memory fails.
    int SetKeyword(const char* pszKeyword);
    // Replaces the current entry's title with a copy of pszTitle.
    int SetTitle(const char* pszTitle);
    // Replaces the current entry's id list with a copy of nCount ids
    // (nCount <= 0 or a null array clears it). 0 or -1.
    int SetIDArray(const ULONG* pulID, int nCount);
    // The nearest older / newer entry that has a view, or null.
    HistoryNode* PrevWithView() const;
    HistoryNode* NextWithView() const;
    // Number of entries (for checks and tests).
    int Count() const;

public:
    HistoryNode* m_pHead;
    HistoryNode* m_pCurrent;
    HistoryNode* m_pTail;
};

extern HistoryClass g_History;
