// What the data classes share: the node list, the table-driven column reader,
// the row loader, the statement formatter that doubles single quotes of every
// text value, and the category helpers (lookup tables, values in use, counts).
#pragma once

#include <cstddef>
#include <new>

#include "store/ODBCClass.h"
#include "store/Report.h"
#include "win32.h"
#include "resources/message_texts.h"

namespace store {

// Width of a category name (lookup value) in bytes, its NUL included.
enum { CATEGORY_NAME_LEN = 50 };

// One store operation that runs more than one changing statement: all of
// them take effect together or none does. Made before the first statement;
// Commit() (or Finish()) ends it, and the destructor rolls back whatever was
// not committed. Operations nest: only the outermost one commits.
class Transaction {
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool IsOpen() const { return m_bOpen; }
    // 0, or -1 after a message (everything rolled back).
    int Commit();
    // The operation's result: -1 stays -1 (rolled back); any other result
    // is committed and kept, or -1 when the commit fails.
    int Finish(int nResult);

private:
    bool m_bOpen;
};

// Formats a statement into g_ODBC (bounded: see ODBCClass::co_FormatSQL).
// Conversions: %d (int), %s (text: every single quote is doubled, so the
// stored text is exactly the given one; a text that is not valid GBK is
// refused with a message), %f (double, always with a '.' as
// decimal point whatever the locale) and %%. Returns 0, or -1 when the
// statement could not be formatted.
int FormatSQL(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));

// A subject column gives back at most this many bytes (its read buffer less
// the terminator); a longer text is refused rather than stored and read
// back cut.
enum { SUBJECT_MAX_BYTES = 254 };

// 0 when the text (in a field of nFieldSize bytes) has at most nMaxBytes
// bytes; else -1 after a message naming the field (pszLabel).
int CheckTextFits(const char* pszText, size_t nFieldSize, size_t nMaxBytes, const char* pszLabel);

// Puts a fixed statement text (no conversions) into g_ODBC. Returns 0 / -1.
int SetSQL(const char* pszText);

// Copies pszSource into pszTarget and writes every single quote twice; the
// target holds at least 2 * strlen(pszSource) + 1 bytes.
void EscapeQuotes(const char* pszSource, char* pszTarget);

// Fetches the next row of the current result: 1 for a row, 0 when there is
// no further row, -1 when the fetch failed (a failed fetch is never a row).
int FetchRow();

// One column of a row read into a node field.
enum ColumnKind { COL_LONG, COL_TEXT, COL_MEMO, COL_DATE, COL_TIME, COL_DOUBLE, COL_FLOAT };

struct ColumnSpec {
    SQLUSMALLINT nColumn;  // column number in the result, from 1
    ColumnKind kind;
    size_t nOffset;           // offset of the field in the node
    SQLINTEGER nLength;       // buffer length of a text field
    const char* pszMsg;       // failure text (for a memo: its length read)
    const char* pszMsgLater;  // failure text on rows after the first; null: pszMsg
    const char* pszMsgAlloc;  // memo only: its buffer could not be had
    const char* pszMsgText;   // memo only: its text read
};

// Reads the columns into the node in the given order. A NULL value leaves
// the field empty or zero. Returns 0, or -1 after the column's message.
int ReadColumns(void* pNode, const ColumnSpec* pColumns, size_t nColumns, bool bLaterRow);

// ---------------------------------------------------------------------------
// Node list. Every node type has a `next` pointer; the description (if the
// node has one) is a heap text owned by the node.
// ---------------------------------------------------------------------------
template <class Node>
int ListAllocHead(Node*& pHead, Node*& pCurrent, const char* pszNewError) {
    if (pHead) return -1;
    Node* p = new (std::nothrow) Node();
    if (!p) {
        ShowError(pszNewError);
        return -1;
    }
    pHead = pCurrent = p;
    return 0;
}

template <class Node>
int ListAllocNode(Node* pHead, Node*& pCurrent) {
    if (!pHead || !pCurrent) return -1;
    Node* p = new (std::nothrow) Node();
    if (!p) {
        ShowError(msg::kListNew);
        return -1;
    }
    p->next = pCurrent->next;
    pCurrent->next = p;
    pCurrent = p;
    return 0;
}

