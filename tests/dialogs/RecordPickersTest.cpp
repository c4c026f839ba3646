// The twenty record pickers, table-driven: rows in reverse query order, a
// double click links (or hands over) the row it names, 确定 takes the row the
// keys moved the selection to, 确定 without a click of this opening does
// nothing, a quote in the keyword finds its record, 取消 gives a handing
// picker's opener back its id, an empty list (no records, a search that
// finds nothing) holds no row to choose, a row no longer chosen after a
// search reaches no opener's saved record, and a list that was counted but
// cannot be walked names its kind in the box.
#include <gtest/gtest.h>

#include "tests/dialogs/DialogTestSupport.h"
#include "win32_testhooks_commctrl.h"

#include "dialogs/NewRecordDialogs.h"
#include "dialogs/RecordPickers.h"
#include "resources/contacts_ids.h"
#include "resources/message_texts.h"
#include "resources/shell_ids.h"
#include "resources/tasks_ids.h"
#include "store/Acc_DetailClass.h"
#include "store/Con_DetailClass.h"
#include "store/Opp_DetailClass.h"
#include "store/Tas_DetailClass.h"
#include "shell/RelatingGlobals.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

using namespace programtest;
using namespace dialogtest;

// While set, the pickers' list queries count their rows but leave no node
// list behind (the queries are wrapped at link time, see CMakeLists.txt).
static bool g_bDropRows = false;

extern "C" {
int __real__ZN15Tas_DetailClass15ctd_GetAllTasksEv(Tas_DetailClass*);
int __real__ZN15Acc_DetailClass18cad_GetAllAccountsEv(Acc_DetailClass*);
int __real__ZN15Opp_DetailClass14cod_InitDetailEv(Opp_DetailClass*);
int __real__ZN15Con_DetailClass18ccd_GetAllContactsEv(Con_DetailClass*);
int __real__ZN15Con_DetailClass16ccd_GetByAccountEj(Con_DetailClass*, ULONG);

int __wrap__ZN15Tas_DetailClass15ctd_GetAllTasksEv(Tas_DetailClass* p) {
    const int n = __real__ZN15Tas_DetailClass15ctd_GetAllTasksEv(p);
    if (g_bDropRows) p->ctd_FreeList();
    return n;
}
int __wrap__ZN15Acc_DetailClass18cad_GetAllAccountsEv(Acc_DetailClass* p) {
    const int n = __real__ZN15Acc_DetailClass18cad_GetAllAccountsEv(p);
    if (g_bDropRows) p->cad_FreeList();
    return n;
}
int __wrap__ZN15Opp_DetailClass14cod_InitDetailEv(Opp_DetailClass* p) {
    const int n = __real__ZN15Opp_DetailClass14cod_InitDetailEv(p);
    if (g_bDropRows) p->cod_FreeList();
    return n;
}
int __wrap__ZN15Con_DetailClass18ccd_GetAllContactsEv(Con_DetailClass* p) {
    const int n = __real__ZN15Con_DetailClass18ccd_GetAllContactsEv(p);
    if (g_bDropRows) p->ccd_FreeList();
    return n;
}
int __wrap__ZN15Con_DetailClass16ccd_GetByAccountEj(Con_DetailClass* p, ULONG ulAccID) {
    const int n = __real__ZN15Con_DetailClass16ccd_GetByAccountEj(p, ulAccID);
    if (g_bDropRows) p->ccd_FreeList();
    return n;
}
}

