#include "dialogs/RelatedListPage.h"

#include "dialogs/DialogFont.h"
#include "dialogs/RecordPickers.h"
#include "dialogs/RelatedPages.h"
#include "resources/message_texts.h"
#include "resources/shell_ids.h"
#include "shell/MainWindow.h"
#include "shell/Report.h"
#include "shell/ViewMessages.h"
#include "mail/ContactsToMail.h"
#include "shell/RecordFormClass.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_Form.h"
#include "views/contacts/Con_Form.h"
#include "views/opportunities/Opp_Form.h"
#include "views/tasks/Tas_Form.h"

namespace {

RecordFormClass* HostForm(RelatedHost host) {
    switch (host) {
    case kHostOpportunity: return OpportunityForm();
    case kHostAccount: return AccountForm();
    case kHostContact: return ContactForm();
    default: return TaskForm();
    }
}

// The form a listed record opens in.
RecordFormClass* FormOf(RecordKind kind) {
    switch (kind) {
    case kKindTasks: return TaskForm();
    case kKindAccounts: return AccountForm();
    case kKindOpportunities: return OpportunityForm();
    default: return ContactForm();
    }
}

// Lists the query's rows; a failed query leaves list and ids empty.
template <class Node>
int Show(RelatedList& l, int nCount, Node* pHead, const char* pszMissing) {
    if (nCount < 0) {
        ReportError(msg::kRelatedQuery);
        l.list.DeleteAllItems();
        l.ids.FreeIDArray();
        return 0;
    }
    NodeListRows<Node> rows(pHead);
    const FillTexts texts = {msg::kRelatedIDArray, pszMissing};
    const int n =
        FillListAtTop(l.list, ColumnsOf(l.pDef->kind).nColumns, l.ids.m_pulID, l.ids.m_nIDCount, nCount, rows, texts);
    return n < 0 ? 0 : n;
}

// The contacts queries, on the pages and for the mass mail.
int QueryContacts(RelatedQuery query, Con_DetailClass& c, ULONG ulID, ULONG ulAccID) {
    switch (query) {
    case kContactsOfOpportunity: return c.ccd_GetByOpportunity(ulID);
    case kContactsOfAccount: return c.ccd_GetByAccount(ulID);
    case kContactsOfTask: return c.ccd_GetByTask(ulID);
    case kContactsOfOpportunityAccount: return c.ccd_GetByOpportunityAccount(ulID, ulAccID);
    case kContactsOfTaskAccount: return c.ccd_GetByTaskAccount(ulID, ulAccID);
    default: return 0;
    }
}

int Fill(RelatedList& l, ULONG ulID, ULONG ulAccID) {
    switch (l.pDef->kind) {
    case kKindTasks: {
        Tas_DetailClass t;
        const RelatedQuery q = l.pDef->query;
        const int n = q == kTasksOfOpportunity ? t.ctd_GetByOpportunity(ulID)
                      : q == kTasksOfAccount   ? t.ctd_GetByAccount(ulID)
                                               : t.ctd_GetByContact(ulID);
        return Show(l, n, t.m_pTasHead, msg::kRelatedNoTasks);
    }
    case kKindOpportunities: {
        Opp_DetailClass o;
        const RelatedQuery q = l.pDef->query;
        const int n = q == kOpportunitiesOfAccount   ? o.cod_GetByAccount(ulID)
                      : q == kOpportunitiesOfContact ? o.cod_GetByContact(ulID)
                                                     : o.cod_GetByTask(ulID);
        return Show(l, n, o.m_pOppHead, msg::kRelatedNoOpportunities);
    }
    case kKindAccounts: {
        Acc_DetailClass a;
        const int n = l.pDef->query == kAccountsOfOpportunity ? a.cad_GetByOpportunity(ulID) : a.cad_GetByTask(ulID);
        return Show(l, n, a.m_pAccHead, msg::kRelatedNoRecords);
    }
    default: {
        Con_DetailClass c;
        const int n = QueryContacts(l.pDef->query, c, ulID, ulAccID);
        return Show(l, n, c.m_pConHead, msg::kRelatedNoRecords);
    }
    }
}

// Removes the link between the listed record ulRowID and the shown record;
// both records stay. The store reports a failure itself.
void Unlink(RecordKind kind, ULONG ulRowID, RelatedHost host, ULONG ulHostID) {
    auto hostID = [&](RelatedHost h) { return host == h ? ulHostID : 0; };
    switch (kind) {
    case kKindTasks: {
        Tas_DetailClass t;
        t.m_ulTasID = ulRowID;
        t.m_ulOppID = hostID(kHostOpportunity);
        t.m_ulAccID = hostID(kHostAccount);
        t.m_ulConID = hostID(kHostContact);
        t.ctd_UnlinkTask();
        break;
    }
    case kKindOpportunities: {
        Opp_DetailClass o;
        o.m_ulOppID = ulRowID;
        o.m_ulAccID = hostID(kHostAccount);
        o.m_ulConID = hostID(kHostContact);
        o.m_ulTasID = hostID(kHostTask);
        o.cod_UnlinkOpportunity();
        break;
    }
    case kKindAccounts: {
        Acc_DetailClass a;
        a.m_ulAccID = ulRowID;
        a.m_ulOppID = hostID(kHostOpportunity);
        a.m_ulTasID = hostID(kHostTask);
        a.cad_UnlinkAccount();
        break;
    }
    default: {
        Con_DetailClass c;
        c.m_ulConID = ulRowID;
        c.m_ulOppID = hostID(kHostOpportunity);
        c.m_ulAccID = hostID(kHostAccount);
        c.m_ulTasID = hostID(kHostTask);
        c.ccd_UnlinkContact();
        break;
    }
    }
}

bool Lists(const IDListOwner& ids, ULONG ulID) {
    for (int i = 0; ids.m_pulID && i < ids.m_nIDCount; ++i)
        if (ids.m_pulID[i] == ulID) return true;
    return false;
}

}  // namespace

