// The frame of a record form: one record shown read-only (browse), edited
// after "修改" (edit) or entered afresh (new); stepping first / previous /
// next / last through the id list a page handed over; saving, deleting, the
// relation tabs, and the Back/Forward entries of the form. A form of a record
// kind adds its field controls and its data calls.
#pragma once

#include "views/PageFrameClass.h"
#include "shell/TabControlClass.h"

// Control ids of the buttons every form has.
struct RecordFormIDs {
    int nSave, nCancel, nEdit, nDelete;
    int nFirst, nPrev, nNext, nLast;
};

// Texts of the form's message boxes (caption "Tarvel提示").
struct RecordFormTexts {
    const char* pszLoadError;     // the record could not be loaded
    const char* pszAddError;      // an add failed
    const char* pszChangeError;   // a change failed
    const char* pszIDArrayError;  // an id-array copy could not be had
};

class RecordFormClass : public PageFrameClass {
public:
    enum Mode { kBrowse, kEdit, kNew };

    RecordFormClass();
    ~RecordFormClass() override;

    char m_szTitle[128];  // title of the handed id list
    ULONG* m_pulID;       // the handed id list, in the sender's row order
    int m_nIDCount;
    RECT m_rcCaption;     // area of the navigation caption
    TabControlClass m_Tab;
    HWND m_hSaveButton, m_hCancelButton, m_hEditButton, m_hDeleteButton;
    HWND m_hFirstButton, m_hPrevButton, m_hNextButton, m_hLastButton;
    ULONG m_ulRecordID;   // the record shown; 0 for a new one
    int m_nRow;           // its index in m_pulID
    BOOL m_bFound;        // the record shown could be loaded

    void FreeIDArray();
    // Replaces the id list with a copy of nCount ids and the title; on an
    // allocation failure the form keeps no list (count 0). 0 or -1.
    int TakeIDList(const ULONG* pulID, int nCount, const char* pszTitle);
    Mode CurrentMode() const { return m_Mode; }

protected:
    // The navigation and action buttons (fonts m_hFont), made disabled where
    // the browse mode wants them so.
    void CreateFormButtons(HWND hWnd, const RecordFormIDs& ids);
    // The relation tabs: create, add the pages, select tab 0.
    void CreateRelationTabs(HWND hWnd, int x, int y, int w, int h, const char* const* ppszCaptions,
                            const DLGPROC* pProcs, int nTabs);

    LRESULT OnShowRecord(WPARAM wParam, LPARAM lParam);
    LRESULT OnNewRecord();
    LRESULT OnRestoreView();
    // WM_COMMAND of the form's buttons: TRUE when handled.
    BOOL OnFormCommand(WPARAM wParam);
    void Step(int nRow);
    void OnEdit();
    void OnSave();
    void OnDelete();
    void OnCancel();
    // WM_NOTIFY from the tab control.
    BOOL OnTabNotify(const NMHDR* pHdr);

    // Navigation caption (WM_PAINT), painted at (166, 16).
    void PaintNavCaption(HDC hdc);
    void SetNavButtons();
    void DisableNavButtons();
    void SetModeButtons(Mode mode);
    void ReloadRelated(ULONG ulID);

    // What a record kind supplies.
    virtual int ToolbarButton() const = 0;
    virtual HWND NewRecordEntry() const = 0;  // the left-menu entry "添加…"
    virtual HWND FirstField() const = 0;      // focused after showing
    // Loads the record into the fields; with bRelating also names it in
    // g_szRelatingName. 0 when loaded, -1 (its box shown) otherwise.
    virtual int LoadRecord(ULONG ulID, BOOL bRelating) = 0;
    // Reads the fields into the data object: 0, or -1 (box shown, nothing saved).
    virtual int FormToRecord() = 0;
    // Adds the record read by FormToRecord; its new id into *pulNewID. 0 or -1.
    virtual int AddRecord(ULONG* pulNewID) = 0;
    // Writes the record read by FormToRecord over ulID: 0, -1 failed, -100
    // when no such record exists.
    virtual int ChangeRecord(ULONG ulID) = 0;
    virtual int DeleteRecord(ULONG ulID) = 0;
    virtual void DropRecord() = 0;  // frees the data object's list
    virtual void ClearForm() = 0;
    virtual void SetReadOnly(int bReadOnly) = 0;
    virtual void EnableCreationDate(BOOL bEnable) = 0;
    virtual void RefillLookups() = 0;
    virtual const RecordFormTexts& FormTexts() const = 0;

    RecordFormIDs m_IDs;
    Mode m_Mode;

private:
    void FillHistoryNode(HistoryNode* pNode);
    // Loads m_ulRecordID and shows it read-only; a record that cannot be
    // loaded is shown as missing, with 修改 and 删除 disabled.
    void BrowseRecord(BOOL bRelating);
    // The blank form of a new record: no id list, fields editable.
    void EnterNewMode();
};

// Text of the caption for a record that no longer exists.
extern const char g_szRecordMissing[];