namespace {

enum Kind { kTasks, kAccounts, kOpportunities, kContacts, kNone };

struct PickerRow {
    const char* pszName;
    DLGPROC proc;
    Kind kind;        // what it lists
    Kind shown;       // the record shown (R)
    bool bOfAccount;  // lists the contacts of g_ulRelatingAccID
    bool bHanding;    // hands the record to its opener instead of linking only
};

// Test lists show the picker's name, not the row's bytes.
void PrintTo(const PickerRow& row, std::ostream* os) { *os << row.pszName; }

const PickerRow kPickers[] = {
    {"SelectTaskOpp", SelectTaskDlgProc_OppDetail, kTasks, kOpportunities, false, false},
    {"SelectTaskAcc", SelectTaskDlgProc_AccDetail, kTasks, kAccounts, false, false},
    {"SelectTaskCon", SelectTaskDlgProc_ConDetail, kTasks, kContacts, false, false},
    {"SelectAccountOppAccounts", SelectAccountDlgProc_OppDetailAccounts, kAccounts, kOpportunities, false, false},
    {"SelectAccountTasAccounts", SelectAccountDlgProc_TasDetailAccounts, kAccounts, kTasks, false, false},
    {"SelectOppAcc", SelectOpportunityDlgProc_AccDetail, kOpportunities, kAccounts, false, false},
    {"SelectOppCon", SelectOpportunityDlgProc_ConDetail, kOpportunities, kContacts, false, false},
    {"SelectOppTas", SelectOpportunityDlgProc_TasDetailOpportunities, kOpportunities, kTasks, false, false},
    {"SelectContactOppContacts", SelectContactDlgProc_OppDetailContacts, kContacts, kOpportunities, false, false},
    {"SelectContactTasContacts", SelectContactDlgProc_TasDetailContacts, kContacts, kTasks, false, false},
    {"SelectContactAcc", SelectContactDlgProc_AccDetail, kContacts, kAccounts, false, false},
    {"SelectContactOppAccounts", SelectContactDlgProc_OppDetailAccounts, kContacts, kOpportunities, true, false},
    {"SelectContactTasAccounts", SelectContactDlgProc_TasDetailAccounts, kContacts, kTasks, true, false},
    {"SelectAccountOppContacts", SelectAccountDlgProc_OppDetailContacts, kAccounts, kOpportunities, false, true},
    {"SelectAccountTasContacts", SelectAccountDlgProc_TasDetailContacts, kAccounts, kTasks, false, true},
    {"SelectAccountNewContact", SelectAccountDlgProc_NewContact, kAccounts, kNone, false, true},
    {"SelectAccountCon", SelectAccountDlgProc_ConDetail, kAccounts, kNone, false, true},
    {"SelectAccountTas", SelectAccountDlgProc_TasDetail, kAccounts, kNone, false, true},
    {"SelectOppTasForm", SelectOpportunityDlgProc_TasDetail, kOpportunities, kNone, false, true},
    {"SelectContactTasForm", SelectContactDlgProc_TasDetail, kContacts, kNone, false, true},
};

unsigned Seed(Kind kind, const std::string& name) {
    switch (kind) {
    case kTasks: return AddTask({.subject = name});
    case kAccounts: return AddAccount({.name = name});
    case kOpportunities: return AddOpp({.subject = name});
    default: return AddContact({.name = name});
    }
}

long long LinkRows() {
    long long n = 0;
    for (const char* t : {"opportunities_accounts", "opportunities_contacts", "opportunities_tasks",
                          "accounts_contacts", "accounts_tasks", "contacts_tasks"})
        n += QueryInt(std::string("SELECT COUNT(*) FROM ") + t);
    return n;
}

// Removes every record of the kind and every link row.
void EmptyKind(Kind kind) {
    for (const char* t : {"opportunities_accounts", "opportunities_contacts", "opportunities_tasks",
                          "accounts_contacts", "accounts_tasks", "contacts_tasks"})
        Exec(std::string("DELETE FROM ") + t);
    static const char* const kTables[] = {"tasks", "accounts", "opportunities", "contacts"};
    Exec(std::string("DELETE FROM ") + kTables[kind]);
}

// Link rows that name record 0 (an opportunity's contact may have account 0).
long long LinksToRecordZero() {
    return QueryInt("SELECT COUNT(*) FROM opportunities_accounts WHERE opp_id=0 OR acc_id=0") +
           QueryInt("SELECT COUNT(*) FROM opportunities_contacts WHERE opp_id=0 OR con_id=0") +
           QueryInt("SELECT COUNT(*) FROM opportunities_tasks WHERE opp_id=0 OR tas_id=0") +
           QueryInt("SELECT COUNT(*) FROM accounts_contacts WHERE acc_id=0 OR con_id=0") +
           QueryInt("SELECT COUNT(*) FROM accounts_tasks WHERE acc_id=0 OR tas_id=0") +
           QueryInt("SELECT COUNT(*) FROM contacts_tasks WHERE con_id=0 OR tas_id=0");
}

// The shown record's recent-contact date ("" for a task, which has none).
std::string RecentContact(Kind shown, unsigned id) {
    const std::string sid = std::to_string(id);
    switch (shown) {
    case kAccounts: return QueryText("SELECT acc_recent_contact_date FROM accounts WHERE acc_id=" + sid);
    case kOpportunities: return QueryText("SELECT opp_recent_contact_date FROM opportunities WHERE opp_id=" + sid);
    case kContacts: return QueryText("SELECT con_recent_contact_date FROM contacts WHERE con_id=" + sid);
    default: return "";
    }
}

int Rows(HWND hDlg) { return RowCount(GetDlgItem(hDlg, IDC_PICK_LIST)); }

std::string NameCell(HWND hDlg, Kind kind, int row) {
    return Cell(GetDlgItem(hDlg, IDC_PICK_LIST), row, kind == kTasks ? 2 : 0);
}

class RecordPickers : public ::testing::TestWithParam<PickerRow> {
protected:
    void SetUp() override {
        StartFresh();
        HandOverToForm(&g_Con_Detail, nullptr, 0, -1, "");  // makes the contact form's fields
        HandOverToForm(&g_Tas_Detail, nullptr, 0, -1, "");
        m_hEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 100, 20, g_hMainWnd, NULL, g_hInstance, NULL);
        g_hNewContactAccountEdit = m_hEdit;
        const PickerRow& p = GetParam();
        g_ulRelatingID = p.shown == kNone ? 0 : Seed(p.shown, "显示的");
        g_ulRelatingAccID = 0;
        if (p.bOfAccount) g_ulRelatingAccID = AddAccount({.name = "某客户"});
        Exec("DELETE FROM accounts_contacts");
        for (int i = 1; i <= 5; ++i) {
            const unsigned id = Seed(p.kind, "记录" + std::to_string(i));
            if (p.bOfAccount) Link("accounts", g_ulRelatingAccID, "contacts", id);
        }
        m_ulQuoted = Seed(p.kind, "O'Neil");
        if (p.bOfAccount) Link("accounts", g_ulRelatingAccID, "contacts", m_ulQuoted);
    }
    void TearDown() override {
        g_bDropRows = false;
        g_hNewContactAccountEdit = NULL;
        g_ulRelatingID = 0;
        g_ulRelatingAccID = 0;
        g_Con_Detail.m_ulAccountID = 0;
        g_Tas_Detail.m_ulLinkAccID = g_Tas_Detail.m_ulLinkOppID = g_Tas_Detail.m_ulLinkConID = 0;
        DestroyWindow(m_hEdit);
    }
    HWND m_hEdit = NULL;
    unsigned m_ulQuoted = 0;
};