ULONG RelatedPageLoadedID(HWND hPage) { return hPage ? (ULONG)GetWindowLongPtrA(hPage, GWLP_USERDATA) : 0; }

RelatedListPage::RelatedListPage(const RelatedPageDef& def) : m_Def(def), m_pLists{&m_Main, nullptr}, m_nLists(1) {
    m_Main.pDef = &def.list;
}

INT_PTR RelatedListPage::Proc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        // A page of this procedure made while an older one still exists
        // takes the state over; the older window stays inert until it goes.
        if (m_hPage) Destroy();
        m_hPage = hDlg;
        OnCreate();
        return TRUE;
    }
    if (uMsg == WM_DESTROY) {
        ReleaseDialogFont(hDlg);
        if (hDlg == m_hPage) Destroy();
        return TRUE;
    }
    if (hDlg != m_hPage || !m_hPage) return FALSE;
    switch (uMsg) {
    case UM_RELOADRELATED:
        SetWindowLongPtrA(m_hPage, GWLP_USERDATA, (LONG_PTR)g_ulRelatingID);
        OnReload();
        return TRUE;
    case WM_COMMAND: OnCommand(wParam); return TRUE;
    case WM_NOTIFY: {
        const NMHDR* pHdr = (const NMHDR*)lParam;
        RelatedList* pList = pHdr ? ListFromNotify(pHdr->hwndFrom) : nullptr;
        if (!pList) return FALSE;
        int nMoved = -1;
        if (pList->list.SelectionMoved(pHdr, &nMoved)) {
            if (nMoved != pList->nSelected) OnClick(*pList, nMoved);
            return TRUE;
        }
        if (pHdr->code != NM_CLICK && pHdr->code != NM_DBLCLK) return FALSE;
        const int nRow = pList->list.GetNotifyItem((const NMLISTVIEW*)lParam);
        if (pHdr->code == NM_CLICK)
            OnClick(*pList, nRow);
        else if (pList->ids.HasRow(nRow))
            Open(*pList, nRow);
        return TRUE;
    }
    }
    return FALSE;
}

void RelatedListPage::MakeButton(HWND& hButton, const RelatedButtonDef& b, BOOL bEnabled) {
    hButton = CreateWindowExA(0, "BUTTON", b.pszCaption, WS_CHILD | WS_VISIBLE | (bEnabled ? 0 : WS_DISABLED), b.x, b.y,
                              b.nWidth, 20, m_hPage, (HMENU)(INT_PTR)b.nID, g_hInstance, nullptr);
}

void RelatedListPage::MakeList(RelatedList& l) {
    const RelatedListDef& d = *l.pDef;
    l.list.Create(g_hInstance, m_hPage, 10, d.y, 750, d.nHeight,
                  WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS, d.nListID);
    l.list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    InsertColumns(l.list, d.kind);
    l.list.InitItem();
}

