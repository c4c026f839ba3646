// Nothing made at a page's creation or a dialog's opening outlives it: 200
// tab switches on each record form and 200 openings of each new-record
// dialog and picker leave the window layer's live-object counts (fonts,
// menus, windows, widgets, ...) where they were. One warm-up round goes
// first: the first use of a template, a control class or a Qt part makes
// things once for the whole run.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"

#include "dialogs/NewRecordDialogs.h"
#include "dialogs/RecordPickers.h"
#include "resources/shell_ids.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "win32_commctrl.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"

#include <functional>
#include <string>
#include <vector>

using namespace programtest;

namespace {

constexpr int kRounds = 200;

// Runs round(0) as the warm-up, then round(1..n), and expects the live
// objects after the last round to be those after the warm-up.
void ExpectNothingLeft(const std::function<void(int)>& round, int n = kRounds) {
    round(0);
    PumpMessages();
    const w32test::ObjectCounts before = w32test::LiveObjects();
    for (int i = 1; i <= n; ++i) {
        round(i);
        if (::testing::Test::HasFatalFailure()) return;
    }
    PumpMessages();
    const w32test::ObjectCounts after = w32test::LiveObjects();
    EXPECT_EQ(after, before) << "after " << n << " rounds: " << w32test::Difference(before, after) << "\n  before "
                             << w32test::Describe(before);
}

// Every record kind, and a record of each kind linked to three of every other.
struct Web {
    unsigned opp = 0, acc = 0, con = 0, tas = 0;
};

Web SeedWeb() {
    Web w;
    w.opp = AddOpp({.subject = "中关村项目"});
    w.acc = AddAccount({.name = "塔维尔科技"});
    w.con = AddContact({.name = "王小明"});
    w.tas = AddTask({.subject = "拜访客户"});
    for (int i = 0; i < 3; ++i) {
        const std::string n = std::to_string(i);
        const unsigned o = AddOpp({.subject = "机会" + n}), a = AddAccount({.name = "客户" + n}),
                       c = AddContact({.name = "联系人" + n}), t = AddTask({.subject = "日志" + n});
        Link("opportunities", w.opp, "accounts", a);
        Link("opportunities", w.opp, "contacts", c);
        Link("opportunities", w.opp, "tasks", t);
        Link("accounts", w.acc, "opportunities", o);
        Link("accounts", w.acc, "contacts", c);
        Link("accounts", w.acc, "tasks", t);
        Link("contacts", w.con, "opportunities", o);
        Link("contacts", w.con, "tasks", t);
        Link("tasks", w.tas, "opportunities", o);
        Link("tasks", w.tas, "contacts", c);
        Link("tasks", w.tas, "accounts", a);
    }
    return w;
}

// ---------------------------------------------------------------------------
// Tab switches on the record forms
// ---------------------------------------------------------------------------
struct FormRow {
    const char* pszName;
    RecordFormClass* pForm;
    unsigned Web::*pRecord;
};

void PrintTo(const FormRow& r, std::ostream* os) { *os << r.pszName; }

class TabSwitches : public ::testing::TestWithParam<FormRow> {
protected:
    void SetUp() override { StartFresh(); }
    void TearDown() override {
        w32test::ClearHooks();
        ResetToStartPage();
    }
};

TEST_P(TabSwitches, TwoHundredSwitchesLeaveNothingBehind) {
    const FormRow& r = GetParam();
    const Web w = SeedWeb();
    const ULONG ulID = w.*r.pRecord;
    ASSERT_EQ(HandOverToForm(r.pForm, &ulID, 1, 0, "t"), 0);
    // Pages may show their popup menus; nothing is chosen.
    w32test::SetPopupMenuHook([](const w32test::PopupMenuCall&) { return UINT(0); });
    TabControlClass& tab = r.pForm->m_Tab;
    ASSERT_NE(tab.m_hTab, nullptr);
    const int nPages = tab.m_nPages;
    ASSERT_GE(nPages, 2);
    int nShown = 0;
    // The pages differ in what they hold: the last switch shows the tab the
    // warm-up ended on (at least 200 switches).
    const int nSwitches = (kRounds + nPages - 1) / nPages * nPages;
    ExpectNothingLeft(
        [&](int i) {
            // The warm-up visits every tab once; then one switch a round.
            const int nSteps = i == 0 ? nPages : 1;
            for (int s = 0; s < nSteps; ++s) {
                nShown = (nShown + 1) % nPages;
                w32test::ClickTab(tab.m_hTab, nShown);
                ASSERT_EQ(SendMessageA(tab.m_hTab, TCM_GETCURSEL, 0, 0), nShown);
                ASSERT_NE(tab.m_hPage, nullptr);
            }
        },
        nSwitches);
    EXPECT_EQ(nShown, 0);
    EXPECT_EQ(r.pForm->m_ulRecordID, ulID);
}

INSTANTIATE_TEST_SUITE_P(Forms, TabSwitches,
                         ::testing::Values(FormRow{"Opportunity", &g_Opp_Detail, &Web::opp},
                                           FormRow{"Account", &g_Acc_Detail, &Web::acc},
                                           FormRow{"Contact", &g_Con_Detail, &Web::con},
                                           FormRow{"Task", &g_Tas_Detail, &Web::tas}),
                         [](const ::testing::TestParamInfo<FormRow>& i) { return std::string(i.param.pszName); });

// ---------------------------------------------------------------------------
// Openings of the new-record dialogs and the pickers
// ---------------------------------------------------------------------------
enum Shown { kNone, kOpp, kAcc, kCon, kTas };

struct DialogRow {
    const char* pszName;
    const char* pszTemplate;
    DLGPROC proc;
    Shown shown;   // the record the form shows (g_ulRelatingID)
    int nConfirm;  // the id of 确定
    bool bSearch;  // a picker with a search box
};

void PrintTo(const DialogRow& r, std::ostream* os) { *os << r.pszName; }

#define NEW_ACCOUNT(name, shown) \
    { #name, IDD_NEW_ACCOUNT, name, shown, IDC_NEWRECORD_OK, false }
#define NEW_TASK(name, shown) \
    { #name, IDD_NEW_TASK, name, shown, IDC_NEWRECORD_OK, false }
#define NEW_CONTACT(name, shown) \
    { #name, IDD_NEW_CONTACT, name, shown, IDC_NEWRECORD_OK, false }
#define NEW_OPPORTUNITY(name, shown) \
    { #name, IDD_NEW_OPPORTUNITY, name, shown, IDC_NEWRECORD_OK, false }
#define PICKER(name, shown, search) \
    { #name, IDD_SELECT_OBJECT, name, shown, IDC_PICK_OK, search }

const DialogRow kDialogs[] = {
    NEW_ACCOUNT(NewAccountDlgProc_ConDetail, kNone),
    NEW_ACCOUNT(NewAccountDlgProc_TasDetail, kNone),
    NEW_ACCOUNT(NewAccountDlgProc_NewContact, kNone),
    NEW_ACCOUNT(NewAccountDlgProc_OppDetailContacts, kOpp),
    NEW_ACCOUNT(NewAccountDlgProc_TasDetailContacts, kTas),
    NEW_ACCOUNT(NewAccountDlgProc_OppDetailAccounts, kOpp),
    NEW_ACCOUNT(NewAccountDlgProc_TasDetailAccounts, kTas),
    NEW_TASK(NewTaskDlgProc_OppDetail, kOpp),
    NEW_TASK(NewTaskDlgProc_AccDetail, kAcc),
    NEW_TASK(NewTaskDlgProc_ConDetail, kCon),
    NEW_CONTACT(NewContactDlgProc_TasDetail, kNone),
    NEW_CONTACT(NewContactDlgProc_OppDetailContacts, kOpp),
    NEW_CONTACT(NewContactDlgProc_TasDetailContacts, kTas),
    NEW_CONTACT(NewContactDlgProc_AccDetail, kAcc),
    NEW_CONTACT(NewContactDlgProc_OppDetailAccounts, kOpp),
    NEW_CONTACT(NewContactDlgProc_TasDetailAccounts, kTas),
    NEW_OPPORTUNITY(NewOpportunityDlgProc_TasDetail, kNone),
    NEW_OPPORTUNITY(NewOpportunityDlgProc_AccDetail, kAcc),
    NEW_OPPORTUNITY(NewOpportunityDlgProc_ConDetail, kCon),
    NEW_OPPORTUNITY(NewOpportunityDlgProc_TasDetailOpportunities, kTas),
    PICKER(SelectTaskDlgProc_OppDetail, kOpp, true),
    PICKER(SelectTaskDlgProc_AccDetail, kAcc, true),
    PICKER(SelectTaskDlgProc_ConDetail, kCon, true),
    PICKER(SelectAccountDlgProc_OppDetailAccounts, kOpp, true),
    PICKER(SelectAccountDlgProc_TasDetailAccounts, kTas, true),
    PICKER(SelectOpportunityDlgProc_AccDetail, kAcc, true),
    PICKER(SelectOpportunityDlgProc_ConDetail, kCon, true),
    PICKER(SelectOpportunityDlgProc_TasDetailOpportunities, kTas, true),
    PICKER(SelectContactDlgProc_OppDetailContacts, kOpp, true),
    PICKER(SelectContactDlgProc_TasDetailContacts, kTas, true),
    PICKER(SelectContactDlgProc_AccDetail, kAcc, true),
    PICKER(SelectContactDlgProc_OppDetailAccounts, kOpp, true),
    PICKER(SelectContactDlgProc_TasDetailAccounts, kTas, true),
    PICKER(SelectAccountDlgProc_OppDetailContacts, kOpp, true),
    PICKER(SelectAccountDlgProc_TasDetailContacts, kTas, true),
    PICKER(SelectAccountDlgProc_NewContact, kNone, false),
    PICKER(SelectAccountDlgProc_ConDetail, kNone, true),
    PICKER(SelectAccountDlgProc_TasDetail, kNone, true),
    PICKER(SelectOpportunityDlgProc_TasDetail, kNone, true),
    PICKER(SelectContactDlgProc_TasDetail, kNone, true),
};

class DialogOpenings : public ::testing::TestWithParam<DialogRow> {
protected:
    void SetUp() override {
        StartFresh();
        // The forms whose fields handing members write into.
        HandOverToForm(&g_Con_Detail, nullptr, 0, -1, "");
        HandOverToForm(&g_Tas_Detail, nullptr, 0, -1, "");
        m_hAccountEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 100, 20, g_hMainWnd, NULL, g_hInstance, NULL);
        g_hNewContactAccountEdit = m_hAccountEdit;
    }
    void TearDown() override {
        w32test::ClearHooks();
        g_hNewContactAccountEdit = NULL;
        g_ulRelatingID = 0;
        g_ulRelatingAccID = 0;
        g_Con_Detail.m_ulAccountID = 0;
        g_Tas_Detail.m_ulLinkAccID = g_Tas_Detail.m_ulLinkOppID = g_Tas_Detail.m_ulLinkConID = 0;
        DestroyWindow(m_hAccountEdit);
        ResetToStartPage();
    }
    HWND m_hAccountEdit = NULL;
};

// How an opening ends, by round: a click on 取消, Esc, the close box, or (a
// new record or a chosen row) 确定.
enum Ending { kCancel, kEscape, kCloseBox, kConfirm };

// The field a new record's name is typed into.
int NameField(const std::string& strTemplate) {
    if (strTemplate == IDD_NEW_TASK) return IDC_NEWTASK_TITLE;
    if (strTemplate == IDD_NEW_CONTACT) return IDC_NEWCONTACT_NAME;
    if (strTemplate == IDD_NEW_OPPORTUNITY) return IDC_NEWOPP_SUBJECT;
    return IDC_NEWACC_NAME;
}

// The command the new-contact dialog's "..." menu chooses at a round: none,
// 新建客户 or 选择客户 (their nested dialogs are cancelled).
UINT AccountMenuChoice(int nRound) {
    switch (nRound % 15) {
    case 5: return IDM_NEWACCOUNT;
    case 10: return IDM_SELECTACCOUNT;
    default: return 0;
    }
}

void Answer(HWND hDlg, const DialogRow& d, int nRound) {
    const Ending e = Ending(nRound % 4);
    const std::string strTemplate = d.pszTemplate;
    if (strTemplate == IDD_SELECT_OBJECT) {
        HWND hList = GetDlgItem(hDlg, IDC_PICK_LIST);
        if (d.bSearch && nRound % 2 == 1) {
            SetText(hDlg, IDC_PICK_KEYWORD, "客户");
            w32test::Click(GetDlgItem(hDlg, IDC_PICK_SEARCH));
        }
        if (SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0) > 0) w32test::ClickListRow(hList, 0);
        if (!IsWindow(hDlg)) return;
    } else {
        HWND hMenuButton = strTemplate == IDD_NEW_CONTACT ? GetDlgItem(hDlg, IDC_NEWCONTACT_ACCOUNTMENU) : NULL;
        if (hMenuButton && IsWindowEnabled(hMenuButton) && nRound % 5 == 0) {
            w32test::Click(hMenuButton);
            w32test::ProcessEvents();  // the chosen command, posted, opens its dialog
        }
        if (e == kConfirm) SetText(hDlg, NameField(strTemplate), "新记录" + std::to_string(nRound));
    }
    switch (e) {
    case kCancel: w32test::Click(GetDlgItem(hDlg, IDCANCEL)); break;
    case kEscape: w32test::PressKey(VK_ESCAPE, false, false, GetDlgItem(hDlg, IDCANCEL)); break;
    case kCloseBox: SendMessageA(hDlg, WM_CLOSE, 0, 0); break;
    case kConfirm: w32test::Click(GetDlgItem(hDlg, d.nConfirm)); break;
    }
    // WM_CLOSE answers through a posted 取消: let it arrive.
    if (!w32test::WaitFor([&] { return !IsWindowVisible(hDlg); }, 5000)) {
        ADD_FAILURE() << d.pszName << " still open after ending " << e << " at round " << nRound;
        EndDialog(hDlg, 0);
    }
}

TEST_P(DialogOpenings, TwoHundredOpeningsLeaveNothingBehind) {
    const DialogRow& d = GetParam();
    const Web w = SeedWeb();
    const unsigned kShownIDs[] = {0, w.opp, w.acc, w.con, w.tas};
    // The form that shows the record, as when the dialog is opened from its page.
    RecordFormClass* const kForms[] = {nullptr, &g_Opp_Detail, &g_Acc_Detail, &g_Con_Detail, &g_Tas_Detail};
    if (d.shown != kNone) {
        const ULONG ulID = kShownIDs[d.shown];
        ASSERT_EQ(HandOverToForm(kForms[d.shown], &ulID, 1, 0, "t"), 0);
    }
    // The accounts pages' clicked account.
    g_ulRelatingAccID = AddAccount({.name = "被点击的客户"});
    for (int i = 0; i < 3; ++i) Link("accounts", g_ulRelatingAccID, "contacts", AddContact({.name = "客户的联系人"}));

    int nOpenings = 0, nNested = 0;
    w32test::SetDialogHook([&](HWND hDlg, const std::string& strTemplate) {
        if (strTemplate == d.pszTemplate) {
            Answer(hDlg, d, nOpenings);
        } else {
            // A dialog nested in the one counted: cancelled.
            ++nNested;
            w32test::Click(GetDlgItem(hDlg, IDCANCEL));
        }
    });
    w32test::SetPopupMenuHook([&](const w32test::PopupMenuCall&) { return AccountMenuChoice(nOpenings); });
    ExpectNothingLeft([&](int i) {
        nOpenings = i;
        g_ulRelatingID = kShownIDs[d.shown];
        DialogBoxParamA(g_hInstance, d.pszTemplate, g_hMainWnd, d.proc, 0);
    });
    // The contacts pages' new-contact dialogs opened their nested account dialogs too.
    if (d.proc == NewContactDlgProc_OppDetailContacts || d.proc == NewContactDlgProc_TasDetailContacts) {
        EXPECT_GE(nNested, 20);
    }
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogOpenings, ::testing::ValuesIn(kDialogs),
                         [](const ::testing::TestParamInfo<DialogRow>& i) { return std::string(i.param.pszName); });

// ---------------------------------------------------------------------------
// Adds through a relation page's popup
// ---------------------------------------------------------------------------
struct PageRow {
    const char* pszName;
    RecordFormClass* pForm;
    unsigned Web::*pRecord;
    int nTab;
};

void PrintTo(const PageRow& r, std::ostream* os) { *os << r.pszName; }

const PageRow kPages[] = {
    {"OppTasks", &g_Opp_Detail, &Web::opp, 0},         {"OppContacts", &g_Opp_Detail, &Web::opp, 1},
    {"OppAccounts", &g_Opp_Detail, &Web::opp, 2},      {"AccTasks", &g_Acc_Detail, &Web::acc, 0},
    {"AccContacts", &g_Acc_Detail, &Web::acc, 1},      {"AccOpportunities", &g_Acc_Detail, &Web::acc, 2},
    {"ConTasks", &g_Con_Detail, &Web::con, 0},         {"ConOpportunities", &g_Con_Detail, &Web::con, 1},
    {"TasOpportunities", &g_Tas_Detail, &Web::tas, 0}, {"TasContacts", &g_Tas_Detail, &Web::tas, 1},
    {"TasAccounts", &g_Tas_Detail, &Web::tas, 2},
};

class PageAdds : public ::testing::TestWithParam<PageRow> {
protected:
    void SetUp() override { StartFresh(); }
    void TearDown() override {
        w32test::ClearHooks();
        ResetToStartPage();
    }
};

// Each round: the page's first add button, its popup's 新建 (even rounds) or
// 选择 (odd rounds) entry, and the dialog answered with 确定 every fourth
// round (a new record, or the first row picked) and 取消 otherwise. 确定
// makes the form show its record again, which rebuilds the page under the
// handler that opened the dialog.
TEST_P(PageAdds, TwoHundredAddsLeaveNothingBehind) {
    const PageRow& r = GetParam();
    const Web w = SeedWeb();
    const ULONG ulID = w.*r.pRecord;
    ASSERT_EQ(HandOverToForm(r.pForm, &ulID, 1, 0, "t"), 0);
    TabControlClass& tab = r.pForm->m_Tab;
    if (r.nTab != 0) w32test::ClickTab(tab.m_hTab, r.nTab);
    ASSERT_EQ(SendMessageA(tab.m_hTab, TCM_GETCURSEL, 0, 0), r.nTab);

    int nRound = 0, nDialogs = 0;
    w32test::SetPopupMenuHook([&](const w32test::PopupMenuCall& c) { return GetMenuItemID(c.menu, nRound % 2); });
    w32test::SetDialogHook([&](HWND hDlg, const std::string& strTemplate) {
        ++nDialogs;
        const bool bConfirm = nRound % 4 == 3;
        if (strTemplate == IDD_SELECT_OBJECT) {
            HWND hList = GetDlgItem(hDlg, IDC_PICK_LIST);
            if (bConfirm && SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0) > 0) w32test::ClickListRow(hList, 0);
            w32test::Click(GetDlgItem(hDlg, bConfirm ? IDC_PICK_OK : IDCANCEL));
        } else {
            if (bConfirm) SetText(hDlg, NameField(strTemplate), "页面新记录" + std::to_string(nRound));
            w32test::Click(GetDlgItem(hDlg, bConfirm ? IDC_NEWRECORD_OK : IDCANCEL));
        }
        if (IsWindowVisible(hDlg)) {
            ADD_FAILURE() << strTemplate << " still open at round " << nRound;
            EndDialog(hDlg, 0);
        }
    });
    ExpectNothingLeft([&](int i) {
        nRound = i;
        // The page now shown (made afresh after every 确定); its first add button.
        HWND hAdd = GetWindow(tab.m_hPage, GW_CHILD);
        ASSERT_NE(hAdd, nullptr);
        ASSERT_TRUE(IsWindowEnabled(hAdd));
        w32test::Click(hAdd);
        w32test::ProcessEvents();  // the chosen entry, posted, opens its dialog
    });
    EXPECT_EQ(nDialogs, kRounds + 1);
    EXPECT_EQ(r.pForm->m_ulRecordID, ulID);
}

INSTANTIATE_TEST_SUITE_P(Pages, PageAdds, ::testing::ValuesIn(kPages),
                         [](const ::testing::TestParamInfo<PageRow>& i) { return std::string(i.param.pszName); });

}  // namespace