TEST_P(RecordPickers, ADoubleClickChoosesTheRowItNames) {
    const PickerRow& p = GetParam();
    const long long nLinks = LinkRows();
    std::string top;
    int nRows = 0;
    bool bOpenAfter = false;
    RunDialog(IDD_SELECT_OBJECT, p.proc, [&](HWND h) {
        nRows = Rows(h);
        top = NameCell(h, p.kind, 0);
        DoubleClickRow(h, IDC_PICK_LIST, 0);
        bOpenAfter = IsWindowVisible(h) && Rows(h) == nRows;
        if (bOpenAfter) PressButton(h, IDCANCEL);
    });
    EXPECT_GE(nRows, 6);
    EXPECT_EQ(bOpenAfter, p.proc != SelectAccountDlgProc_NewContact);
    if (p.shown != kNone) {
        EXPECT_GT(LinkRows(), nLinks) << "linked to the shown record";
    } else {
        EXPECT_EQ(LinkRows(), nLinks);
    }
    if (p.proc == SelectAccountDlgProc_ConDetail) {
        // Name and id agree, also after the 取消 that closed the picker.
        EXPECT_EQ(Text(g_Con_Detail.m_hAccountEdit), top);
        EXPECT_EQ(QueryText("SELECT acc_name FROM accounts WHERE acc_id=" + std::to_string(g_Con_Detail.m_ulAccountID)),
                  top);
    }
    if (p.proc == SelectAccountDlgProc_NewContact || p.proc == SelectAccountDlgProc_OppDetailContacts ||
        p.proc == SelectAccountDlgProc_TasDetailContacts) {
        EXPECT_EQ(Text(m_hEdit), top);
    }
    if (p.proc == SelectAccountDlgProc_TasDetail || p.proc == SelectContactDlgProc_TasDetail ||
        p.proc == SelectOpportunityDlgProc_TasDetail) {
        EXPECT_EQ(Text(g_Tas_Detail.m_hSubject), top);
    }
}