void RelatedListPage::OnCreate() {
    SetWindowLongPtrA(m_hPage, GWLP_USERDATA, (LONG_PTR)g_ulRelatingID);
    for (int i = 0; i < m_nLists; ++i) {
        RelatedList& l = *m_pLists[i];
        l.ids.FreeIDArray();
        l.nSelected = -1;
        // Only the first list can be added to at once; the contacts of an
        // accounts page wait for a click on an account.
        MakeButton(l.hAdd, l.pDef->add, i == 0 && g_ulRelatingID != 0);
        MakeButton(l.hRemove, l.pDef->remove, FALSE);
    }
    m_hMail = nullptr;
    if (m_Def.mail.nID) MakeButton(m_hMail, m_Def.mail, TRUE);
    m_hMenu = LoadMenuA(g_hInstance, "IDM_POP_MENU");
    for (int i = 0; i < m_nLists; ++i) {
        RelatedList& l = *m_pLists[i];
        l.hSubMenu = m_hMenu ? GetSubMenu(m_hMenu, l.pDef->nSubMenu) : nullptr;
        // An entry whose dialog this page does not have is offered disabled.
        if (l.hSubMenu && !l.pDef->pfnNew) EnableMenuItem(l.hSubMenu, l.pDef->nNewCommand, MF_BYCOMMAND | MF_GRAYED);
        MakeList(l);
    }
    AttachDialogFont(m_hPage);
    LoadList(m_Main, 0);
}

void RelatedListPage::ClearList(RelatedList& l) {
    l.list.DeleteAllItems();
    l.ids.FreeIDArray();
    l.nSelected = -1;
    EnableWindow(l.hRemove, FALSE);
}

int RelatedListPage::LoadList(RelatedList& l, ULONG ulAccID) {
    l.nSelected = -1;
    EnableWindow(l.hRemove, FALSE);
    return Fill(l, g_ulRelatingID, ulAccID);
}

void RelatedListPage::OnReload() {
    ClearList(m_Main);
    EnableWindow(m_Main.hAdd, g_ulRelatingID != 0);
    LoadList(m_Main, 0);
}

void RelatedListPage::OnClick(RelatedList& l, int nRow) {
    l.nSelected = l.ids.HasRow(nRow) ? nRow : -1;
    EnableWindow(l.hRemove, l.nSelected != -1);
}

BOOL RelatedListPage::MayAdd(const RelatedList& l) const { return g_ulRelatingID != 0 && IsWindowEnabled(l.hAdd); }

RelatedList* RelatedListPage::ListFromNotify(HWND hFrom) {
    for (int i = 0; hFrom && i < m_nLists; ++i)
        if (m_pLists[i]->list.m_hListView == hFrom) return m_pLists[i];
    return nullptr;
}

void RelatedListPage::OnCommand(WPARAM wParam) {
    // Buttons: the whole wParam is the id (a click); the popup's choices come
    // as menu commands.
    const int nID = (int)wParam;
    for (int i = 0; i < m_nLists; ++i) {
        RelatedList& l = *m_pLists[i];
        if (nID == l.pDef->add.nID) {
            if (MayAdd(l)) PopAdd(l);
            return;
        }
        if (nID == l.pDef->remove.nID) {
            Remove(l);
            return;
        }
    }
    if (m_hMail && nID == m_Def.mail.nID) {
        MassMail();
        return;
    }
    if (HIWORD(wParam) == 0) OnPopupCommand(LOWORD(wParam));
}

void RelatedListPage::PopAdd(RelatedList& l) {
    if (!l.hSubMenu) return;
    RECT rc = {};
    GetWindowRect(l.hAdd, &rc);
    TrackPopupMenu(l.hSubMenu, TPM_RIGHTBUTTON, rc.left, rc.top, 0, m_hPage, nullptr);
}

BOOL RelatedListPage::OnPopupCommand(int nID) {
    for (int i = 0; i < m_nLists; ++i) {
        const RelatedList& l = *m_pLists[i];
        const RelatedListDef& d = *l.pDef;
        if (nID != d.nNewCommand && nID != d.nSelectCommand) continue;
        if (!MayAdd(l)) return TRUE;
        const bool bNew = nID == d.nNewCommand;
        const DLGPROC pfn = bNew ? d.pfnNew : d.pfnSelect;
        if (!pfn) return TRUE;
        if (bNew && d.bNewWithoutAccount) SetRelatingAccount(0, nullptr);
        // The dialog makes the form reload this page before it returns:
        // nothing of the page is touched after it.
        DialogBoxParamA(g_hInstance, bNew ? d.pszNewTemplate : IDD_SELECT_OBJECT, m_hPage, pfn, 0);
        return TRUE;
    }
    return FALSE;
}

void RelatedListPage::Remove(RelatedList& l) {
    if (!l.ids.HasRow(l.nSelected) || g_ulRelatingID == 0) return;
    Unlink(l.pDef->kind, l.ids.m_pulID[l.nSelected], m_Def.host, g_ulRelatingID);
    l.nSelected = -1;
    EnableWindow(l.hRemove, FALSE);
    // The form shows its record again and reloads this page.
    HostForm(m_Def.host)->ShowRecordAgain(g_ulRelatingID);
}

