// The frame of a record form: one record shown read-only (browse), edited
// after "修改" (edit) or entered afresh (new); stepping first / previous /
// next / last through the id list a page handed over; saving, deleting, the
// relation tabs, and the Back/Forward entries of the form. A form of a record
// kind is a definition (its ids, field table, labels, relation tabs and
// texts) plus its data calls.
//
// Hand-over: every sender calls HandOverToForm. UM_SHOWRECORD (row, id) shows
// a record of the handed list; (-1, id) shows a record again at the same row;
// a row outside the list makes the record a list of one; a form without a
// list (a saved new record) shows the record with no position line and no
// stepping. UM_NEWRECORD shows a blank form for a new record. The form's history entry keeps the record id,
// the row, the title and a copy of the id list, from which UM_RESTOREVIEW
// rebuilds it.
#pragma once

#include "shell/TabControlClass.h"
#include "shell/ViewMessages.h"
#include "shell/FormControls.h"
#include "shell/IDList.h"
#include "shell/PageFrameClass.h"

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

// One relation tab: its caption and the page procedure.
struct RelationTabDef {
    const char* pszCaption;
    DLGPROC pfnPageProc;
};

// What a record form is made of (kept by value).
struct RecordFormDef {
    int nButton;  // the module's toolbar button
    int nSearchEditID, nSearchID, nHelpID;
    PageMenu menu;  // left menu; entry 0 is "添加…", usable only while browsing
    RecordFormIDs ids;
    const FormFieldDef* pFields;  // in creation order (and Tab order)
    int nFields;
    const FormLabelDef* pLabels;
    int nLabels;
    int nTabX, nTabY, nTabWidth, nTabHeight;  // the relation tabs
    const RelationTabDef* pTabs;
    int nTabs;
    RecordFormTexts texts;
    bool bFocusFirstField;       // a shown or new record puts the focus on the first field of the Tab cycle
    BaseDialogClass* pListPage;  // the module's list page, where the quick search goes
    char* pszListKeyword;        // its keyword buffer (50 bytes)

    // The form's field and label tables, and its relation tabs at x, y, w, h.
    template <int F, int L>
    void SetTables(const FormFieldDef (&fields)[F], const FormLabelDef (&labels)[L]) {
        pFields = fields;
        nFields = F;
        pLabels = labels;
        nLabels = L;
    }
    template <int T>
    void SetTabs(int x, int y, int w, int h, const RelationTabDef (&tabs)[T]) {
        nTabX = x;
        nTabY = y;
        nTabWidth = w;
        nTabHeight = h;
        pTabs = tabs;
        nTabs = T;
    }
};

// A definition of a form without fields yet: search edit, search button,
// help link and the eight buttons take the ids nFirstID .. nFirstID + 10;
// the relation tabs sit at (x, y, w, h).
RecordFormDef FieldlessFormDef(int nButton, int nFirstID, int x, int y, int w, int h, const RelationTabDef* pTabs,
                               int nTabs, BaseDialogClass* pListPage, char* pszListKeyword);

// The kinds of record a form may be handed as a link of the record it shows.
enum LinkedKind { kLinkedAccount, kLinkedOpportunity, kLinkedContact };

// m_pulID / m_nIDCount (IDListOwner): the handed id list, in the sender's
// row order.
class RecordFormClass : public PageFrameClass, public IDListOwner {
public:
    enum Mode { kBrowse, kEdit, kNew };
    static constexpr int kMaxFields = 40;

    explicit RecordFormClass(const RecordFormDef& def);

    char m_szTitle[128];  // title of the handed id list
    RECT m_rcCaption;     // area of the navigation caption
    TabControlClass m_Tab;
    HWND m_hSaveButton, m_hCancelButton, m_hEditButton, m_hDeleteButton;
    HWND m_hFirstButton, m_hPrevButton, m_hNextButton, m_hLastButton;
    ULONG m_ulRecordID;  // the record shown; 0 for a new one
    int m_nRow;          // its index in m_pulID
    BOOL m_bFound;       // the record shown could be loaded

    // Replaces the id list with a copy of nCount ids and the title (a null
    // title keeps the one the form has); on an allocation failure the form
    // keeps no list (count 0). 0 or -1.
    int TakeIDList(const ULONG* pulID, int nCount, const char* pszTitle);
    Mode CurrentMode() const { return m_Mode; }
    const RecordFormDef& Def() const { return m_Def; }