TEST_P(RecordPickers, OkWithoutAClickInThisOpeningLinksAndWritesNothing) {
    const PickerRow& p = GetParam();
    // A click in an earlier opening, then cancelled.
    RunDialog(IDD_SELECT_OBJECT, p.proc, [&](HWND h) {
        ClickRow(h, IDC_PICK_LIST, 1);
        PressButton(h, IDCANCEL);
    });
    const long long nLinks = LinkRows();
    SetWindowTextA(m_hEdit, "原来");
    RunDialog(IDD_SELECT_OBJECT, p.proc, [&](HWND h) { PressButton(h, IDC_PICK_OK); });
    EXPECT_EQ(LinkRows(), nLinks);
    EXPECT_EQ(Text(m_hEdit), "原来");
}

// The new contact's account picker has no search: what is typed there
// leaves the whole list.
TEST_P(RecordPickers, AKeywordWithAQuoteFindsItsRecord) {
    const PickerRow& p = GetParam();
    int nAll = -1, nRows = -1;
    std::string found;
    RunDialog(IDD_SELECT_OBJECT, p.proc, [&](HWND h) {
        nAll = Rows(h);
        SetText(h, IDC_PICK_KEYWORD, "O'N");
        PressButton(h, IDC_PICK_SEARCH);
        nRows = Rows(h);
        found = NameCell(h, p.kind, 0);
        PressButton(h, IDCANCEL);
    });
    if (p.proc == SelectAccountDlgProc_NewContact) {
        EXPECT_GE(nAll, 6);
        EXPECT_EQ(nRows, nAll);
    } else {
        EXPECT_EQ(nRows, 1);
        EXPECT_EQ(found, "O'Neil");
    }
}

TEST_P(RecordPickers, TheListHasThePickersOwnFontAsItsButtonsHave) {
    const PickerRow& p = GetParam();
    HFONT hList = nullptr, hOk = nullptr;
    RunDialog(IDD_SELECT_OBJECT, p.proc, [&](HWND h) {
        hList = (HFONT)SendMessageA(GetDlgItem(h, IDC_PICK_LIST), WM_GETFONT, 0, 0);
        hOk = (HFONT)SendMessageA(GetDlgItem(h, IDC_PICK_OK), WM_GETFONT, 0, 0);
        LOGFONTA lf = {};
        EXPECT_EQ(GetObjectA(hList, sizeof lf, &lf), (int)sizeof lf);
        EXPECT_EQ(lf.lfHeight, -15);
        EXPECT_STREQ(lf.lfFaceName, "宋体");
        PressButton(h, IDCANCEL);
    });
    EXPECT_NE(hList, nullptr);
    EXPECT_EQ(hList, hOk);
}

TEST_P(RecordPickers, CancelAfterAClickGivesTheOpenerItsIdBack) {
    const PickerRow& p = GetParam();
    g_ulRelatingAccID = 4242;
    g_Con_Detail.m_ulAccountID = 4242;
    g_Tas_Detail.m_ulLinkAccID = g_Tas_Detail.m_ulLinkOppID = g_Tas_Detail.m_ulLinkConID = 4242;
    RunDialog(IDD_SELECT_OBJECT, p.proc, [&](HWND h) {
        ClickRow(h, IDC_PICK_LIST, 0);
        PressButton(h, IDCANCEL);
    });
    EXPECT_EQ(g_ulRelatingAccID, 4242u);
    EXPECT_EQ(g_Con_Detail.m_ulAccountID, 4242u);
    EXPECT_EQ(g_Tas_Detail.m_ulLinkAccID, 4242u);
    EXPECT_EQ(g_Tas_Detail.m_ulLinkOppID, 4242u);
    EXPECT_EQ(g_Tas_Detail.m_ulLinkConID, 4242u);
}