void RelatedListPage::Open(RelatedList& l, int nRow) {
    // The form gets a copy of the ids; no title (it keeps its own).
    HandOverToForm(FormOf(l.pDef->kind), l.ids.m_pulID, l.ids.m_nIDCount, nRow, nullptr);
}

void RelatedListPage::MassMail() {
    // Every contact of the mailed list's query, whatever row is selected.
    const RelatedList& l = *m_pLists[m_nLists - 1];
    const RelatedQuery query = l.pDef->query;
    const ULONG ulID = g_ulRelatingID;
    const ULONG ulAccID = AccountOf(l);
    HandContactsToMail([query, ulID, ulAccID](Con_DetailClass& c) {
        const int n = QueryContacts(query, c, ulID, ulAccID);
        if (n == -1) ReportError(msg::kRelatedQuery);
        return n;
    });
}

void RelatedListPage::Destroy() {
    if (m_hMenu) DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    for (int i = 0; i < m_nLists; ++i) {
        RelatedList& l = *m_pLists[i];
        l.ids.FreeIDArray();
        l.nSelected = -1;
        l.hAdd = l.hRemove = nullptr;
        l.hSubMenu = nullptr;
        l.list.m_hListView = nullptr;
    }
    m_hMail = nullptr;
    m_hPage = nullptr;
}

// --- The accounts pages ------------------------------------------------------

RelatedAccountsPage::RelatedAccountsPage(const RelatedPageDef& def, const RelatedListDef& contacts)
    : RelatedListPage(def) {
    m_Contacts.pDef = &contacts;
    m_pLists[1] = &m_Contacts;
    m_nLists = 2;
}

ULONG RelatedAccountsPage::ListedAccount() const {
    // Only the account clicked on this page for the record shown, still
    // linked to it: an account that another page or form stored, or one
    // clicked for another record, is not what this page shows.
    const bool bClickedHere = g_ulRelatingAccID == m_ulClickedAccount && g_ulRelatingID == m_ulClickedFor;
    return g_ulRelatingAccID != 0 && bClickedHere && Lists(m_Main.ids, g_ulRelatingAccID) ? g_ulRelatingAccID : 0;
}

void RelatedAccountsPage::ForgetUnlistedAccount() {
    if (ListedAccount() != 0) return;
    SetRelatingAccount(0, nullptr);
    EnableWindow(m_Contacts.hAdd, FALSE);
}

void RelatedAccountsPage::OnCreate() {
    RelatedListPage::OnCreate();
    // An account clicked on another record's page is not this record's.
    ForgetUnlistedAccount();
}

void RelatedAccountsPage::OnReload() {
    ClearList(m_Main);
    ClearList(m_Contacts);
    EnableWindow(m_Main.hAdd, g_ulRelatingID != 0);
    if (g_ulRelatingID == 0) EnableWindow(m_Contacts.hAdd, FALSE);
    LoadList(m_Main, 0);
    // The contacts of the account clicked before are shown again, as long
    // as that account is still linked to the record shown.
    ForgetUnlistedAccount();
    if (g_ulRelatingAccID != 0) LoadList(m_Contacts, g_ulRelatingAccID);
}

void RelatedAccountsPage::OnClick(RelatedList& l, int nRow) {
    if (&l != &m_Main) {
        RelatedListPage::OnClick(l, nRow);
        return;
    }
    if (!m_Main.ids.HasRow(nRow)) {
        // Off the rows: no account; the contacts keep their rows.
        m_Main.nSelected = -1;
        SetRelatingAccount(0, nullptr);
        EnableWindow(m_Main.hRemove, FALSE);
        EnableWindow(m_Contacts.hAdd, FALSE);
        return;
    }
    m_Main.nSelected = nRow;
    ClearList(m_Contacts);
    EnableWindow(m_Main.hRemove, TRUE);
    EnableWindow(m_Contacts.hAdd, TRUE);
    char szName[256] = "";
    m_Main.list.GetItemText(nRow, 0, szName, sizeof szName);
    SetRelatingAccount(m_Main.ids.m_pulID[nRow], szName);
    m_ulClickedAccount = g_ulRelatingAccID;
    m_ulClickedFor = g_ulRelatingID;
    LoadList(m_Contacts, g_ulRelatingAccID);
}

BOOL RelatedAccountsPage::MayAdd(const RelatedList& l) const {
    if (!RelatedListPage::MayAdd(l)) return FALSE;
    return &l != &m_Contacts || ListedAccount() != 0;
}

ULONG RelatedAccountsPage::AccountOf(const RelatedList& l) const { return &l == &m_Contacts ? ListedAccount() : 0; }
