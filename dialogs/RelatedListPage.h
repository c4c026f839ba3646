// The core of the relation tab pages. A page lists the records of one kind
// linked to the record its form shows (g_ulRelatingID), links a new or an
// existing record through its add button's popup (a new-record dialog or a
// picker, which end by telling the form to show its record again), removes
// the link of the row the list shows selected (by a click or the keys) and
// opens a row in its kind's record form.
// Each page is a table (RelatedPageDef) and one RelatedListPage object kept
// by its page procedure; the accounts pages add a second list, the contacts
// of the clicked account (RelatedAccountsPage).
//
// The page window is made afresh at every change of tab; the object takes
// its windows, font and menu at WM_INITDIALOG and lets them go at
// WM_DESTROY. A popup command runs a modal dialog whose changes make the
// form reload this very page while the command's handler is still running:
// the handler touches nothing of the page after the dialog returns.
#pragma once

#include "dialogs/RecordColumns.h"
#include "shell/ListViewClass.h"
#include "shell/IDList.h"

// The records a list shows: those of a kind linked to the shown record, and
// for the contacts of an accounts page, linked to it under the clicked
// account.
enum RelatedQuery {
    kTasksOfOpportunity,
    kTasksOfAccount,
    kTasksOfContact,
    kOpportunitiesOfAccount,
    kOpportunitiesOfContact,
    kOpportunitiesOfTask,
    kContactsOfOpportunity,
    kContactsOfAccount,
    kContactsOfTask,
    kAccountsOfOpportunity,
    kAccountsOfTask,
    kContactsOfOpportunityAccount,
    kContactsOfTaskAccount,
};

// The kind of record the host form shows: the link id g_ulRelatingID takes
// when a link is removed, and the form told to show its record again.
enum RelatedHost { kHostOpportunity, kHostAccount, kHostContact, kHostTask };

struct RelatedButtonDef {
    const char* pszCaption;
    int nID;
    int x, y, nWidth;
};

// One list of a page with its add and remove buttons.
struct RelatedListDef {
    RecordKind kind;  // columns, data object, unlink, the form a row opens in
    RelatedQuery query;
    int nListID;
    int y, nHeight;  // the list at (10, y), 750 wide
    RelatedButtonDef add, remove;
    int nSubMenu;  // of "IDM_POP_MENU", popped by the add button
    int nNewCommand, nSelectCommand;
    const char* pszNewTemplate;
    DLGPROC pfnNew;     // null: the entry is offered disabled
    DLGPROC pfnSelect;  // the picker (template "ID_DLG_SELECT_OBJECT")
    // The new-record dialog starts without an account (g_ulRelatingAccID 0).
    bool bNewWithoutAccount;
};

struct RelatedPageDef {
    RelatedHost host;
    RelatedListDef list;    // the page's list (the accounts on an accounts page)
    RelatedButtonDef mail;  // 邮件群发; nID 0 for pages without it
};

// One list as made on the page now shown.
struct RelatedList {
    const RelatedListDef* pDef = nullptr;
    HWND hAdd = nullptr, hRemove = nullptr;
    HMENU hSubMenu = nullptr;  // part of the page's menu
    ListViewClass list;
    IDListOwner ids;     // entry r: the record of row r; empty when nothing is listed
    int nSelected = -1;  // the row chosen in the present list (clicked or selected with the keys), -1 none
};

class RelatedListPage {
public:
    explicit RelatedListPage(const RelatedPageDef& def);
    virtual ~RelatedListPage() = default;
    RelatedListPage(const RelatedListPage&) = delete;
    RelatedListPage& operator=(const RelatedListPage&) = delete;

    // The page procedure's body.
    INT_PTR Proc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

protected:
    virtual void OnCreate();
    virtual void OnReload();
    // A click on list l at nRow (-1 off the rows), or the keys selecting
    // nRow (-1: none selected).
    virtual void OnClick(RelatedList& l, int nRow);
    // The add button of l: TRUE when its popup may open.
    virtual BOOL MayAdd(const RelatedList& l) const;
    // The account the mass mail and the contacts list go by (0: none).
    virtual ULONG AccountOf(const RelatedList& l) const { return 0; }

    void MakeButton(HWND& hButton, const RelatedButtonDef& b, BOOL bEnabled);
    void MakeList(RelatedList& l);
    // Empties the list, forgets its ids and the clicked row.
    void ClearList(RelatedList& l);
    // Lists the records of the list's query for the shown record (and
    // ulAccID); a failed query leaves the list empty. The number of rows.
    int LoadList(RelatedList& l, ULONG ulAccID);
    RelatedList* ListFromNotify(HWND hFrom);

    const RelatedPageDef& m_Def;
    HWND m_hPage = nullptr;
    HFONT m_hFont = nullptr;
    HMENU m_hMenu = nullptr;
    HWND m_hMail = nullptr;
    RelatedList m_Main;
    RelatedList* m_pLists[2];  // the page's lists; the last one is mailed
    int m_nLists;

private:
    void OnCommand(WPARAM wParam);
    BOOL OnPopupCommand(int nID);
    void PopAdd(RelatedList& l);
    void Remove(RelatedList& l);
    void Open(RelatedList& l, int nRow);
    void MassMail();
    void Destroy();
};

// The accounts pages: the accounts linked to the shown record and, below,
// the shown record's contacts under the account clicked or selected with
// the keys last (g_ulRelatingAccID, name in g_szRelatingAccName). The
// clicked account is kept only while it is one of the listed accounts.
class RelatedAccountsPage : public RelatedListPage {
public:
    RelatedAccountsPage(const RelatedPageDef& def, const RelatedListDef& contacts);

protected:
    void OnCreate() override;
    void OnReload() override;
    void OnClick(RelatedList& l, int nRow) override;
    BOOL MayAdd(const RelatedList& l) const override;
    ULONG AccountOf(const RelatedList& l) const override;

private:
    // g_ulRelatingAccID when it is a listed account, else 0.
    ULONG ListedAccount() const;
    // Drops a clicked account that is not listed (add-contact disabled).
    void ForgetUnlistedAccount();

    RelatedList m_Contacts;
    // The account last clicked on this page and the record it was clicked for.
    ULONG m_ulClickedAccount = 0;
    ULONG m_ulClickedFor = 0;
};