// A row clicked, then the keys move the selection on: 确定 links or hands
// over the row the list shows selected, not the clicked one.
TEST_P(RecordPickers, OkChoosesTheRowTheKeysSelected) {
    const PickerRow& p = GetParam();
    static const char* const kTable[] = {"tasks", "accounts", "opportunities", "contacts"};
    static const char* const kName[] = {"tas_subject", "acc_name", "opp_subject", "con_name"};
    static const char* const kID[] = {"tas_id", "acc_id", "opp_id", "con_id"};
    auto links = [&](std::string name) {  // the link rows naming the record
        for (size_t i = name.find('\''); i != std::string::npos; i = name.find('\'', i + 2)) name.insert(i, "'");
        long long n = 0;
        for (const char* t : {"opportunities_accounts", "opportunities_contacts", "opportunities_tasks",
                              "accounts_contacts", "accounts_tasks", "contacts_tasks"})
            if (strstr(t, kTable[p.kind]))
                n += QueryInt(std::string("SELECT COUNT(*) FROM ") + t + " WHERE " + kID[p.kind] + "=(SELECT " +
                              kID[p.kind] + " FROM " + kTable[p.kind] + " WHERE " + kName[p.kind] + "='" + name + "')");
        return n;
    };
    std::string clicked, chosen;
    long long nClicked = 0, nChosen = 0;
    RunDialog(IDD_SELECT_OBJECT, p.proc, [&](HWND h) {
        HWND hList = GetDlgItem(h, IDC_PICK_LIST);
        clicked = NameCell(h, p.kind, 1);
        chosen = NameCell(h, p.kind, 2);
        nClicked = links(clicked);
        nChosen = links(chosen);
        w32test::ClickListRow(hList, 1);
        for (int vk : {VK_DOWN, VK_DOWN, VK_UP}) w32test::PressKey(vk, false, false, hList);
        PressButton(h, IDC_PICK_OK);
    });
    EXPECT_EQ(links(clicked), nClicked);
    EXPECT_EQ(links(chosen), nChosen + (p.shown != kNone ? 1 : 0));
    const bool bTaskForm = p.proc == SelectAccountDlgProc_TasDetail || p.proc == SelectContactDlgProc_TasDetail ||
                           p.proc == SelectOpportunityDlgProc_TasDetail;
    if (p.bHanding) {
        EXPECT_EQ(Text(p.proc == SelectAccountDlgProc_ConDetail ? g_Con_Detail.m_hAccountEdit
                       : bTaskForm                              ? g_Tas_Detail.m_hSubject
                                                                : m_hEdit),
                  chosen);
    }
}

// With no record of the kind, and after a search that finds nothing, the
// list is empty: a click, a double click and 确定 choose nothing, link
// nothing, and hand nothing to the opener.
TEST_P(RecordPickers, AnEmptyListOffersNoRowAndAClickInItChoosesNothing) {
    const PickerRow& p = GetParam();
    const std::string recent = RecentContact(p.shown, g_ulRelatingID);
    const bool bHandsAccount = p.proc == SelectAccountDlgProc_NewContact ||
                               p.proc == SelectAccountDlgProc_OppDetailContacts ||
                               p.proc == SelectAccountDlgProc_TasDetailContacts;
    auto tryEveryWay = [&](bool bSearch) {
        SCOPED_TRACE(bSearch ? "a search that finds nothing" : "no record of the kind");
        const long long nLinks = LinkRows();
        SetWindowTextA(m_hEdit, "原来");
        SetWindowTextA(g_Con_Detail.m_hAccountEdit, "原来");
        SetWindowTextA(g_Tas_Detail.m_hSubject, "原来");
        if (bHandsAccount) g_ulRelatingAccID = 4242;
        g_Con_Detail.m_ulAccountID = 4242;
        g_Tas_Detail.m_ulLinkAccID = g_Tas_Detail.m_ulLinkOppID = g_Tas_Detail.m_ulLinkConID = 4242;
        int nRows = -1;
        RunDialog(IDD_SELECT_OBJECT, p.proc, [&](HWND h) {
            if (bSearch) {
                SetText(h, IDC_PICK_KEYWORD, "zzz");
                PressButton(h, IDC_PICK_SEARCH);
            }
            nRows = Rows(h);
            ClickRow(h, IDC_PICK_LIST, 0);
            DoubleClickRow(h, IDC_PICK_LIST, 0);
            if (IsWindow(h)) PressButton(h, IDC_PICK_OK);
        });
        EXPECT_EQ(nRows, 0);
        EXPECT_EQ(LinkRows(), nLinks);
        EXPECT_EQ(LinksToRecordZero(), 0);
        EXPECT_EQ(RecentContact(p.shown, g_ulRelatingID), recent);
        EXPECT_EQ(Text(m_hEdit), "原来");
        EXPECT_EQ(Text(g_Con_Detail.m_hAccountEdit), "原来");
        EXPECT_EQ(Text(g_Tas_Detail.m_hSubject), "原来");
        if (bHandsAccount) {
            EXPECT_EQ(g_ulRelatingAccID, 4242u);
        }
        EXPECT_EQ(g_Con_Detail.m_ulAccountID, 4242u);
        EXPECT_EQ(g_Tas_Detail.m_ulLinkAccID, 4242u);
        EXPECT_EQ(g_Tas_Detail.m_ulLinkOppID, 4242u);
        EXPECT_EQ(g_Tas_Detail.m_ulLinkConID, 4242u);
        EXPECT_TRUE(TakeBoxes().empty());
    };
    if (p.proc != SelectAccountDlgProc_NewContact) tryEveryWay(true);  // that picker does not search
    EmptyKind(p.kind);
    tryEveryWay(false);
}

