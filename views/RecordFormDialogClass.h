// A record form (account, contact, task): shows one record of a list of ids
// that the sending page handed over, and its relation tab pages.
//
// Hand-over: the sender calls FreeIDArray, writes m_pulID (a heap array the
// form owns from then on), m_nIDCount and m_szTitle, and sends UM_SHOWRECORD
// (row, id). UM_SHOWRECORD (-1, id) shows the record again at the same row.
// UM_NEWRECORD shows an empty form for a new record. The form's history
// entry keeps the record id, the row, the title and a copy of the id list,
// from which UM_RESTOREVIEW rebuilds it.
#pragma once

#include "views/PlaceholderDialogClass.h"
#include "shell/TabControlClass.h"

struct RelationTab {
    LPCSTR pszCaption;
    DLGPROC pfnPageProc;
};

struct RecordFormLayout {
    int x, y, nWidth, nHeight;    // the tab control on the page
    const RelationTab* pTabs;
    int nTabs;
};

class RecordFormDialogClass : public PlaceholderDialogClass {
public:
    RecordFormDialogClass(const char* pszClassName, int nButton, const RecordFormLayout& layout);
    ~RecordFormDialogClass() override;

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // Frees the handed id list; the count goes back to 0 with it.
    void FreeIDArray();
    // True when the form can step from its row to nRow of the list.
    bool HasRow(int nRow) const { return m_pulID && nRow >= 0 && nRow < m_nIDCount; }

    char m_szTitle[128];   // title of the handed list
    ULONG* m_pulID;        // the handed id list, in the sender's row order
    int m_nIDCount;        // entries of m_pulID
    TabControlClass m_Tab;
    ULONG m_ulRecordID;    // record shown; 0 for a new record
    int m_nRow;            // its row in m_pulID, -1 when it is not in the list

protected:
    virtual void OnShowRecord(int nRow, ULONG ulID);
    virtual void OnNewRecord();
    void OnRestore() override;
    // Makes the record the one the relation pages show and reloads them.
    void ReloadRelated();

    RecordFormLayout m_Layout;
};
