// One walk through the account pages with real input events on a real X
// server: 客户单位, the list, a record opened, edited and saved, a statistics
// page, and Back.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_ImportantStatDialogClass.h"
#include "views/accounts/Acc_StartDialogClass.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"

using namespace programtest;

TEST(AccXvfb, ListOpenEditSaveStatisticsBack) {
    StartFresh();
    AddAccount({.name = "乙公司", .important = "中"});
    const unsigned a = AddAccount({.name = "甲公司", .important = "高"});
    AddAccount({.name = "丙公司", .important = "高"});
    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_ACCOUNTS);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Acc_Start; });
    ASSERT_EQ(g_pCurrentDialog, &g_Acc_Start);
    w32test::Click(g_Acc_Start.m_hMenuButtons[1]);  // 所有客户单位
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Acc_Homepage; });
    ASSERT_EQ(g_pCurrentDialog, &g_Acc_Homepage);
    ASSERT_EQ(RowCount(g_Acc_Homepage.m_ListView), 3);

    w32test::DoubleClickListRow(g_Acc_Homepage.m_ListView.m_hListView, 1);  // 甲
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Acc_Detail; });
    ASSERT_EQ(g_pCurrentDialog, &g_Acc_Detail);
    ASSERT_EQ(g_Acc_Detail.m_ulRecordID, a);

    w32test::Click(g_Acc_Detail.m_hEditButton);
    w32test::WaitFor([] { return Enabled(g_Acc_Detail.m_hSaveButton); });
    SetText(g_Acc_Detail.m_hName, "");
    w32test::Click(g_Acc_Detail.m_hName);
    w32test::TypeText("甲公司改", g_Acc_Detail.m_hName);
    w32test::Click(g_Acc_Detail.m_hSaveButton);
    w32test::WaitFor([] { return !Enabled(g_Acc_Detail.m_hSaveButton); });
    EXPECT_EQ(QueryText("SELECT acc_name FROM accounts WHERE acc_id=" + std::to_string(a)), "甲公司改");

    w32test::Click(g_Acc_Detail.m_hMenuButtons[2]);  // 重要性查询
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Acc_ImportantStat; });
    ASSERT_EQ(g_pCurrentDialog, &g_Acc_ImportantStat);
    EXPECT_EQ(Cell(g_Acc_ImportantStat.m_CategoryList, 2, 0), "高");
    EXPECT_EQ(Cell(g_Acc_ImportantStat.m_CategoryList, 2, 1), "2");

    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_BACK);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Acc_Detail; });
    ASSERT_EQ(g_pCurrentDialog, &g_Acc_Detail);
    EXPECT_EQ(Text(g_Acc_Detail.m_hName), "甲公司改");
    Grab(g_Acc_Detail, "acc_detail_xvfb");
    // The walk left no link row naming a record that does not exist.
    EXPECT_EQ(testsupport::LinksToMissingRecords(Database().Path()), "");
}
