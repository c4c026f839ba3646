// The relation tab pages of the four record forms, driven on the forms as
// the program shows them: the rows each kind lists and their order, opening
// a row, removing one link (of a row the keys selected too), the buttons'
// states, the accounts pages' clicked account, mass mail, the re-entry of a
// dialog's reload into the page that opened it, and the page's font and menu
// released with the page.
#include <gtest/gtest.h>

#include "tests/dialogs/DialogTestSupport.h"
#include "win32_testhooks_commctrl.h"

#include "dialogs/NewRecordDialogs.h"
#include "dialogs/RecordPickers.h"
#include "dialogs/RelatedPages.h"
#include "mail/MailDialogClass.h"
#include "resources/shell_ids.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"

#include <string>
#include <vector>

using namespace programtest;
using namespace dialogtest;

namespace {

// Control ids of the pages.
enum {
    kAddAccount = 11401,
    kAddContact = 11402,
    kAddOpportunity = 11403,
    kAddTask = 11404,
    kRemoveTask = 11405,
    kRemoveAccount = 11406,
    kRemoveContact = 11407,
    kRemoveOpportunity = 11408,
    kMassMail = 11409,
    kAccountList = 1078,
    kList = 1079,  // contacts and opportunities
    kTaskList = 10153,
};

std::string N(unsigned id) { return std::to_string(id); }

class RelatedPages : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        g_ulRelatingAccID = 0;
    }
    void TearDown() override {
        w32test::ClearHooks();
        g_ulRelatingID = 0;
        g_ulRelatingAccID = 0;
    }

    // The form shows ids[nRow] with the list ids; tab nTab selected.
    static void Show(RecordFormClass& form, const std::vector<ULONG>& ids, int nRow, int nTab) {
        HandOverToForm(&form, ids.data(), (int)ids.size(), nRow, "列表");
        SelectTab(form, nTab);
    }
    static void ShowBlank(RecordFormClass& form, int nTab) {
        HandOverToForm(&form, nullptr, 0, -1, nullptr);
        SelectTab(form, nTab);
    }
    static void SelectTab(RecordFormClass& form, int nTab) {
        w32test::ClickTab(form.m_Tab.m_hTab, nTab);
        PumpMessages();
        ASSERT_EQ(SendMessageA(form.m_Tab.m_hTab, TCM_GETCURSEL, 0, 0), nTab);
    }
    static HWND Page(RecordFormClass& form) { return form.m_Tab.m_hPage; }
    static HWND Item(RecordFormClass& form, int nID) { return GetDlgItem(Page(form), nID); }
    static void ClickListRow(HWND hList, int nRow) {
        w32test::ClickListRow(hList, nRow);
        PumpMessages();
    }
    static void ClickOffRows(HWND hList) {
        const POINT pt = w32test::ListBlankPoint(hList);
        w32test::Click(hList, pt.x, pt.y);
        PumpMessages();
    }
    static void DoubleClickListRow(HWND hList, int nRow) {
        w32test::DoubleClickListRow(hList, nRow);
        PumpMessages();
    }
    // A key pressed on the list, as the user presses it while it has the focus.
    static void Key(HWND hList, int vk) {
        w32test::PressKey(vk, false, false, hList);
        PumpMessages();
    }
    static void Press(HWND hButton) {
        w32test::Click(hButton);
        PumpMessages();
    }
    // Presses an add button and chooses nCommand from its popup; the
    // captions the popup offered are returned (none when it did not open).
    static std::vector<std::string> Choose(HWND hAdd, UINT nCommand) {
        std::vector<std::string> items;
        w32test::SetPopupMenuHook([&](const w32test::PopupMenuCall& c) {
            items = c.items;
            return nCommand;
        });
        Press(hAdd);
        PumpMessages();
        w32test::SetPopupMenuHook(nullptr);
        return items;
    }
    static long long Count(const std::string& sql) { return QueryInt("SELECT COUNT(*) FROM " + sql); }
};

// --- Lists ------------------------------------------------------------------

TEST_F(RelatedPages, EachKindListsItsLinkedRecordsInThePagesOrder) {
    const unsigned opp = AddOpp({.subject = "机会"});
    const unsigned late = AddTask({.subject = "晚", .date = "2006-05-03", .time = "10:00:00"});
    const unsigned early = AddTask({.subject = "早", .date = "2006-05-03", .time = "09:05:00", .outlay = 12.5});
    const unsigned later = AddTask({.subject = "更晚", .date = "2007-01-01"});
    AddTask({.subject = "无关"});
    for (unsigned t : {late, early, later}) Link("opportunities", opp, "tasks", t);
    Show(g_Opp_Detail, {opp}, 0, 0);
    HWND hTasks = Item(g_Opp_Detail, kTaskList);
    // Oldest first, dates and times without leading zeros, money with two places.
    EXPECT_EQ(Column(hTasks, 2), (std::vector<std::string>{"早", "晚", "更晚"}));
    EXPECT_EQ(Cell(hTasks, 0, 0), "2006-5-3");
    EXPECT_EQ(Cell(hTasks, 0, 1), "9:5");
    EXPECT_EQ(Cell(hTasks, 0, 3), "12.50");

    // The account's contacts and a task's contacts by name, ascending.
    const unsigned acc = AddAccount({.name = "客户"});
    const unsigned task = AddTask({.subject = "任务"});
    for (const char* psz : {"b", "c", "a"}) {
        const unsigned c = AddContact({.name = psz, .province = "北京"});
        Link("accounts", acc, "contacts", c);
        Link("contacts", c, "tasks", task);
    }
    Show(g_Acc_Detail, {acc}, 0, 1);
    EXPECT_EQ(Column(Item(g_Acc_Detail, kList), 0), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Column(Item(g_Acc_Detail, kList), 1), (std::vector<std::string>{"客户", "客户", "客户"}));
    Show(g_Tas_Detail, {task}, 0, 1);
    HWND hContacts = Item(g_Tas_Detail, kList);
    EXPECT_EQ(Column(hContacts, 0), (std::vector<std::string>{"a", "b", "c"}));
    // Every column is filled as soon as the tab opens.
    EXPECT_EQ(Cell(hContacts, 0, 6), "北京");
    EXPECT_EQ(Cell(hContacts, 0, 9), "2024-2-1");
    EXPECT_EQ(Cell(hContacts, 0, 10), "2024-1-10");

    // Opportunities: the probability with its percent sign.
    const unsigned o2 = AddOpp({.subject = "大单", .estimate = 1000, .probability = 30});
    Link("opportunities", o2, "tasks", task);
    Show(g_Tas_Detail, {task}, 0, 0);
    HWND hOpps = Item(g_Tas_Detail, kList);
    ASSERT_EQ(RowCount(hOpps), 1);
    EXPECT_EQ(Cell(hOpps, 0, 0), "大单");
    EXPECT_EQ(Cell(hOpps, 0, 1), "30%");
    EXPECT_EQ(Cell(hOpps, 0, 4), "1000.00");
}

