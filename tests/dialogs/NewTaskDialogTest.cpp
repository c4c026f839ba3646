// The new-task dialog of the tasks pages: its title, what 确定 stores and
// links, the shown record's recent-contact date, and cancelling or failing.
#include <gtest/gtest.h>

#include "tests/dialogs/DialogTestSupport.h"

#include "dialogs/NewRecordDialogs.h"
#include "shell/RelatingGlobals.h"

#include <string>

using namespace programtest;
using namespace dialogtest;

namespace {

class NewTaskDialog : public ::testing::Test {
protected:
    void SetUp() override { StartFresh(); }
    void TearDown() override { g_ulRelatingID = 0; }
    long long Tasks() { return QueryInt("SELECT COUNT(*) FROM tasks"); }
};

TEST_F(NewTaskDialog, TheTitleStartsWithTheShownRecordsName) {
    SetRelatingName(g_szRelatingName, "塔维尔");
    std::string title;
    RunDialog(IDD_NEW_TASK, NewTaskDlgProc_AccDetail, [&](HWND h) {
        title = GetText(h, IDC_NEWTASK_TITLE);
        PressButton(h, IDCANCEL);
    });
    EXPECT_EQ(title, "塔维尔");
}

TEST_F(NewTaskDialog, ConfirmLinksTheTaskToTheShownRecordAndDatesItToday) {
    const struct {
        DLGPROC member;
        const char* pszKind;
        const char* pszLinkTable;
        const char* pszRecentColumn;
        const char* pszIdColumn;
    } kMembers[] = {
        {NewTaskDlgProc_OppDetail, "opportunities", "opportunities_tasks", "opp_recent_contact_date", "opp_id"},
        {NewTaskDlgProc_AccDetail, "accounts", "accounts_tasks", "acc_recent_contact_date", "acc_id"},
        {NewTaskDlgProc_ConDetail, "contacts", "contacts_tasks", "con_recent_contact_date", "con_id"},
    };
    for (const auto& m : kMembers) {
        SCOPED_TRACE(m.pszKind);
        unsigned id = 0;
        if (m.member == NewTaskDlgProc_OppDetail) id = AddOpp({.subject = "机会"});
        if (m.member == NewTaskDlgProc_AccDetail) id = AddAccount({.name = "客户"});
        if (m.member == NewTaskDlgProc_ConDetail) id = AddContact({.name = "联系人"});
        g_ulRelatingID = id;
        RunDialog(IDD_NEW_TASK, m.member, [](HWND h) {
            SetText(h, IDC_NEWTASK_TITLE, "拜访");
            PressButton(h, IDC_NEWRECORD_OK);
        });
        const long long t = QueryInt("SELECT MAX(tas_id) FROM tasks");
        EXPECT_EQ(QueryText("SELECT tas_subject FROM tasks WHERE tas_id=" + std::to_string(t)), "拜访");
        EXPECT_EQ(QueryInt(std::string("SELECT ") + m.pszIdColumn + " FROM " + m.pszLinkTable +
                           " WHERE tas_id=" + std::to_string(t)),
                  (long long)id);
        auto rows = Database().Query(std::string("SELECT ") + m.pszRecentColumn + " FROM " + m.pszKind + " WHERE " +
                                     m.pszIdColumn + "=" + std::to_string(id));
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][0], Today());
    }
}