// Rows counted by the query but no records handed back: one box naming the
// kind's list, and no row.
TEST_P(RecordPickers, RowsCountedButNotHandedBackShowOneBoxNamingTheList) {
    const PickerRow& p = GetParam();
    int nRows = -1;
    g_bDropRows = true;
    RunDialog(IDD_SELECT_OBJECT, p.proc, [&](HWND h) {
        nRows = Rows(h);
        PressButton(h, IDCANCEL);
    });
    g_bDropRows = false;
    const char* pszExpected = p.kind == kOpportunities                  ? msg::kPickerNoOpportunities
                              : p.kind == kAccounts && p.shown == kNone ? msg::kPickerNoAccounts
                                                                        : msg::kPickerNoRows;
    EXPECT_EQ(nRows, 0);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{pszExpected});
}

INSTANTIATE_TEST_SUITE_P(Twenty, RecordPickers, ::testing::ValuesIn(kPickers),
                         [](const ::testing::TestParamInfo<PickerRow>& info) { return info.param.pszName; });

class PickerLinks : public ::testing::Test {
protected:
    void SetUp() override { StartFresh(); }
    void TearDown() override {
        g_ulRelatingID = 0;
        g_ulRelatingAccID = 0;
    }
};

// The new contact's account picker of the task form keeps its search row
// enabled, but neither 搜索 nor Enter in the edit searches.
TEST_F(PickerLinks, TheNewContactAccountPickerShowsItsSearchRowButDoesNotSearch) {
    AddAccount({.name = "甲"});
    AddAccount({.name = "乙"});
    bool bEdit = false, bButton = false;
    int nRows = -1, nAfterButton = -1, nAfterEnter = -1;
    RunDialog(IDD_SELECT_OBJECT, SelectAccountDlgProc_NewContact, [&](HWND h) {
        HWND hEdit = GetDlgItem(h, IDC_PICK_KEYWORD);
        bEdit = Enabled(hEdit);
        bButton = Enabled(GetDlgItem(h, IDC_PICK_SEARCH));
        nRows = Rows(h);
        SetText(h, IDC_PICK_KEYWORD, "甲");
        PressButton(h, IDC_PICK_SEARCH);
        nAfterButton = Rows(h);
        SendMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 0);
        SendMessageA(hEdit, WM_KEYUP, VK_RETURN, 0);
        nAfterEnter = Rows(h);
        PressButton(h, IDCANCEL);
    });
    EXPECT_TRUE(bEdit);
    EXPECT_TRUE(bButton);
    EXPECT_GE(nRows, 2);
    EXPECT_EQ(nAfterButton, nRows);
    EXPECT_EQ(nAfterEnter, nRows);
}