TEST_F(RelatedPages, OpeningTheThirdRowOfFiveHandsAllFiveAndTheFormStepsThroughThem) {
    const unsigned acc = AddAccount({.name = "客户"});
    std::vector<ULONG> tasks;
    for (int i = 1; i <= 5; ++i) {
        tasks.push_back(AddTask({.subject = "任务" + std::to_string(i), .date = "2024-03-0" + std::to_string(i)}));
        Link("accounts", acc, "tasks", tasks.back());
    }
    Show(g_Acc_Detail, {acc}, 0, 0);
    strcpy(g_Tas_Detail.m_szTitle, "旧标题");
    DoubleClickListRow(Item(g_Acc_Detail, kTaskList), 2);
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Detail);
    ASSERT_EQ(g_Tas_Detail.m_nIDCount, 5);
    EXPECT_EQ(std::vector<ULONG>(g_Tas_Detail.m_pulID, g_Tas_Detail.m_pulID + 5), tasks);
    EXPECT_EQ(g_Tas_Detail.m_nRow, 2);
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, tasks[2]);
    EXPECT_EQ(g_ulRelatingID, tasks[2]);
    EXPECT_STREQ(g_Tas_Detail.m_szTitle, "旧标题") << "a relation page hands over no title";
    Click(g_Tas_Detail, g_Tas_Detail.Def().ids.nNext);
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, tasks[3]);
    Click(g_Tas_Detail, g_Tas_Detail.Def().ids.nFirst);
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, tasks[0]);

    // A double click off the rows opens nothing.
    Show(g_Acc_Detail, {acc}, 0, 0);
    HWND hList = Item(g_Acc_Detail, kTaskList);
    const POINT pt = w32test::ListBlankPoint(hList);
    w32test::DoubleClick(hList, pt.x, pt.y);
    PumpMessages();
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_Detail);
}

// --- Removing a link ------------------------------------------------------------

TEST_F(RelatedPages, RemovingRemovesOnlyThatLink) {
    const unsigned opp = AddOpp({.subject = "机会"});
    const unsigned other = AddOpp({.subject = "另一个"});
    const unsigned acc = AddAccount({.name = "客户"});
    const unsigned task = AddTask({.subject = "任务", .date = "2024-01-01"});
    const unsigned stays = AddTask({.subject = "留下", .date = "2024-02-01"});
    Link("opportunities", opp, "tasks", task);
    Link("opportunities", opp, "tasks", stays);
    Link("opportunities", other, "tasks", task);
    Link("accounts", acc, "tasks", task);
    Show(g_Opp_Detail, {opp}, 0, 0);
    HWND hRemove = Item(g_Opp_Detail, kRemoveTask);
    EXPECT_FALSE(Enabled(hRemove));
    ClickListRow(Item(g_Opp_Detail, kTaskList), 0);
    EXPECT_TRUE(Enabled(hRemove));
    Press(hRemove);
    EXPECT_EQ(Column(Item(g_Opp_Detail, kTaskList), 2), (std::vector<std::string>{"留下"}));
    EXPECT_FALSE(Enabled(Item(g_Opp_Detail, kRemoveTask)));
    EXPECT_EQ(Count("opportunities_tasks WHERE opp_id=" + N(opp)), 1);
    EXPECT_EQ(Count("opportunities_tasks WHERE opp_id=" + N(other) + " AND tas_id=" + N(task)), 1);
    EXPECT_EQ(Count("accounts_tasks WHERE tas_id=" + N(task)), 1);
    EXPECT_EQ(Count("tasks WHERE tas_id=" + N(task)), 1);

    // A contact leaves the account only: its opportunity and task links stay.
    const unsigned con = AddContact({.name = "张三"});
    Link("accounts", acc, "contacts", con);
    Link("opportunities", opp, "contacts", con);
    Link("contacts", con, "tasks", task);
    Show(g_Acc_Detail, {acc}, 0, 1);
    ClickListRow(Item(g_Acc_Detail, kList), 0);
    Press(Item(g_Acc_Detail, kRemoveContact));
    EXPECT_EQ(RowCount(Item(g_Acc_Detail, kList)), 0);
    EXPECT_EQ(Count("accounts_contacts WHERE con_id=" + N(con)), 0);
    EXPECT_EQ(Count("opportunities_contacts WHERE con_id=" + N(con)), 1);
    EXPECT_EQ(Count("contacts_tasks WHERE con_id=" + N(con)), 1);

    // An opportunity leaves the contact only.
    Link("opportunities", other, "contacts", con);
    Show(g_Con_Detail, {con}, 0, 1);
    HWND hOpps = Item(g_Con_Detail, kList);
    ASSERT_EQ(RowCount(hOpps), 2);
    ClickListRow(hOpps, 0);
    Press(Item(g_Con_Detail, kRemoveOpportunity));
    EXPECT_EQ(RowCount(Item(g_Con_Detail, kList)), 1);
    EXPECT_EQ(Count("opportunities_contacts WHERE con_id=" + N(con)), 1);
    EXPECT_EQ(Count("opportunities"), 2);
}