TEST_F(NewTaskDialog, CostDoneAndReminderAreStoredAsTyped) {
    const unsigned o = AddOpp({.subject = "机会"});
    g_ulRelatingID = o;
    RunDialog(IDD_NEW_TASK, NewTaskDlgProc_OppDetail, [](HWND h) {
        SetText(h, IDC_NEWTASK_COST, "12.5");
        SendDlgItemMessageA(h, IDC_NEWTASK_CLOSED, BM_SETCHECK, BST_CHECKED, 0);
        SendDlgItemMessageA(h, IDC_NEWTASK_REMIND, BM_SETCHECK, BST_CHECKED, 0);
        PressButton(h, IDC_NEWRECORD_OK);
    });
    auto rows = Database().Query(
        "SELECT tas_outlay, tas_closed, tas_remind, tas_private FROM tasks "
        "ORDER BY tas_id DESC LIMIT 1");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_DOUBLE_EQ(std::stod(rows[0][0]), 12.5);
    EXPECT_EQ(rows[0][1], "1");
    EXPECT_EQ(rows[0][2], "1");
    EXPECT_EQ(rows[0][3], "0");
    const AfterOk refused = TypeAndPressOk(IDD_NEW_TASK, NewTaskDlgProc_OppDetail, IDC_NEWTASK_COST, "12万");
    EXPECT_TRUE(refused.bOpen);
    EXPECT_EQ(refused.typed, "12万");
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"“费用”不是有效的金额，请输入一个有限的数字。"});
    EXPECT_EQ(Tasks(), 1);
    RunDialog(IDD_NEW_TASK, NewTaskDlgProc_OppDetail, [](HWND h) {
        SetText(h, IDC_NEWTASK_COST, "");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    EXPECT_EQ(QueryText("SELECT tas_outlay FROM tasks ORDER BY tas_id DESC"), "0");
}

TEST_F(NewTaskDialog, CancelStoresNothingAndLeavesTheRecentDate) {
    const unsigned o = AddOpp({.subject = "机会", .contact = "2024-02-01"});
    g_ulRelatingID = o;
    const long long n = Tasks();
    RunDialog(IDD_NEW_TASK, NewTaskDlgProc_OppDetail, [](HWND h) { PressButton(h, IDCANCEL); });
    RunDialog(IDD_NEW_TASK, NewTaskDlgProc_OppDetail, [](HWND h) { SendMessageA(h, WM_CLOSE, 0, 0); });
    EXPECT_EQ(Tasks(), n);
    EXPECT_EQ(
        Database().Query("SELECT opp_recent_contact_date FROM opportunities WHERE opp_id=" + std::to_string(o))[0][0],
        "2024-02-01");
}

TEST_F(NewTaskDialog, AFailedInsertKeepsTheTypedTaskOpen) {
    const unsigned o = AddOpp({.subject = "机会"});
    g_ulRelatingID = o;
    FailInsertsInto("tasks");
    const AfterOk seen = TypeAndPressOk(IDD_NEW_TASK, NewTaskDlgProc_OppDetail, IDC_NEWTASK_TITLE, "保留");
    EXPECT_TRUE(seen.bOpen);
    EXPECT_EQ(seen.typed, "保留");
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_tasks WHERE opp_id=" + std::to_string(o)), 0);
}

// A title longer than the store keeps is cut, as the task form cuts it: 254
// bytes, never half a character; the task is stored without a box.
TEST_F(NewTaskDialog, ALongTitleIsCutNotRefused) {
    g_ulRelatingID = AddAccount({.name = "客户"});
    std::string chinese;
    for (int i = 0; i < 200; ++i) chinese += "汉";  // 400 bytes (the tests' texts are GBK)
    const struct {
        std::string typed, stored;
    } kTitles[] = {
        {std::string(300, 'x'), std::string(254, 'x')},
        {chinese, chinese.substr(0, 254)},
        {"x" + chinese, "x" + chinese.substr(0, 252)},  // not half a character
    };
    for (const auto& t : kTitles) {
        const long long n = Tasks();
        RunDialog(IDD_NEW_TASK, NewTaskDlgProc_AccDetail, [&](HWND h) {
            SetText(h, IDC_NEWTASK_TITLE, t.typed);
            PressButton(h, IDC_NEWRECORD_OK);
        });
        EXPECT_EQ(Tasks(), n + 1);
        EXPECT_EQ(QueryText("SELECT tas_subject FROM tasks WHERE tas_id=(SELECT MAX(tas_id) FROM tasks)"), t.stored);
        EXPECT_TRUE(TakeBoxes().empty());
    }
}

}  // namespace