    // What other pages may ask of a form. They reach a form through its
    // module's seam header (a RecordFormClass*), never through its class.
    // Shows the record ulID again at the row the form is at (its relation
    // tabs reload), as after a link was added or removed.
    void ShowRecordAgain(ULONG ulID) { SendMessageA(m_hWnd, UM_SHOWRECORD, (WPARAM)-1, (LPARAM)ulID); }
    // Takes a record picked or made for the record being entered: the form
    // keeps its id and shows pszName where it shows that link (a null name
    // leaves the text as it is). A form without such a link ignores it.
    virtual void TakeLinkedRecord(LinkedKind kind, ULONG ulID, const char* pszName) {}
    // The id of the link of that kind the form keeps; 0 when none.
    virtual ULONG LinkedRecord(LinkedKind kind) const { return 0; }
    // Writes pszText into the form's title field; a form without one ignores it.
    virtual void SetTitleText(const char* pszText) {}

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // The field control of id nID (null when the table has none).
    HWND Field(int nID) const;
    // The quick search: the keyword goes to the module's list page.
    void SearchOnModuleListPage(HWND hEdit) override;
    // Tab / Shift+Tab from field nID: the field of the Tab cycle that gets
    // the focus, or null.
    HWND TabTarget(int nID, BOOL bBackward) const;
    // The window procedure of the fields in the Tab cycle (Tab / Shift+Tab).
    static LRESULT CALLBACK FieldEditProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // Table-driven field operations; a form extends them for what its table
    // cannot say.
    virtual void ClearForm();
    virtual void SetReadOnly(int bReadOnly);

protected:
    // The navigation and action buttons (fonts m_hFont), made disabled where
    // the browse mode wants them so.
    void CreateFormButtons(HWND hWnd, const RecordFormIDs& ids);
    // The relation tabs: create, add the pages, select tab 0.
    void CreateRelationTabs(HWND hWnd);

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
    // The caption's text for the record shown now ("" when none).
    void NavCaptionText(char* pszLine, size_t nSize) const;
    // Repaints the caption after the record, the list or the mode changed.
    void InvalidateNavCaption();
    void SetNavButtons();
    void DisableNavButtons();
    void SetModeButtons(Mode mode);
    void ReloadRelated(ULONG ulID);

    // What a record kind supplies; the defaults fit a form without fields.
    virtual int ToolbarButton() const { return m_Def.nButton; }
    virtual HWND NewRecordEntry() const { return m_nLinks > 0 ? m_hMenuButtons[0] : nullptr; }
    HWND FirstField() const;  // the first field of the Tab cycle
    // Loads the record into the fields; with bRelating also names it in
    // g_szRelatingName. 0 when loaded, -1 (its box shown) otherwise.
    virtual int LoadRecord(ULONG ulID, BOOL bRelating) { return 0; }
    // Reads the fields into the data object: 0, or -1 (box shown, nothing saved).
    virtual int FormToRecord() { return -1; }
    // Adds the record read by FormToRecord; its new id into *pulNewID. 0 or -1.
    virtual int AddRecord(ULONG* pulNewID) { return -1; }
    // Writes the record read by FormToRecord over ulID: 0, -1 failed, -100
    // when no such record exists.
    virtual int ChangeRecord(ULONG ulID) { return -1; }
    virtual int DeleteRecord(ULONG ulID) { return -1; }
    virtual void DropRecord() {}  // frees the data object's list
    virtual void EnableCreationDate(BOOL bEnable);
    virtual void RefillLookups() {}
    virtual const RecordFormTexts& FormTexts() const { return m_Def.texts; }
    // WM_COMMAND of a field (a combo's selection and the like): TRUE when handled.
    virtual BOOL OnFieldCommand(WPARAM wParam, LPARAM lParam) { return FALSE; }
    // A double click on a field flagged kFieldDoubleClick (nID: the field's id).
    virtual void OnFieldDoubleClick(int nID) {}
    // The navigation caption and the labels; a form paints more after them.
    void PaintPage(HDC hdc) override;

    RecordFormDef m_Def;
    RecordFormIDs m_IDs;
    Mode m_Mode;
    HWND m_hFields[kMaxFields];  // by row of the field table
    WNDPROC m_pfnOldField[kMaxFields];
    char m_szNavPainted[256];  // the caption as last painted

private:
    int Fields() const { return m_Def.nFields < kMaxFields ? m_Def.nFields : kMaxFields; }
    int FieldRow(int nID) const;
    void FillHistoryNode(HistoryNode* pNode);
    // Loads m_ulRecordID and shows it read-only; a record that cannot be
    // loaded is shown as missing, with 修改 and 删除 disabled.
    void BrowseRecord(BOOL bRelating);
    // The blank form of a new record: no id list, fields editable.
    void EnterNewMode();
};

// Hands a list to a record form and shows the form: nRow -1 opens it on a
// new record (it keeps no list); a row of the list shows that row's record
// with a copy of the list and the title (cut at a character boundary). A
// row outside the list hands nothing over. A null title leaves the form's
// title as it was. Every page that opens a record form goes through here. 0, or -1 when nothing was handed over.
int HandOverToForm(RecordFormClass* pForm, const ULONG* pulID, int nCount, int nRow, const char* pszTitle);

// Text of the caption for a record that no longer exists.
extern const char* const g_szRecordMissing;