// --- Buttons and fresh lists --------------------------------------------------------

TEST_F(RelatedPages, OnABlankFormEveryPageIsEmptyAndOnlyMassMailIsEnabled) {
    const struct {
        RecordFormClass* pForm;
        int nTab, nList, nAdd, nRemove;
        bool bMail;
    } kPages[] = {
        {&g_Opp_Detail, 0, kTaskList, kAddTask, kRemoveTask, false},
        {&g_Opp_Detail, 1, kList, kAddContact, kRemoveContact, true},
        {&g_Opp_Detail, 2, kAccountList, kAddAccount, kRemoveAccount, true},
        {&g_Acc_Detail, 0, kTaskList, kAddTask, kRemoveTask, false},
        {&g_Acc_Detail, 1, kList, kAddContact, kRemoveContact, true},
        {&g_Acc_Detail, 2, kList, kAddOpportunity, kRemoveOpportunity, false},
        {&g_Con_Detail, 0, kTaskList, kAddTask, kRemoveTask, false},
        {&g_Con_Detail, 1, kList, kAddOpportunity, kRemoveOpportunity, false},
        {&g_Tas_Detail, 0, kList, kAddOpportunity, kRemoveOpportunity, false},
        {&g_Tas_Detail, 1, kList, kAddContact, kRemoveContact, true},
        {&g_Tas_Detail, 2, kAccountList, kAddAccount, kRemoveAccount, true},
    };
    for (const auto& p : kPages) {
        SCOPED_TRACE(ClassOf(*p.pForm) + " tab " + std::to_string(p.nTab));
        ShowBlank(*p.pForm, p.nTab);
        ASSERT_NE(Page(*p.pForm), nullptr);
        EXPECT_EQ(RowCount(Item(*p.pForm, p.nList)), 0);
        EXPECT_FALSE(Enabled(Item(*p.pForm, p.nAdd)));
        EXPECT_FALSE(Enabled(Item(*p.pForm, p.nRemove)));
        if (p.bMail) {
            EXPECT_TRUE(Enabled(Item(*p.pForm, kMassMail)));
        }
        // The popup cannot be had.
        EXPECT_TRUE(Choose(Item(*p.pForm, p.nAdd), 0).empty());
        if (p.nList == kAccountList) {
            EXPECT_FALSE(Enabled(Item(*p.pForm, kAddContact)));
            EXPECT_FALSE(Enabled(Item(*p.pForm, kRemoveContact)));
            EXPECT_EQ(RowCount(Item(*p.pForm, kList)), 0);
        }
    }
}

TEST_F(RelatedPages, SteppingAndChangingTabsLoadAFreshListWithNothingSelected) {
    const unsigned first = AddOpp({.subject = "一"});
    const unsigned second = AddOpp({.subject = "二"});
    const unsigned con = AddContact({.name = "联系人"});
    Link("opportunities", first, "contacts", con);
    Show(g_Con_Detail, {con}, 0, 1);
    HWND hOpps = Item(g_Con_Detail, kList);
    ClickListRow(hOpps, 0);
    EXPECT_TRUE(Enabled(Item(g_Con_Detail, kRemoveOpportunity)));
    // A click off the rows disables remove again.
    ClickOffRows(hOpps);
    EXPECT_FALSE(Enabled(Item(g_Con_Detail, kRemoveOpportunity)));
    ClickListRow(hOpps, 0);

    // Away and back: a new page, loaded afresh (with a link made meanwhile).
    SelectTab(g_Con_Detail, 0);
    Link("opportunities", second, "contacts", con);
    SelectTab(g_Con_Detail, 1);
    EXPECT_EQ(RowCount(Item(g_Con_Detail, kList)), 2);
    EXPECT_TRUE(Enabled(Item(g_Con_Detail, kAddOpportunity)));
    EXPECT_FALSE(Enabled(Item(g_Con_Detail, kRemoveOpportunity)));

    // Stepping to another record: its list, remove off until a row is clicked.
    Show(g_Opp_Detail, {first, second}, 0, 1);
    HWND hContacts = Item(g_Opp_Detail, kList);
    ASSERT_EQ(RowCount(hContacts), 1);
    ClickListRow(hContacts, 0);
    EXPECT_TRUE(Enabled(Item(g_Opp_Detail, kRemoveContact)));
    Click(g_Opp_Detail, g_Opp_Detail.Def().ids.nNext);
    EXPECT_EQ(g_ulRelatingID, second);
    EXPECT_EQ(RowCount(Item(g_Opp_Detail, kList)), 1);
    EXPECT_FALSE(Enabled(Item(g_Opp_Detail, kRemoveContact)));
    EXPECT_TRUE(Enabled(Item(g_Opp_Detail, kAddContact)));
    // Remove without a row of the new list does nothing.
    SendMessageA(Page(g_Opp_Detail), WM_COMMAND, kRemoveContact, 0);
    EXPECT_EQ(Count("opportunities_contacts"), 2);
    // A blank form empties the page.
    SendMessageA(g_Opp_Detail.m_hWnd, UM_NEWRECORD, 0, 0);
    EXPECT_EQ(RowCount(Item(g_Opp_Detail, kList)), 0);
    EXPECT_FALSE(Enabled(Item(g_Opp_Detail, kAddContact)));
}