// Gives the cursor node a description block of nLength + 1 bytes (zeroed).
template <class Node>
int ListAllocDescription(Node* pCurrent, char* Node::*pDescription, unsigned nLength) {
    if (!pCurrent || pCurrent->*pDescription) return -1;
    char* p = new (std::nothrow) char[(size_t)nLength + 1]();
    if (!p) return -1;
    pCurrent->*pDescription = p;
    return 0;
}

template <class Node>
void ListFree(Node*& pHead, Node*& pCurrent, char* Node::*pDescription) {
    while (pHead) {
        Node* p = pHead;
        pHead = p->next;
        if (pDescription) delete[](p->*pDescription);
        delete p;
    }
    pHead = pCurrent = nullptr;
}

// Texts of the row loader's own failures.
struct LoaderTexts {
    const char* pszExec;     // the statement failed
    const char* pszHead;     // the head node could not be made
    const char* pszNode;     // a further node could not be made
    const char* pszNewHead;  // the head allocation's own "new Error" text
};

// Runs the statement already formatted into g_ODBC and loads every row into
// a new list (the old one is freed first). Result: the number of rows, or -1.
// A result without rows leaves one zero-filled head node and gives 0.
template <class Node>
int LoadRows(Node*& pHead, Node*& pCurrent, char* Node::*pDescription, const ColumnSpec* pColumns, size_t nColumns,
             const LoaderTexts& texts) {
    ListFree(pHead, pCurrent, pDescription);
    if (g_ODBC.co_ExecSQL() == -1) {
        ShowError(texts.pszExec);
        return -1;
    }
    if (ListAllocHead(pHead, pCurrent, texts.pszNewHead) == -1) {
        ShowError(texts.pszHead);
        return -1;
    }
    int nCount = 0;
    for (;;) {
        int nRow = FetchRow();
        if (nRow == 0) return nCount;
        if (nRow < 0) {  // a failed fetch is no row: the rows read so far stay
            ShowError(texts.pszExec);
            return -1;
        }
        if (nCount > 0 && ListAllocNode(pHead, pCurrent) == -1) {
            ShowError(texts.pszNode);
            return -1;
        }
        if (ReadColumns(pCurrent, pColumns, nColumns, nCount > 0) == -1) return -1;
        ++nCount;
    }
}

// Reads one record into a new head node; the list must be empty. nFormat is
// the result of formatting the statement into g_ODBC. setId(head) runs
// before the fetch when bIdFirst, else only once the row has come. Result: 1
// when the record was read, 0 when no row came (the head stays), -1 after a
// message.
template <class Node, class SetId>
int ReadRecord(int nFormat, Node*& pHead, Node*& pCurrent, const char* pszNewHead, SetId setId, bool bIdFirst,
               const ColumnSpec* pColumns, size_t nColumns) {
    static const char* const kExec = msg::kListExec;
    if (nFormat == -1 || g_ODBC.co_ExecSQL() == -1) {
        ShowError(kExec);
        return -1;
    }
    if (ListAllocHead(pHead, pCurrent, pszNewHead) == -1) {
        ShowError(msg::kListAllocHead);
        return -1;
    }
    if (bIdFirst) setId(*pCurrent);
    int nRow = FetchRow();
    if (nRow < 0) {
        ShowError(kExec);
        return -1;
    }
    if (nRow == 0) {
        g_ODBC.co_CloseStatement();
        return 0;
    }
    if (!bIdFirst) setId(*pCurrent);
    if (ReadColumns(pCurrent, pColumns, nColumns, false) == -1) return -1;
    g_ODBC.co_CloseStatement();  // the row is read: the file is not kept locked
    return 1;
}

// Runs the statement in g_ODBC: 0, -100 when it touched no row, or -1
// after pszMsg.
int ExecOrShow(const char* pszMsg);

// Runs the COUNT(*) statement pszCount and, when it counts no row, the
// INSERT pszInsert; both take the nArgs (2 or 3) ids a, b, c. Result: 1 when
// the row was inserted, 0 when it existed, -1 after a message.
int LinkIfMissing(const char* pszCount, const char* pszInsert, int nArgs, ULONG a, ULONG b, ULONG c);

// Column name for a re-sort; null when the index lies outside the table.
const char* SortColumnName(const char* const* pTable, int nEntries, int iColumn);

// The steering fields of a data object and its table of sort columns.
struct Steering {
    int& iQueryMode;
    int& bSearch;
    int iSortColumn;
    int bDesc;
    const char* const* pSortTable;
    int nSortEntries;
};

