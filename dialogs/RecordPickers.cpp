// The twenty record pickers: one core, one table row each. A picker's list,
// ids and chosen row live for one opening; the chosen row is the one the
// list shows selected, by a click or the keys. The pair a link writes is made
// from the row chosen in the present list and the record shown now, so no
// click of an earlier opening or an earlier list is ever linked. A click
// gives a handing picker's opener the row's id at once; whenever no row is
// chosen (a reload, a click beside the rows, 取消) the opener has its id back.
#include "dialogs/RecordPickers.h"

#include "dialogs/DialogFont.h"
#include "dialogs/NewRecordDialogs.h"
#include "dialogs/RecordColumns.h"
#include "platform/gbk/gbk.h"
#include "resources/message_texts.h"
#include "shell/ListViewClass.h"
#include "shell/MainWindow.h"
#include "shell/Report.h"
#include "shell/ViewMessages.h"
#include "store/Acc_DetailClass.h"
#include "store/Con_DetailClass.h"
#include "store/Opp_DetailClass.h"
#include "store/Tas_DetailClass.h"
#include "shell/FormControls.h"
#include "shell/IDList.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_Form.h"
#include "views/contacts/Con_Form.h"
#include "views/opportunities/Opp_Form.h"
#include "views/tasks/Tas_Form.h"

#include <cstdio>
#include <cstring>

WNDPROC g_pfnOldSelectEditProc = nullptr;