TEST_F(RelatedPages, AFailedQueryLeavesAnEmptyListThatOpensNothing) {
    const unsigned opp = AddOpp({.subject = "机会"});
    const unsigned con = AddContact({.name = "联系人"});
    Link("opportunities", opp, "contacts", con);
    Show(g_Opp_Detail, {opp}, 0, 1);
    HWND hList = Item(g_Opp_Detail, kList);
    ASSERT_EQ(RowCount(hList), 1);
    ClickListRow(hList, 0);
    TakeBoxes();
    Database().Exec("DROP VIEW rel_opportunities_contacts");
    SendMessageA(g_Opp_Detail.m_hWnd, UM_SHOWRECORD, (WPARAM)-1, opp);
    const auto boxes = TakeBoxes();
    EXPECT_NE(std::find(boxes.begin(), boxes.end(), "Acc_HomepageDialogClass.cpp 94: cad_GetAllAccounts Error."),
              boxes.end());
    EXPECT_EQ(RowCount(hList), 0);
    EXPECT_FALSE(Enabled(Item(g_Opp_Detail, kRemoveContact)));
    // Neither a double click nor remove acts on the rows that were there.
    SendMessageA(Page(g_Opp_Detail), WM_COMMAND, kRemoveContact, 0);
    DoubleClickRow(Page(g_Opp_Detail), kList, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Detail);
    // Mass mail after a failed query: the mail page with no recipient.
    Press(Item(g_Opp_Detail, kMassMail));
    EXPECT_EQ(g_pCurrentDialog, &g_Mail);
    EXPECT_EQ(g_Mail.m_nConCount, 0);
    EXPECT_EQ(RowCount(g_Mail.m_RecipientList), 0);
}

// --- Mass mail ----------------------------------------------------------------------

TEST_F(RelatedPages, MassMailHandsEveryLinkedContactWhateverIsSelected) {
    const unsigned opp = AddOpp({.subject = "机会"});
    for (const char* psz : {"甲", "乙", "丙"}) {
        const unsigned c = AddContact({.name = psz, .email = "x@example.com"});
        Link("opportunities", opp, "contacts", c);
    }
    AddContact({.name = "无关"});
    Show(g_Opp_Detail, {opp}, 0, 1);
    ClickListRow(Item(g_Opp_Detail, kList), 1);
    Press(Item(g_Opp_Detail, kMassMail));
    ASSERT_EQ(g_pCurrentDialog, &g_Mail);
    EXPECT_EQ(g_Mail.m_nConCount, 3);
    EXPECT_EQ(RowCount(g_Mail.m_RecipientList), 3);
    EXPECT_EQ(VisibleViewCount(), 1);

    // A blank form: the mail page with no recipient.
    ShowBlank(g_Tas_Detail, 1);
    Press(Item(g_Tas_Detail, kMassMail));
    ASSERT_EQ(g_pCurrentDialog, &g_Mail);
    EXPECT_EQ(g_Mail.m_nConCount, 0);
    EXPECT_EQ(RowCount(g_Mail.m_RecipientList), 0);
}

// --- The accounts pages ----------------------------------------------------------

class RelatedAccountsPages : public RelatedPages {
protected:
    void SetUp() override {
        RelatedPages::SetUp();
        m_opp = AddOpp({.subject = "机会"});
        m_a = AddAccount({.name = "甲公司"});
        m_b = AddAccount({.name = "乙公司"});
        Link("opportunities", m_opp, "accounts", m_a);
        Link("opportunities", m_opp, "accounts", m_b);
        for (const char* psz : {"a1", "a2"}) m_aContacts.push_back(AddContactUnder(m_a, psz));
        m_b1 = AddContactUnder(m_b, "b1");
        // One contact linked to the opportunity without an account.
        m_loose = AddContact({.name = "无单位"});
        Exec("INSERT INTO opportunities_contacts(opp_id, con_id, acc_id) VALUES(" + N(m_opp) + ", " + N(m_loose) +
             ", 0)");
    }
    unsigned AddContactUnder(unsigned acc, const std::string& name) {
        const unsigned c = AddContact({.name = name});
        Link("accounts", acc, "contacts", c);
        Exec("INSERT INTO opportunities_contacts(opp_id, con_id, acc_id) VALUES(" + N(m_opp) + ", " + N(c) + ", " +
             N(acc) + ")");
        return c;
    }
    HWND Accounts() { return Item(g_Opp_Detail, kAccountList); }
    HWND Contacts() { return Item(g_Opp_Detail, kList); }
    // A contact named `name` made through the opportunity form's 添加联系人
    // menu: the menu's items, the account the new-contact dialog showed and
    // the new contact's id.
    struct NewContactMade {
        std::vector<std::string> menu;
        std::string account;
        long long id = 0;
    };
    NewContactMade MakeContact(const std::string& name) {
        NewContactMade made;
        DialogScript script;
        script.Then(IDD_NEW_CONTACT, [&](HWND h) {
            made.account = GetText(h, IDC_NEWCONTACT_ACCOUNT);
            SetText(h, IDC_NEWCONTACT_NAME, name);
            PressButton(h, IDC_NEWRECORD_OK);
        });
        made.menu = Choose(Item(g_Opp_Detail, kAddContact), IDM_NEWCONTACT);
        EXPECT_TRUE(script.Finished());
        made.id = QueryInt("SELECT MAX(con_id) FROM contacts");
        return made;
    }
    // The row of the account named pszName.
    int RowOf(const char* pszName) {
        const auto names = Column(Accounts(), 0);
        return (int)(std::find(names.begin(), names.end(), pszName) - names.begin());
    }