// A row clicked and then no longer chosen (the search refilled the list, a
// click fell beside the rows) is neither handed over nor linked: the saved
// record gets no link and its form shows none. A row clicked after the
// search is the one stored.
TEST_F(PickerLinks, ARowNoLongerChosenIsNeitherHandedOverNorLinked) {
    unsigned y[4] = {};
    for (Kind k : {kAccounts, kOpportunities, kContacts}) {
        Seed(k, "上海东方");
        y[k] = Seed(k, "北京远大");
    }
    const ULONG c = AddContact({.name = "无单位"}), o = AddOpp({.subject = "机会"});
    using Step = DialogScript::Step;
    auto byForm = [](RecordFormClass& form, ULONG ulID, int nCommand, int nSave) {
        return [=, &form](const Step& pick) {
            HandOverToForm(&form, ulID ? &ulID : nullptr, ulID ? 1 : 0, ulID ? 0 : -1, "");
            if (ulID) Click(form, IDC_COND_EDIT);  // 修改, of the contact form only here
            DialogScript script;
            script.Then(IDD_SELECT_OBJECT, pick);
            SendMessageA(form.m_hWnd, WM_COMMAND, nCommand, 0);
            Click(form, nSave);
        };
    };
    const std::string newCon = "con_id=(SELECT MAX(con_id) FROM contacts)",
                      newTas = "tas_id=(SELECT MAX(tas_id) FROM tasks)";
    struct Way {
        const char* pszName;
        std::function<void(const Step&)> run;
        const char* pszLinks;  // where the opener's record is linked to the chosen one
        Kind chosen;
        std::string opener;   // the opener's record in that table
        const HWND* phField;  // the form's field for the chosen record's name
    } ways[] = {
        {"contact form, changing", byForm(g_Con_Detail, c, IDM_SELECTACCOUNT, IDC_COND_SAVE), "accounts_contacts",
         kAccounts, "con_id=" + std::to_string(c), &g_Con_Detail.m_hAccountEdit},
        {"contact form, adding", byForm(g_Con_Detail, 0, IDM_SELECTACCOUNT, IDC_COND_SAVE), "accounts_contacts",
         kAccounts, newCon, &g_Con_Detail.m_hAccountEdit},
        {"task form, account", byForm(g_Tas_Detail, 0, IDM_SELECTACCOUNT_LINK, IDC_TASD_SAVE), "accounts_tasks",
         kAccounts, newTas, &g_Tas_Detail.m_hSubject},
        {"task form, opportunity", byForm(g_Tas_Detail, 0, IDM_SELECTOPP_LINK, IDC_TASD_SAVE), "opportunities_tasks",
         kOpportunities, newTas, &g_Tas_Detail.m_hSubject},
        {"task form, contact", byForm(g_Tas_Detail, 0, IDM_SELECTCONTACT_LINK, IDC_TASD_SAVE), "contacts_tasks",
         kContacts, newTas, &g_Tas_Detail.m_hSubject},
        {"new-contact dialog",
         [](const Step& pick) {
             HandOverToForm(&g_Tas_Detail, nullptr, 0, -1, "");
             DialogScript script;
             script.Then(IDD_NEW_CONTACT, [](HWND h) {
                 SendMessageA(h, WM_COMMAND, IDM_SELECTACCOUNT, 0);
                 PressButton(h, IDC_NEWRECORD_OK);
             });
             script.Then(IDD_SELECT_OBJECT, pick);
             DialogBoxParamA(g_hInstance, IDD_NEW_CONTACT, g_hMainWnd, NewContactDlgProc_TasDetail, 0);
         },
         "accounts_contacts", kAccounts, newCon, nullptr},
        {"linking picker",
         [o](const Step& pick) {
             HandOverToForm(&g_Opp_Detail, &o, 1, 0, "");
             RunDialog(IDD_SELECT_OBJECT, SelectAccountDlgProc_OppDetailAccounts, pick);
         },
         "opportunities_accounts", kAccounts, "opp_id=" + std::to_string(o), nullptr},
    };
    auto rowNamed = [](HWND h, const std::string& name) {
        const auto names = Column(GetDlgItem(h, IDC_PICK_LIST), 0);
        const auto it = std::find(names.begin(), names.end(), name);
        EXPECT_NE(it, names.end()) << name;
        return it == names.end() ? -1 : (int)(it - names.begin());
    };
    static const char* const kIDs[] = {"tas_id", "acc_id", "opp_id", "con_id"};
    for (const Way& w : ways) {
        SCOPED_TRACE(w.pszName);
        for (bool bChoose : {false, true}) {
            const int nNew = bChoose ? 1 : 0;
            const long long nLinks = LinkRows();
            w.run([&](HWND h) {
                ClickRow(h, IDC_PICK_LIST, rowNamed(h, "上海东方"));
                SetText(h, IDC_PICK_KEYWORD, bChoose ? "北京" : "zzzzqqq");
                PressButton(h, IDC_PICK_SEARCH);
                if (bChoose) {
                    ClickRow(h, IDC_PICK_LIST, rowNamed(h, "北京远大"));
                } else {
                    if (Rows(h) > 0) ClickRow(h, IDC_PICK_LIST, -1);  // a picker that does not search
                    DoubleClickRow(h, IDC_PICK_LIST, -1);
                }
                PressButton(h, IDC_PICK_OK);
            });
            EXPECT_EQ(LinkRows(), nLinks + nNew);
            EXPECT_EQ(QueryInt(std::string("SELECT COUNT(*) FROM ") + w.pszLinks + " WHERE " + w.opener + " AND " +
                               kIDs[w.chosen] + "=" + std::to_string(y[w.chosen])),
                      nNew);
            if (w.phField) {
                EXPECT_EQ(Text(*w.phField), bChoose ? "北京远大" : "");
            }
        }
        EXPECT_TRUE(TakeBoxes().empty());
    }
}

