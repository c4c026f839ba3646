#include "shell/IDList.h"

#include <cstring>
#include <new>

#include "shell/ListViewClass.h"
#include "shell/ViewMessages.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

void FreeIDs(ULONG*& pulID, int& nCount) {
    delete[] pulID;
    pulID = nullptr;
    nCount = 0;
}

int CopyIDs(ULONG*& pulID, int& nCount, const ULONG* pulFrom, int nFrom) {
    FreeIDs(pulID, nCount);
    if (!pulFrom || nFrom <= 0) return 0;
    pulID = new (std::nothrow) ULONG[(size_t)nFrom];
    if (!pulID) return -1;
    memcpy(pulID, pulFrom, sizeof(ULONG) * (size_t)nFrom);
    nCount = nFrom;
    return 0;
}

int FillListAtTop(ListViewClass& list, int nColumns, ULONG*& pulID, int& nCount, int nRows, RowSource& src,
                  const FillTexts& texts) {
    list.DeleteAllItems();
    FreeIDs(pulID, nCount);
    if (nRows <= 0) return 0;
    if (!src.FirstRow()) {
        ReportError(texts.pszEmptyListError);
        return 0;
    }
    pulID = new (std::nothrow) ULONG[(size_t)nRows];
    if (!pulID) {
        ReportError(texts.pszIDArrayError);
        return -1;
    }
    char szCell[256];
    int i = nRows;
    do {
        i--;
        pulID[i] = src.RowID();
        src.RowText(0, szCell, sizeof(szCell));
        list.InsertItem(0, szCell);
        for (int c = 1; c < nColumns; c++) {
            src.RowText(c, szCell, sizeof(szCell));
            list.SetItemText(0, c, szCell);
        }
        src.RowAdded(list, 0);
    } while (i > 0 && src.NextRow());
    // Fewer nodes than counted: keep the ids of the rows that were written.
    if (i > 0) memmove(pulID, pulID + i, sizeof(ULONG) * (size_t)(nRows - i));
    nCount = nRows - i;
    return nCount;
}