namespace {

// The kinds in the order of RecordKind.
enum Kind {
    kTasks = kKindTasks,
    kAccounts = kKindAccounts,
    kOpportunities = kKindOpportunities,
    kContacts = kKindContacts
};
enum Rows { kAllRows, kWithoutAccount, kOfClickedAccount };
// The record shown by the form the picker works for (R).
enum Shown { kShownNone, kShownOpp, kShownAcc, kShownCon, kShownTas };
enum Act {
    kLink,               // link row and R; the form shows R again
    kLinkToNewContact,   // link the account to R and hand it to the new-contact dialog
    kToNewContact,       // hand the account to the new-contact dialog
    kToContactForm,      // the contact form's 工作单位
    kToTaskFormAccount,  // the task form's subject and pending links
    kToTaskFormOpportunity,
    kToTaskFormContact,
};

struct PickerDef {
    Kind kind;
    Rows rows;
    Shown shown;
    Act act;
    bool bCloseOnDoubleClick;
    bool bSearch;
};

struct PickerState {
    ListViewClass list;
    IDListOwner ids;
    int nRow = -1;      // the row chosen in the present list, -1 none
    ULONG ulSaved = 0;  // the opener's id at opening or after a double click's hand-over
};

// The rows of a loaded node list; the account's contacts picker skips the
// contacts that have an account.
template <class Node>
class NodeRows : public RowSource {
public:
    NodeRows(Node* pHead, bool bWithoutAccountOnly) : m_pHead(pHead), m_bWithoutAccountOnly(bWithoutAccountOnly) {}
    BOOL FirstRow() override { return Skip(m_pHead); }
    BOOL NextRow() override { return m_p ? Skip(m_p->next) : FALSE; }
    ULONG RowID() override { return RecordID(*m_p); }
    void RowText(int c, char* psz, int n) override { CellText(*m_p, c, psz, n); }
    int Count() {
        int n = 0;
        for (BOOL b = FirstRow(); b; b = NextRow()) ++n;
        return n;
    }

private:
    BOOL Skip(Node* p) {
        while (p && m_bWithoutAccountOnly && !Keep(*p)) p = p->next;
        m_p = p;
        return p != nullptr;
    }
    static bool Keep(const ConNode& k) { return k.acc_name[0] == '\0'; }
    template <class Other>
    static bool Keep(const Other&) {
        return true;
    }
    Node* m_pHead;
    Node* m_p = nullptr;
    bool m_bWithoutAccountOnly;
};

// The texts of a failed fill: the opportunity pickers and the account
// pickers that only hand their record over name their own list head.
FillTexts FillTextsOf(const PickerDef& d) {
    const bool bHandingAccounts =
        d.kind == kAccounts && (d.act == kToNewContact || d.act == kToContactForm || d.act == kToTaskFormAccount);
    const char* pszNoRows = d.kind == kOpportunities ? msg::kPickerNoOpportunities
                            : bHandingAccounts       ? msg::kPickerNoAccounts
                                                     : msg::kPickerNoRows;
    return {msg::kPickerIDArray, pszNoRows};
}

// Fills the list with the nFound records the query counted; none found
// leaves list and ids empty, so no row stands for a record that is not
// there. Any failure leaves them empty too.
template <class Node>
void Show(const PickerDef& d, PickerState& s, int nColumns, int nFound, Node* pHead) {
    const bool bWithoutAccountOnly = d.rows == kWithoutAccount;
    NodeRows<Node> rows(pHead, bWithoutAccountOnly);
    int nCount = nFound;
    if (nCount > 0 && bWithoutAccountOnly && pHead) nCount = rows.Count();
    int nShown = 0;
    if (nCount > 0)
        nShown = FillListAtTop(s.list, nColumns, s.ids.m_pulID, s.ids.m_nIDCount, nCount, rows, FillTextsOf(d));
    if (nShown <= 0) {
        s.list.DeleteAllItems();
        s.ids.FreeIDArray();
    }
}

void SetOpenerID(Act act, ULONG ulID, const char* pszName);

// No row chosen: the opener's id goes back to what it was at opening or
// after the last row a double click handed over, so that only a row the
// list shows when it is chosen is ever handed over.
void Unchoose(const PickerDef& d, PickerState& s) {
    s.nRow = -1;
    SetOpenerID(d.act, s.ulSaved, nullptr);
}

// Runs the picker's query (keyword search when pszKeyword is given) and
// shows its rows; a failed query keeps the list as it was.
void Load(const PickerDef& d, PickerState& s, const char* pszKeyword) {
    Unchoose(d, s);  // a reload leaves no row chosen
    const int nColumns = ColumnsOf((RecordKind)d.kind).nColumns;
    auto run = [&](auto& data, auto query, auto head) {
        if (pszKeyword) {
            gbk::CopyCut(data.m_szKeyword, sizeof data.m_szKeyword, pszKeyword);
            data.m_iQueryMode = 1;
        }
        const int nFound = query(data);
        if (nFound == -1) {
            ReportError(msg::kPickerQuery);
            return;
        }
        Show(d, s, nColumns, nFound, head(data));
    };
    switch (d.kind) {
    case kTasks: {
        Tas_DetailClass t;
        run(
            t, [](Tas_DetailClass& x) { return x.ctd_GetAllTasks(); }, [](Tas_DetailClass& x) { return x.m_pTasHead; });
        break;
    }
    case kAccounts: {
        Acc_DetailClass a;
        run(
            a, [](Acc_DetailClass& x) { return x.cad_GetAllAccounts(); },
            [](Acc_DetailClass& x) { return x.m_pAccHead; });
        break;
    }
    case kOpportunities: {
        Opp_DetailClass o;
        run(
            o, [](Opp_DetailClass& x) { return x.cod_InitDetail(); }, [](Opp_DetailClass& x) { return x.m_pOppHead; });
        break;
    }
    case kContacts: {
        Con_DetailClass c;
        if (d.rows == kOfClickedAccount)
            run(
                c, [](Con_DetailClass& x) { return x.ccd_GetByAccount(g_ulRelatingAccID); },
                [](Con_DetailClass& x) { return x.m_pConHead; });
        else
            run(
                c, [](Con_DetailClass& x) { return x.ccd_GetAllContacts(); },
                [](Con_DetailClass& x) { return x.m_pConHead; });
        break;
    }
    }
}

RecordFormClass* FormOf(Shown shown) {
    switch (shown) {
    case kShownOpp: return OpportunityForm();
    case kShownAcc: return AccountForm();
    case kShownCon: return ContactForm();
    case kShownTas: return TaskForm();
    default: return nullptr;
    }
}

void Report(int r) {
    if (r == -1) ReportError(msg::kNewTaskAdd);
}

// Links the record ulID to the shown record R; a link that exists is not
// written again. Account id 0 is never linked.
void LinkRow(const PickerDef& d, ULONG ulID) {
    const ULONG r = g_ulRelatingID;
    const bool bOpp = d.shown == kShownOpp, bAcc = d.shown == kShownAcc, bCon = d.shown == kShownCon,
               bTas = d.shown == kShownTas;
    switch (d.kind) {
    case kTasks: {
        Tas_DetailClass t;
        t.m_ulTasID = ulID;
        t.m_ulOppID = bOpp ? r : 0;
        t.m_ulAccID = bAcc ? r : 0;
        t.m_ulConID = bCon ? r : 0;
        Report(t.ctd_LinkTask());
        break;
    }
    case kAccounts: {
        Acc_DetailClass a;
        a.m_ulAccID = ulID;
        a.m_ulOppID = bOpp ? r : 0;
        a.m_ulTasID = bTas ? r : 0;
        Report(a.cad_LinkAccount());
        break;
    }
    case kOpportunities: {
        Opp_DetailClass o;
        o.m_ulOppID = ulID;
        o.m_ulAccID = bAcc ? r : (bCon ? g_ulRelatingAccID : 0);
        o.m_ulConID = bCon ? r : 0;
        o.m_ulTasID = bTas ? r : 0;
        Report(o.cod_LinkOpportunity());
        break;
    }
    case kContacts: {
        Con_DetailClass c;
        c.m_ulConID = ulID;
        if (d.rows == kWithoutAccount) {
            c.m_ulAccID = r;
            Report(c.ccd_LinkAccount());
            break;
        }
        c.m_ulOppID = bOpp ? r : 0;
        c.m_ulTasID = bTas ? r : 0;
        if (d.rows == kOfClickedAccount) {
            c.m_ulAccID = g_ulRelatingAccID;
            Report(c.ccd_LinkContact());
        } else {
            // The contact's own account goes with it: linked to R too, in
            // the same transaction as the contact.
            Report(c.ccd_LinkContactWithAccount());
        }
        break;
    }
    }
}

// The record form a handing picker writes to and the link it writes, or
// null for the others.
RecordFormClass* OpenerForm(Act act, LinkedKind& kind) {
    switch (act) {
    case kToContactForm: kind = kLinkedAccount; return ContactForm();
    case kToTaskFormAccount: kind = kLinkedAccount; return TaskForm();
    case kToTaskFormOpportunity: kind = kLinkedOpportunity; return TaskForm();
    case kToTaskFormContact: kind = kLinkedContact; return TaskForm();
    default: return nullptr;
    }
}

// The opener's id a handing picker writes; 0 for the others.
ULONG OpenerID(Act act) {
    if (act == kToNewContact) return g_ulRelatingAccID;
    LinkedKind kind = kLinkedAccount;
    const RecordFormClass* pForm = OpenerForm(act, kind);
    return pForm ? pForm->LinkedRecord(kind) : 0;
}

// Writes the opener's id, and with pszName the name where a form shows it;
// nothing for a picker that hands nothing.
void SetOpenerID(Act act, ULONG ulID, const char* pszName) {
    if (act == kToNewContact) g_ulRelatingAccID = ulID;
    LinkedKind kind = kLinkedAccount;
    if (RecordFormClass* pForm = OpenerForm(act, kind)) pForm->TakeLinkedRecord(kind, ulID, pszName);
}

// What a chosen row does: link, hand over, or both.
void Choose(const PickerDef& d, PickerState& s, int nRow) {
    const ULONG ulID = s.ids.m_pulID[nRow];
    char szName[256] = {};
    s.list.GetItemText(nRow, 0, szName, sizeof szName);
    switch (d.act) {
    case kLink:
        LinkRow(d, ulID);
        if (RecordFormClass* pForm = FormOf(d.shown)) pForm->ShowRecordAgain(g_ulRelatingID);
        return;
    case kLinkToNewContact: LinkRow(d, ulID); [[fallthrough]];
    case kToNewContact:
        SetRelatingAccount(ulID, szName);
        if (g_hNewContactAccountEdit) SetWindowTextA(g_hNewContactAccountEdit, szName);
        return;
    case kToContactForm:
    case kToTaskFormAccount:
    case kToTaskFormOpportunity:
    case kToTaskFormContact:
        if (d.act == kToTaskFormOpportunity) szName[49] = '\0';
        SetOpenerID(d.act, ulID, szName);
        return;
    }
}

void Open(HWND hDlg, const PickerDef& d, PickerState& s) {
    AttachDialogFont(hDlg);
    s.nRow = -1;
    s.ids.FreeIDArray();
    s.ulSaved = OpenerID(d.act);
    // A picker without search keeps its search row as the template has it:
    // the edit takes text, but neither Enter nor 搜索 searches.
    if (d.bSearch) {
        HWND hEdit = GetDlgItem(hDlg, IDC_PICK_KEYWORD);
        g_pfnOldSelectEditProc = (WNDPROC)SetWindowLongPtrA(hEdit, GWLP_WNDPROC, (LONG_PTR)SearchEditProc_SelectObject);
    }
    const int x = 10, y = d.bSearch ? 40 : 30, w = d.bSearch ? 520 : 310, h = d.bSearch ? 300 : 340;
    s.list.Create(g_hInstance, hDlg, x, y, w, h, WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS,
                  IDC_PICK_LIST);
    s.list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    InsertColumns(s.list, (RecordKind)d.kind);
    // The list takes the picker's own font, as its buttons do (the dialog's
    // WM_GETFONT is still the template's).
    SendMessageA(s.list.m_hListView, WM_SETFONT, (WPARAM)GetWindowLongPtrA(hDlg, DWLP_USER), 1);
    s.list.InitItem();
    Load(d, s, nullptr);
}

void Close(HWND hDlg, PickerState& s) {
    s.ids.FreeIDArray();
    s.nRow = -1;
    EndDialog(hDlg, 0);
}

INT_PTR Picker(const PickerDef& d, PickerState& s, HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_INITDIALOG: Open(hDlg, d, s); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PICK_SEARCH:
            if (d.bSearch) {
                char szKeyword[50];
                ReadText(GetDlgItem(hDlg, IDC_PICK_KEYWORD), szKeyword, sizeof szKeyword);
                Load(d, s, szKeyword);
            }
            return TRUE;
        case IDC_PICK_OK:
            if (s.ids.HasRow(s.nRow)) Choose(d, s, s.nRow);
            Close(hDlg, s);
            return TRUE;
        case IDCANCEL:
            Unchoose(d, s);
            Close(hDlg, s);
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        const NMHDR* pHdr = (const NMHDR*)lParam;
        if (!pHdr || pHdr->hwndFrom != s.list.m_hListView) return FALSE;
        int nRow = -1;
        if (s.list.SelectionMoved(pHdr, &nRow)) {
            if (nRow == s.nRow) return TRUE;
        } else if (pHdr->code == NM_CLICK || pHdr->code == NM_DBLCLK) {
            nRow = s.list.GetNotifyItem((NMLISTVIEW*)lParam);
        } else {
            return FALSE;
        }
        if (!s.ids.HasRow(nRow)) {
            if (pHdr->code != NM_DBLCLK) Unchoose(d, s);  // a click beside the rows, or none selected
            return TRUE;
        }
        s.nRow = nRow;
        SetOpenerID(d.act, s.ids.m_pulID[nRow], nullptr);  // a click sets the opener's id
        if (pHdr->code == NM_DBLCLK) {
            // The form may rebuild its page behind the picker here; the list
            // and ids are the picker's own and stay as they are.
            Choose(d, s, nRow);
            // Handed over with its name: 取消 keeps it from now on.
            s.ulSaved = OpenerID(d.act);
            if (d.bCloseOnDoubleClick) Close(hDlg, s);
        }
        return TRUE;
    }
    case WM_DESTROY: ReleaseDialogFont(hDlg); return FALSE;
    }
    return FALSE;
}

}  // namespace