    unsigned m_opp = 0, m_a = 0, m_b = 0, m_b1 = 0, m_loose = 0;
    std::vector<unsigned> m_aContacts;
};

TEST_F(RelatedAccountsPages, AClickedAccountListsItsContactsAndSelectsForRemoval) {
    Show(g_Opp_Detail, {m_opp}, 0, 2);
    ASSERT_EQ(RowCount(Accounts()), 2);
    EXPECT_EQ(RowCount(Contacts()), 0) << "no contacts before an account is clicked";
    EXPECT_FALSE(Enabled(Item(g_Opp_Detail, kAddContact)));
    EXPECT_TRUE(Enabled(Item(g_Opp_Detail, kAddAccount)));
    EXPECT_TRUE(Choose(Item(g_Opp_Detail, kAddContact), 0).empty());

    ClickListRow(Accounts(), RowOf("甲公司"));
    EXPECT_EQ(g_ulRelatingAccID, m_a);
    EXPECT_STREQ(g_szRelatingAccName, "甲公司");
    EXPECT_EQ(RowCount(Contacts()), 2);
    EXPECT_TRUE(Enabled(Item(g_Opp_Detail, kAddContact)));
    EXPECT_TRUE(Enabled(Item(g_Opp_Detail, kRemoveAccount)));
    ClickListRow(Contacts(), 1);
    EXPECT_TRUE(Enabled(Item(g_Opp_Detail, kRemoveContact)));
    // Another account: its contacts, and remove-contact off until one is clicked.
    ClickListRow(Accounts(), RowOf("乙公司"));
    EXPECT_EQ(Column(Contacts(), 0), (std::vector<std::string>{"b1"}));
    EXPECT_FALSE(Enabled(Item(g_Opp_Detail, kRemoveContact)));
    ClickListRow(Contacts(), 0);
    EXPECT_TRUE(Enabled(Item(g_Opp_Detail, kRemoveContact)));

    // A click off the account rows clears the account: no popup, and mass
    // mail goes to the contacts linked without an account.
    ClickOffRows(Accounts());
    EXPECT_EQ(g_ulRelatingAccID, 0u);
    EXPECT_FALSE(Enabled(Item(g_Opp_Detail, kAddContact)));
    EXPECT_FALSE(Enabled(Item(g_Opp_Detail, kRemoveAccount)));
    SendMessageA(Page(g_Opp_Detail), WM_COMMAND, IDM_SELECTCONTACT, 0);  // no picker opens
    Press(Item(g_Opp_Detail, kMassMail));
    ASSERT_EQ(g_pCurrentDialog, &g_Mail);
    EXPECT_EQ(g_Mail.m_nConCount, 1);
}

TEST_F(RelatedAccountsPages, RemovingAnAccountTakesItsContactsOffTheOpportunityOnly) {
    Show(g_Opp_Detail, {m_opp}, 0, 2);
    ClickListRow(Accounts(), RowOf("甲公司"));
    // A contact row in the position of the other account does not matter.
    ClickListRow(Contacts(), 1);
    Press(Item(g_Opp_Detail, kRemoveAccount));
    EXPECT_EQ(Column(Accounts(), 0), (std::vector<std::string>{"乙公司"}));
    EXPECT_EQ(Count("opportunities_accounts WHERE opp_id=" + N(m_opp) + " AND acc_id=" + N(m_a)), 0);
    EXPECT_EQ(Count("opportunities_accounts WHERE opp_id=" + N(m_opp) + " AND acc_id=" + N(m_b)), 1);
    EXPECT_EQ(Count("opportunities_contacts WHERE opp_id=" + N(m_opp) + " AND acc_id=" + N(m_a)), 0);
    EXPECT_EQ(Count("opportunities_contacts WHERE opp_id=" + N(m_opp)), 2);
    for (unsigned c : m_aContacts) EXPECT_EQ(Count("accounts_contacts WHERE con_id=" + N(c)), 1);
    // The removed account is no longer the clicked one.
    EXPECT_EQ(g_ulRelatingAccID, 0u);
    EXPECT_EQ(RowCount(Contacts()), 0);
    EXPECT_FALSE(Enabled(Item(g_Opp_Detail, kAddContact)));

    // On a task, only the task's account link goes.
    const unsigned task = AddTask({.subject = "任务"});
    Link("accounts", m_b, "tasks", task);
    Link("contacts", m_b1, "tasks", task);
    Show(g_Tas_Detail, {task}, 0, 2);
    HWND hAccounts = Item(g_Tas_Detail, kAccountList);
    ClickListRow(hAccounts, 0);
    EXPECT_EQ(Column(Item(g_Tas_Detail, kList), 0), (std::vector<std::string>{"b1"}));
    // Removing the contact from the task leaves it in its account.
    ClickListRow(Item(g_Tas_Detail, kList), 0);
    Press(Item(g_Tas_Detail, kRemoveContact));
    EXPECT_EQ(Count("contacts_tasks WHERE tas_id=" + N(task)), 0);
    EXPECT_EQ(Count("accounts_contacts WHERE con_id=" + N(m_b1)), 1);
    EXPECT_EQ(Count("accounts_tasks WHERE tas_id=" + N(task)), 1);
    ClickListRow(hAccounts, 0);
    Press(Item(g_Tas_Detail, kRemoveAccount));
    EXPECT_EQ(Count("accounts_tasks WHERE tas_id=" + N(task)), 0);
    EXPECT_EQ(Count("opportunities_accounts WHERE acc_id=" + N(m_b)), 1);
}