TEST_F(PickerLinks, TheAccountsContactsPickerListsOnlyContactsWithoutAnAccount) {
    Exec("DELETE FROM accounts_contacts");
    const unsigned a = AddAccount({.name = "甲"});
    const unsigned c1 = AddContact({.name = "有单位"});
    AddContact({.name = "无单位"});
    Link("accounts", a, "contacts", c1);
    g_ulRelatingID = AddAccount({.name = "乙"});
    std::vector<std::string> names;
    RunDialog(IDD_SELECT_OBJECT, SelectContactDlgProc_AccDetail, [&](HWND h) {
        for (int r = 0; r < Rows(h); ++r) names.push_back(NameCell(h, kContacts, r));
        PressButton(h, IDCANCEL);
    });
    EXPECT_EQ(std::count(names.begin(), names.end(), "无单位"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "有单位"), 0);
}

TEST_F(PickerLinks, AContactPickedForAnOpportunityBringsItsAccountButNeverAccountZero) {
    const unsigned o = AddOpp({.subject = "机会"});
    const unsigned a = AddAccount({.name = "甲"});
    Exec("DELETE FROM accounts_contacts");
    const unsigned withAcc = AddContact({.name = "有单位"});
    const unsigned without = AddContact({.name = "无单位"});
    Link("accounts", a, "contacts", withAcc);
    g_ulRelatingID = o;
    RunDialog(IDD_SELECT_OBJECT, SelectContactDlgProc_OppDetailContacts, [&](HWND h) {
        for (int r = 0; r < Rows(h); ++r) DoubleClickRow(h, IDC_PICK_LIST, r);
        PressButton(h, IDCANCEL);
    });
    const std::string so = std::to_string(o);
    EXPECT_EQ(
        QueryInt("SELECT COUNT(*) FROM opportunities_accounts WHERE opp_id=" + so + " AND acc_id=" + std::to_string(a)),
        1);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_accounts WHERE acc_id=0"), 0);
    EXPECT_EQ(QueryInt("SELECT acc_id FROM opportunities_contacts WHERE opp_id=" + so +
                       " AND con_id=" + std::to_string(withAcc)),
              a);
    EXPECT_EQ(QueryInt("SELECT acc_id FROM opportunities_contacts WHERE opp_id=" + so +
                       " AND con_id=" + std::to_string(without)),
              0);
}

// The contact and its account are linked together or not at all: a refused
// contact link leaves the account unlinked too.
TEST_F(PickerLinks, AContactWhoseLinkFailsLeavesItsAccountUnlinked) {
    const unsigned o = AddOpp({.subject = "机会"});
    const unsigned a = AddAccount({.name = "甲"});
    Exec("DELETE FROM accounts_contacts");
    const unsigned c = AddContact({.name = "有单位"});
    Link("accounts", a, "contacts", c);
    g_ulRelatingID = o;
    FailInsertsInto("opportunities_contacts");
    RunDialog(IDD_SELECT_OBJECT, SelectContactDlgProc_OppDetailContacts, [&](HWND h) {
        DoubleClickRow(h, IDC_PICK_LIST, 0);
        PressButton(h, IDCANCEL);
    });
    Exec("DROP TRIGGER fail_opportunities_contacts");
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_accounts WHERE opp_id=" + std::to_string(o)), 0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_contacts WHERE opp_id=" + std::to_string(o)), 0);
    const auto boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), msg::kNewTaskAdd);
}

}  // namespace
