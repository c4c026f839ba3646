// The twenty record pickers, table-driven: rows in reverse query order, a
// double click links (or hands over) the row it names, 确定 without a click
// of this opening does nothing, a quote in the keyword finds its record,
// 取消 gives a handing picker's opener back its id.
#include <gtest/gtest.h>

#include "tests/dialogs/DialogTestSupport.h"

#include "dialogs/NewRecordDialogs.h"
#include "dialogs/RecordPickers.h"
#include "shell/RelatingGlobals.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"

#include <algorithm>
#include <string>

using namespace programtest;
using namespace dialogtest;

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

TEST_P(RecordPickers, AKeywordWithAQuoteFindsItsRecord) {
    const PickerRow& p = GetParam();
    if (p.proc == SelectAccountDlgProc_NewContact) GTEST_SKIP() << "this picker has no search";
    int nRows = -1;
    std::string found;
    RunDialog(IDD_SELECT_OBJECT, p.proc, [&](HWND h) {
        SetText(h, IDC_PICK_KEYWORD, "O'N");
        PressButton(h, IDC_PICK_SEARCH);
        nRows = Rows(h);
        found = NameCell(h, p.kind, 0);
        PressButton(h, IDCANCEL);
    });
    EXPECT_EQ(nRows, 1);
    EXPECT_EQ(found, "O'Neil");
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

}  // namespace