TEST_F(RelatedAccountsPages, TheClickedAccountNeverOutlivesItsLinkToTheShownRecord) {
    const unsigned other = AddOpp({.subject = "另一个"});
    // A contact of the other opportunity's under account A, which that
    // opportunity does not list.
    Exec("INSERT INTO opportunities_contacts(opp_id, con_id, acc_id) VALUES(" + N(other) + ", " + N(m_b1) + ", " +
         N(m_a) + ")");
    Show(g_Opp_Detail, {m_opp, other}, 0, 2);
    ClickListRow(Accounts(), RowOf("甲公司"));
    ASSERT_TRUE(Enabled(Item(g_Opp_Detail, kAddContact)));

    // After a link change the clicked account's contacts are shown again.
    ClickListRow(Contacts(), 0);
    Press(Item(g_Opp_Detail, kRemoveContact));
    EXPECT_EQ(g_ulRelatingAccID, m_a);
    EXPECT_EQ(RowCount(Contacts()), 1);
    EXPECT_TRUE(Enabled(Item(g_Opp_Detail, kAddContact)));

    // Stepping to an opportunity without account A drops it.
    Click(g_Opp_Detail, g_Opp_Detail.Def().ids.nNext);
    ASSERT_EQ(g_ulRelatingID, other);
    EXPECT_EQ(g_ulRelatingAccID, 0u);
    EXPECT_EQ(RowCount(Contacts()), 0);
    EXPECT_FALSE(Enabled(Item(g_Opp_Detail, kAddContact)));
    EXPECT_TRUE(Choose(Item(g_Opp_Detail, kAddContact), IDM_SELECTCONTACT).empty());
    SendMessageA(Page(g_Opp_Detail), WM_COMMAND, IDM_SELECTCONTACT, 0);  // no picker opens
    Press(Item(g_Opp_Detail, kMassMail));
    EXPECT_EQ(g_Mail.m_nConCount, 0) << "mass mail goes by no account";

    // A page made afresh for a record does not take another record's account.
    g_ulRelatingAccID = m_a;
    Show(g_Opp_Detail, {other}, 0, 0);
    SelectTab(g_Opp_Detail, 2);
    EXPECT_EQ(g_ulRelatingAccID, 0u);
    // While a listed account stays clicked across a new page (as made).
    Show(g_Opp_Detail, {m_opp}, 0, 2);
    ClickListRow(Accounts(), RowOf("乙公司"));
    SelectTab(g_Opp_Detail, 0);
    SelectTab(g_Opp_Detail, 2);
    EXPECT_EQ(g_ulRelatingAccID, m_b);
    EXPECT_EQ(RowCount(Contacts()), 0);
    Press(Item(g_Opp_Detail, kMassMail));
    EXPECT_EQ(g_Mail.m_nConCount, 1);
}

// The clicked account belongs to the page it was clicked on and the record
// it was clicked for: an account clicked on one opportunity, an account form
// shown, then a contact of another account, then an opportunity of that
// account leave its page with no account, and the new contact made after a
// click there names and links the account clicked.
TEST_F(RelatedAccountsPages, TheNewContactShowsAndLinksTheAccountClickedOnThisRecordOnly) {
    const unsigned y = AddOpp({.subject = "乙的机会"});
    Link("opportunities", y, "accounts", m_b);
    Link("opportunities", y, "contacts", m_b1);
    Show(g_Opp_Detail, {m_opp}, 0, 2);
    ClickListRow(Accounts(), RowOf("甲公司"));
    ASSERT_EQ(g_ulRelatingAccID, m_a);
    Show(g_Acc_Detail, {m_a}, 0, 0);
    EXPECT_EQ(g_ulRelatingAccID, m_a);
    EXPECT_STREQ(g_szRelatingAccName, "甲公司");
    Show(g_Con_Detail, {m_b1}, 0, 0);
    EXPECT_EQ(g_ulRelatingAccID, m_b) << "the contact's account, with its name";
    EXPECT_STREQ(g_szRelatingAccName, "乙公司");

    Show(g_Opp_Detail, {y}, 0, 2);
    EXPECT_EQ(g_ulRelatingAccID, 0u);
    EXPECT_STREQ(g_szRelatingAccName, "");
    EXPECT_EQ(RowCount(Contacts()), 0);
    EXPECT_FALSE(Enabled(Item(g_Opp_Detail, kAddContact)));
    const long long nContacts = QueryInt("SELECT COUNT(*) FROM contacts");
    DialogScript none;
    SendMessageA(Page(g_Opp_Detail), WM_COMMAND, IDM_NEWCONTACT, 0);  // no dialog opens
    EXPECT_TRUE(none.Seen().empty());
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM contacts"), nContacts);

    // A click on the account: the dialog names it and links to it.
    ClickListRow(Accounts(), 0);
    ASSERT_EQ(g_ulRelatingAccID, m_b);
    const NewContactMade made = MakeContact("b2");
    EXPECT_EQ(made.account, "乙公司");
    const long long con = made.id;
    EXPECT_EQ(QueryInt("SELECT acc_id FROM accounts_contacts WHERE con_id=" + std::to_string(con)), m_b);
    EXPECT_EQ(QueryInt("SELECT acc_id FROM opportunities_contacts WHERE opp_id=" + N(y) +
                       " AND con_id=" + std::to_string(con)),
              m_b);
    EXPECT_EQ(Count("accounts_contacts WHERE acc_id=" + N(m_a) + " AND con_id=" + std::to_string(con)), 0);
}

