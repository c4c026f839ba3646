// One walk through the relation pages with real input events on a real X
// server: open an opportunity, add a new contact with a new account on its
// 联系人 tab, pick an existing task on its 计划日志 tab, open that task and
// find the opportunity on the task's 销售机会 tab; the link tables follow.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"

#include "dialogs/NewRecordDialogs.h"
#include "dialogs/RecordPickers.h"
#include "resources/shell_ids.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_StartDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"

#include <deque>
#include <string>

using namespace programtest;

namespace {

// Types into a dialog's field as a user would.
void Type(HWND hDlg, int nID, const std::string& gbk) {
    HWND h = GetDlgItem(hDlg, nID);
    w32test::Click(h);
    w32test::TypeText(gbk, h);
}

long long Count(const std::string& sql) { return QueryInt("SELECT COUNT(*) FROM " + sql); }

}  // namespace

TEST(RelatedXvfb, NewContactWithNewAccountThenPickAndOpenATask) {
    StartFresh();
    const unsigned opp = AddOpp({.subject = "甲项目"});
    const unsigned task = AddTask({.subject = "拜访客户"});
    // The popups answer in turn, as a user choosing their entries.
    std::deque<UINT> choices = {IDM_NEWCONTACT, IDM_NEWACCOUNT, IDM_SELECTTASK};
    w32test::SetPopupMenuHook([&](const w32test::PopupMenuCall&) {
        if (choices.empty()) return 0u;
        const UINT n = choices.front();
        choices.pop_front();
        return n;
    });

    // Open the opportunity from the list.
    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_OPPORTUNITIES);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Start; }));
    w32test::Click(g_Opp_Start.m_hMenuButtons[1]);  // 所有项目机会
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Homepage; }));
    w32test::DoubleClickListRow(g_Opp_Homepage.m_ListView.m_hListView, 0);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Detail; }));
    ASSERT_EQ(g_Opp_Detail.m_ulRecordID, opp);

    // 联系人: a new contact whose account is made through "...".
    w32test::ClickTab(g_Opp_Detail.m_Tab.m_hTab, 1);
    ASSERT_TRUE(w32test::WaitFor([] { return GetDlgItem(g_Opp_Detail.m_Tab.m_hPage, 11409) != nullptr; }));
    HWND hPage = g_Opp_Detail.m_Tab.m_hPage;
    std::string accountShown;
    DialogScript script;
    script
        .Then(IDD_NEW_CONTACT,
              [&](HWND h) {
                  Type(h, IDC_NEWCONTACT_NAME, "王五");
                  w32test::Click(GetDlgItem(h, IDC_NEWCONTACT_ACCOUNTMENU));
                  w32test::WaitFor([&] { return !GetText(h, IDC_NEWCONTACT_ACCOUNT).empty(); });
                  accountShown = GetText(h, IDC_NEWCONTACT_ACCOUNT);
                  w32test::Click(GetDlgItem(h, IDC_NEWRECORD_OK));
              })
        .Then(IDD_NEW_ACCOUNT,
              [&](HWND h) {
                  Type(h, IDC_NEWACC_NAME, "乙公司");
                  w32test::Click(GetDlgItem(h, IDC_NEWRECORD_OK));
              })
        .Then(IDD_SELECT_OBJECT, [&](HWND h) {
            HWND hList = GetDlgItem(h, IDC_PICK_LIST);
            ASSERT_TRUE(w32test::WaitFor([&] { return RowCount(hList) == 1; }));
            w32test::DoubleClickListRow(hList, 0);  // links at once; the picker stays
            w32test::WaitFor([&] { return Count("opportunities_tasks") == 1; });
            w32test::Click(GetDlgItem(h, IDCANCEL));
        });
    w32test::Click(GetDlgItem(hPage, 11402));  // 添加相关联系人
    ASSERT_TRUE(w32test::WaitFor([&] { return script.Seen().size() == 2 && RowCount(GetDlgItem(hPage, 1079)) == 1; }));
    EXPECT_EQ(accountShown, "乙公司");
    HWND hContacts = GetDlgItem(hPage, 1079);
    EXPECT_EQ(Cell(hContacts, 0, 0), "王五");
    EXPECT_EQ(Cell(hContacts, 0, 1), "乙公司");
    const long long con = QueryInt("SELECT con_id FROM contacts WHERE con_name='王五'");
    const long long acc = QueryInt("SELECT acc_id FROM accounts WHERE acc_name='乙公司'");
    const std::string o = std::to_string(opp), c = std::to_string(con), a = std::to_string(acc);
    EXPECT_EQ(Count("opportunities_contacts WHERE opp_id=" + o + " AND con_id=" + c + " AND acc_id=" + a), 1);
    EXPECT_EQ(Count("accounts_contacts WHERE acc_id=" + a + " AND con_id=" + c), 1);
    EXPECT_EQ(Count("opportunities_accounts WHERE opp_id=" + o + " AND acc_id=" + a), 1);

    // 计划日志: pick the existing task.
    w32test::ClickTab(g_Opp_Detail.m_Tab.m_hTab, 0);
    ASSERT_TRUE(w32test::WaitFor([] { return GetDlgItem(g_Opp_Detail.m_Tab.m_hPage, 10153) != nullptr; }));
    hPage = g_Opp_Detail.m_Tab.m_hPage;
    w32test::Click(GetDlgItem(hPage, 11404));  // 添加相关计划日志
    HWND hTasks = GetDlgItem(hPage, 10153);
    ASSERT_TRUE(w32test::WaitFor([&] { return script.Finished() && RowCount(hTasks) == 1; }));
    EXPECT_EQ(Cell(hTasks, 0, 2), "拜访客户");
    EXPECT_EQ(Count("opportunities_tasks WHERE opp_id=" + o + " AND tas_id=" + std::to_string(task)), 1);

    // Open it: the task's 销售机会 tab shows the opportunity.
    w32test::DoubleClickListRow(hTasks, 0);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Tas_Detail; }));
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, task);
    w32test::ClickTab(g_Tas_Detail.m_Tab.m_hTab, 0);
    HWND hOpps = GetDlgItem(g_Tas_Detail.m_Tab.m_hPage, 1079);
    ASSERT_TRUE(w32test::WaitFor([&] { return RowCount(hOpps) == 1; }));
    EXPECT_EQ(Cell(hOpps, 0, 0), "甲项目");
    Grab(g_Tas_Detail, "related_xvfb_task");
    w32test::SetPopupMenuHook(nullptr);
    // The walk left no link row naming a record that does not exist.
    EXPECT_EQ(testsupport::LinksToMissingRecords(Database().Path()), "");
}