LRESULT CALLBACK SearchEditProc_SelectObject(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_KEYUP && wParam == VK_RETURN && GetWindowLongPtrA(hWnd, GWLP_ID) == IDC_PICK_KEYWORD)
        SendMessageA(GetParent(hWnd), WM_COMMAND, IDC_PICK_SEARCH, 0);
    return CallWindowProcA(g_pfnOldSelectEditProc, hWnd, uMsg, wParam, lParam);
}

#define PICKER(name, kind, rows, shown, act, close, search)                     \
    INT_PTR CALLBACK name(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) { \
        static const PickerDef kDef = {kind, rows, shown, act, close, search};  \
        static PickerState s;                                                   \
        return Picker(kDef, s, hDlg, uMsg, wParam, lParam);                     \
    }

// clang-format off
PICKER(SelectTaskDlgProc_OppDetail,                      kTasks,         kAllRows,          kShownOpp,  kLink,                  false, true)
PICKER(SelectTaskDlgProc_AccDetail,                      kTasks,         kAllRows,          kShownAcc,  kLink,                  false, true)
PICKER(SelectTaskDlgProc_ConDetail,                      kTasks,         kAllRows,          kShownCon,  kLink,                  false, true)
PICKER(SelectAccountDlgProc_OppDetailAccounts,           kAccounts,      kAllRows,          kShownOpp,  kLink,                  false, true)
PICKER(SelectAccountDlgProc_TasDetailAccounts,           kAccounts,      kAllRows,          kShownTas,  kLink,                  false, true)
PICKER(SelectOpportunityDlgProc_AccDetail,               kOpportunities, kAllRows,          kShownAcc,  kLink,                  false, true)
PICKER(SelectOpportunityDlgProc_ConDetail,               kOpportunities, kAllRows,          kShownCon,  kLink,                  false, true)
PICKER(SelectOpportunityDlgProc_TasDetailOpportunities,  kOpportunities, kAllRows,          kShownTas,  kLink,                  false, true)
PICKER(SelectContactDlgProc_OppDetailContacts,           kContacts,      kAllRows,          kShownOpp,  kLink,                  false, true)
PICKER(SelectContactDlgProc_TasDetailContacts,           kContacts,      kAllRows,          kShownTas,  kLink,                  false, true)
PICKER(SelectContactDlgProc_AccDetail,                   kContacts,      kWithoutAccount,   kShownAcc,  kLink,                  false, true)
PICKER(SelectContactDlgProc_OppDetailAccounts,           kContacts,      kOfClickedAccount, kShownOpp,  kLink,                  false, true)
PICKER(SelectContactDlgProc_TasDetailAccounts,           kContacts,      kOfClickedAccount, kShownTas,  kLink,                  false, true)
PICKER(SelectAccountDlgProc_OppDetailContacts,           kAccounts,      kAllRows,          kShownOpp,  kLinkToNewContact,      false, true)
PICKER(SelectAccountDlgProc_TasDetailContacts,           kAccounts,      kAllRows,          kShownTas,  kLinkToNewContact,      false, true)
PICKER(SelectAccountDlgProc_NewContact,                  kAccounts,      kAllRows,          kShownNone, kToNewContact,          true,  false)
PICKER(SelectAccountDlgProc_ConDetail,                   kAccounts,      kAllRows,          kShownNone, kToContactForm,         false, true)
PICKER(SelectAccountDlgProc_TasDetail,                   kAccounts,      kAllRows,          kShownNone, kToTaskFormAccount,     false, true)
PICKER(SelectOpportunityDlgProc_TasDetail,               kOpportunities, kAllRows,          kShownNone, kToTaskFormOpportunity, false, true)
PICKER(SelectContactDlgProc_TasDetail,                   kContacts,      kAllRows,          kShownNone, kToTaskFormContact,     false, true)
// clang-format on