// --- The row the keys select --------------------------------------------------------

// The row acted on is the row the list shows selected, by a click or the
// keys: on a page and on both lists of an accounts page (the account the
// keys reach lists its contacts). The keys alone enable remove; a click off
// the rows still disables it.
TEST_F(RelatedAccountsPages, TheRowTheKeysSelectIsTheRowRemoved) {
    const unsigned t1 = AddTask({.subject = "任务一", .date = "2024-01-01"});
    const unsigned t2 = AddTask({.subject = "任务二", .date = "2024-01-02"});
    for (unsigned t : {t1, t2}) Link("accounts", m_a, "tasks", t);
    Show(g_Acc_Detail, {m_a}, 0, 0);
    ClickListRow(Item(g_Acc_Detail, kTaskList), 0);
    Key(Item(g_Acc_Detail, kTaskList), VK_DOWN);
    Press(Item(g_Acc_Detail, kRemoveTask));
    EXPECT_EQ(Count("accounts_tasks WHERE tas_id=" + N(t2)), 0);
    EXPECT_EQ(Count("accounts_tasks WHERE tas_id=" + N(t1)), 1);
    Key(Item(g_Acc_Detail, kTaskList), VK_DOWN);
    EXPECT_TRUE(Enabled(Item(g_Acc_Detail, kRemoveTask)));
    ClickOffRows(Item(g_Acc_Detail, kTaskList));
    EXPECT_FALSE(Enabled(Item(g_Acc_Detail, kRemoveTask)));

    Show(g_Opp_Detail, {m_opp}, 0, 2);
    const int vk = RowOf("甲公司") < RowOf("乙公司") ? VK_UP : VK_DOWN;
    ClickListRow(Accounts(), RowOf("乙公司"));
    Key(Accounts(), vk);
    ASSERT_EQ(RowCount(Contacts()), 2) << "甲公司's contacts";
    const std::string first = Cell(Contacts(), 0, 0);
    ClickListRow(Contacts(), 0);
    Key(Contacts(), VK_DOWN);
    Press(Item(g_Opp_Detail, kRemoveContact));
    EXPECT_EQ(Column(Contacts(), 0), (std::vector<std::string>{first}));
    ClickListRow(Accounts(), RowOf("乙公司"));
    Key(Accounts(), vk);
    Press(Item(g_Opp_Detail, kRemoveAccount));
    EXPECT_EQ(Count("opportunities_accounts WHERE opp_id=" + N(m_opp) + " AND acc_id=" + N(m_a)), 0);
    EXPECT_EQ(Count("opportunities_accounts WHERE opp_id=" + N(m_opp) + " AND acc_id=" + N(m_b)), 1);
}

// --- Adding through the popup, and re-entry ------------------------------------------

TEST_F(RelatedPages, ADialogsReloadRebuildsThePageUnderItsOwnHandler) {
    const unsigned opp = AddOpp({.subject = "机会"});
    for (int i = 1; i <= 3; ++i) Link("opportunities", opp, "tasks", AddTask({.subject = "旧" + std::to_string(i)}));
    Show(g_Opp_Detail, {opp}, 0, 0);
    HWND hPage = Page(g_Opp_Detail);
    HWND hList = Item(g_Opp_Detail, kTaskList);
    ClickListRow(hList, 2);

    // New task: 确定 makes the form reload this page while the page's
    // command handler waits in the dialog.
    int nRowsInside = -1;
    DialogScript script;
    script.Then(IDD_NEW_TASK, [&](HWND h) {
        SetText(h, IDC_NEWTASK_TITLE, "新任务");
        PressButton(h, IDC_NEWRECORD_OK);
        nRowsInside = RowCount(hList);
    });
    const auto items = Choose(Item(g_Opp_Detail, kAddTask), IDM_NEWTASK);
    EXPECT_EQ(items, (std::vector<std::string>{"添加工作日志", "选择计划日志"}));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(nRowsInside, 4);
    EXPECT_EQ(Page(g_Opp_Detail), hPage);
    EXPECT_EQ(RowCount(hList), 4);
    EXPECT_FALSE(Enabled(Item(g_Opp_Detail, kRemoveTask)));
    EXPECT_EQ(Count("opportunities_tasks WHERE opp_id=" + N(opp)), 4);

    // The picker: each double click links and reloads the page behind it.
    const unsigned free1 = AddTask({.subject = "可选一"});
    const unsigned free2 = AddTask({.subject = "可选二"});
    DialogScript picker;
    picker.Then(IDD_SELECT_OBJECT, [&](HWND h) {
        for (int r = 0; r < 2; ++r) DoubleClickRow(h, IDC_PICK_LIST, r);
        PressButton(h, IDCANCEL);
    });
    Choose(Item(g_Opp_Detail, kAddTask), IDM_SELECTTASK);
    EXPECT_TRUE(picker.Finished());
    EXPECT_EQ(
        Count("opportunities_tasks WHERE opp_id=" + N(opp) + " AND tas_id IN (" + N(free1) + "," + N(free2) + ")"), 2);
    EXPECT_EQ(RowCount(hList), 6);
}