// Statement texts of an all-records list with keyword search and re-sort.
struct KeywordQueryTexts {
    const char* pszSearch;        // mode 1: the keyword nKeywordUses times
    const char* pszSearchSorted;  // mode 2 after a search: the keywords, then the column
    const char* pszSearchSortedDesc;
    const char* pszSorted;  // mode 2 after a plain listing: the column
    const char* pszSortedDesc;
    const char* pszPlain;  // any other mode: no conversions
    int nKeywordUses;      // 2 or 3
};

// Formats the list by the steering fields: mode 1 searches for pszKeyword
// (bSearch := 1), mode 2 re-sorts keeping the filter of the listing before
// it, both set the mode to 0; any other mode lists all and clears bSearch.
// Returns 0, or -1 (nothing formatted) for a sort column outside the table.
int FormatKeywordQuery(const Steering& s, const KeywordQueryTexts& t, const char* pszKeyword);

// Formats a per-category listing: mode 2 gives pszSorted (" DESC" appended
// when bDesc is 1) with the value and the sort column, and sets the mode to
// 0; any other mode gives pszPlain with the value and clears bSearch.
// Returns 0, or -1 (nothing formatted) for a sort column outside the table.
int FormatCategoryQuery(const Steering& s, const char* pszPlain, const char* pszSorted, const char* pszValue);

// Formats a grouped listing without conversions: mode 2 gives pszSorted
// (" DESC" appended when bDesc is 1) with the sort column's entry of the
// table, and sets the mode to 0; any other mode gives pszPlain and clears
// bSearch. Returns 0, or -1 (nothing formatted) for a sort column outside
// the table.
int FormatGroupedQuery(const Steering& s, const char* pszPlain, const char* pszSorted);

// Formats a listing by one date (pFrom null: one date, stTo) or by a range
// (pFrom, stTo): mode 2 gives pszSorted with the dates and the sort column
// and sets the mode to 0; any other mode gives pszPlain and changes nothing.
int FormatDateQuery(const Steering& s, const char* pszPlain, const char* pszSorted, const SYSTEMTIME* pFrom,
                    const SYSTEMTIME& stTo);

// ---------------------------------------------------------------------------
// Categories
// ---------------------------------------------------------------------------
typedef char CategoryName[CATEGORY_NAME_LEN];

// A fixed array of category names with its count and capacity.
struct CategoryArray {
    CategoryName* pNames;
    int* pCount;
    int nCapacity;
    char (*pProbability)[20];  // phase probabilities, or null
    bool* pNoticeShown;        // the object's "categories left out" notice
};

// Appends a name unless the array is full; a full array shows a notice once
// per object and drops the name. Returns 0, or -1 when dropped.
int AppendCategory(const CategoryArray& a, const char* pszName, const char* pszProbability);

// Loads a lookup table (column 1, and column 2 into the probabilities when
// the array has them) into the array from the front. An empty table is an
// error. Result: the number of names, or -1.
int LoadLookupTable(const char* pszSQL, const CategoryArray& a);

// The lookup table followed by every further non-empty value of the in-use
// statement that is not listed yet. Result: the number of names; 0 when the
// in-use statement gives no row; -1 after a failure.
int GatherCategories(const char* pszLookupSQL, const char* pszInUseSQL, const CategoryArray& a);

// Texts of the per-category counts.
struct CountTexts {
    const char* pszFirstSQL;   // statement of category 0 (one %s: the name)
    const char* pszLaterSQL;   // statement of the later categories
    const char* pszExecFirst;  // message: first statement failed
    const char* pszExecLater;  // message: a later statement failed
    const char* pszReadCount;  // message: a count could not be read
    const char* pszReadSum;    // message: a sum could not be read (with sums)
};

// One statement per category, read before the next is formatted: column 1
// into pCounts[i], column 2 (when pSums is given) into pSums[i]; a NULL sum
// is 0. Result 0, or -1 at the first failure.
int CountPerCategory(const CategoryArray& a, const CountTexts& texts, int* pCounts, double* pSums);

// Runs the fixed statement and counts its rows into *pCount (0 first).
// Result 0, or -1 after pszExec (or a failed fetch).
int CountRows(const char* pszSQL, int* pCount, const char* pszExec);

// Reads column 1 of the first row of the statement as a whole number into
// *pValue (left alone when no row comes). Result 0, or -1 after a message.
int ReadFirstLong(const char* pszExec, const char* pszRead, int* pValue);

}  // namespace store