TEST_F(RelatedPages, AnAccountAddedOnTheAccountsPageIsListed) {
    const unsigned task = AddTask({.subject = "任务"});
    Show(g_Tas_Detail, {task}, 0, 2);
    DialogScript script;
    script.Then(IDD_NEW_ACCOUNT, [](HWND h) {
        SetText(h, IDC_NEWACC_NAME, "新客户");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    const auto items = Choose(Item(g_Tas_Detail, kAddAccount), IDM_NEWACCOUNT);
    EXPECT_EQ(items, (std::vector<std::string>{"新建客户", "选择客户"}));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(Column(Item(g_Tas_Detail, kAccountList), 0), (std::vector<std::string>{"新客户"}));
    EXPECT_EQ(Count("accounts_tasks WHERE tas_id=" + N(task)), 1);
}

TEST_F(RelatedPages, ANewOpportunityFromAPageIsLinkedAndListed) {
    const unsigned con = AddContact({.name = "联系人"});
    Show(g_Con_Detail, {con}, 0, 1);
    DialogScript script;
    script.Then(IDD_NEW_OPPORTUNITY, [](HWND h) {
        SetText(h, IDC_NEWOPP_SUBJECT, "新机会");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    EXPECT_EQ(Choose(Item(g_Con_Detail, kAddOpportunity), IDM_NEWOPPORTUNITY),
              (std::vector<std::string>{"添加销售机会", "选择销售机会"}));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(Column(Item(g_Con_Detail, kList), 0), (std::vector<std::string>{"新机会"}));
    EXPECT_EQ(Count("opportunities_contacts WHERE con_id=" + N(con)), 1);
}

TEST_F(RelatedAccountsPages, ANewContactOnTheAccountsPageJoinsTheClickedAccount) {
    Show(g_Opp_Detail, {m_opp}, 0, 2);
    ClickListRow(Accounts(), RowOf("甲公司"));
    const NewContactMade made = MakeContact("a3");
    EXPECT_EQ(made.menu, (std::vector<std::string>{"添加联系人", "选择联系人"}));
    EXPECT_EQ(made.account, "甲公司");
    // The account's contacts again, now with the new one.
    EXPECT_EQ(RowCount(Contacts()), 3);
    const long long con = made.id;
    EXPECT_EQ(Count("opportunities_contacts WHERE opp_id=" + N(m_opp) + " AND acc_id=" + N(m_a) +
                    " AND con_id=" + std::to_string(con)),
              1);
    EXPECT_EQ(Count("accounts_contacts WHERE acc_id=" + N(m_a) + " AND con_id=" + std::to_string(con)), 1);

    // The contacts page's new contact starts without that account.
    SelectTab(g_Opp_Detail, 1);
    ASSERT_EQ(g_ulRelatingAccID, m_a);
    const NewContactMade second = MakeContact("散客");
    EXPECT_EQ(second.account, "");
    const long long loose = second.id;
    EXPECT_EQ(QueryInt("SELECT acc_id FROM opportunities_contacts WHERE con_id=" + std::to_string(loose)), 0);
    EXPECT_EQ(Count("accounts_contacts WHERE con_id=" + std::to_string(loose)), 0);
    EXPECT_EQ(RowCount(Item(g_Opp_Detail, kList)), 6);
}

// --- Resources ------------------------------------------------------------------------

TEST_F(RelatedPages, EveryPageReleasesItsFontAndMenu) {
    const unsigned opp = AddOpp({.subject = "机会"});
    Show(g_Opp_Detail, {opp}, 0, 0);
    const int kAdd[3] = {kAddTask, kAddContact, kAddAccount};
    HFONT hOldFont = nullptr;
    HMENU hOldMenu = nullptr;
    const UINT kMarker = 49999;
    for (int i = 0; i < 200; ++i) {
        const int nTab = i % 3;
        SelectTab(g_Opp_Detail, nTab);
        HWND hList = GetDlgItem(Page(g_Opp_Detail), nTab == 0 ? kTaskList : nTab == 1 ? kList : kAccountList);
        const HFONT hFont = (HFONT)SendMessageA(hList, WM_GETFONT, 0, 0);
        ASSERT_NE(hFont, nullptr);
        HMENU hMenu = nullptr;
        w32test::SetPopupMenuHook([&](const w32test::PopupMenuCall& c) {
            hMenu = c.menu;
            return 0u;
        });
        Press(Item(g_Opp_Detail, kAdd[nTab]));
        w32test::SetPopupMenuHook(nullptr);
        ASSERT_NE(hMenu, nullptr);
        // The page before this one let its font and menu go. A handle may
        // come back for a new object: the menu is known by a marker item
        // added below, the font by the page font's description.
        if (hOldMenu) {
            EXPECT_FALSE(GetMenuItemCount(hOldMenu) == 3 && GetMenuItemID(hOldMenu, 2) == kMarker) << "switch " << i;
        }
        LOGFONTA lf = {};
        if (hOldFont && hOldFont != hFont && GetObjectA(hOldFont, sizeof lf, &lf) != 0) {
            EXPECT_FALSE(lf.lfHeight == -15 && lf.lfCharSet == 0 && strcmp(lf.lfFaceName, "宋体") == 0)
                << "switch " << i;
        }
        ASSERT_EQ(GetMenuItemCount(hMenu), 2);
        AppendMenuA(hMenu, MF_STRING, kMarker, "marker");
        hOldFont = hFont;
        hOldMenu = hMenu;
    }
    // The page's font: 宋体, 15 pixels.
    LOGFONTA lf = {};
    ASSERT_NE(GetObjectA(hOldFont, sizeof lf, &lf), 0);
    EXPECT_EQ(lf.lfHeight, -15);
    EXPECT_STREQ(lf.lfFaceName, "宋体");
}

}  // namespace
