// One walk through the opportunity pages with real input events on a real
// X server: open the list, sort it, open a record, edit it, save it.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_StartDialogClass.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"

using namespace programtest;

TEST(OppXvfb, ListSortOpenEditSave) {
    StartFresh();
    AddOpp({.subject = "乙项目", .estimate = 20});
    const unsigned a = AddOpp({.subject = "甲项目", .estimate = 10});
    AddOpp({.subject = "丙项目", .estimate = 30});
    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_OPPORTUNITIES);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Start; });
    ASSERT_EQ(g_pCurrentDialog, &g_Opp_Start);
    w32test::Click(g_Opp_Start.m_hMenuButtons[1]);  // 所有项目机会
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Homepage; });
    ASSERT_EQ(g_pCurrentDialog, &g_Opp_Homepage);
    ASSERT_EQ(RowCount(g_Opp_Homepage.m_ListView), 3);

    w32test::ClickListHeader(g_Opp_Homepage.m_ListView.m_hListView, 4);  // 预计销售额
    w32test::WaitFor([] { return Cell(g_Opp_Homepage.m_ListView, 0, 0) == "丙项目"; });
    EXPECT_EQ(Column(g_Opp_Homepage.m_ListView, 0), (std::vector<std::string>{"丙项目", "乙项目", "甲项目"}));

    w32test::DoubleClickListRow(g_Opp_Homepage.m_ListView.m_hListView, 2);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Detail; });
    ASSERT_EQ(g_pCurrentDialog, &g_Opp_Detail);
    ASSERT_EQ(g_Opp_Detail.m_ulRecordID, a);

    w32test::Click(g_Opp_Detail.m_hEditButton);
    w32test::WaitFor([] { return Enabled(g_Opp_Detail.m_hSaveButton); });
    SetText(g_Opp_Detail.m_hSubject, "");
    w32test::Click(g_Opp_Detail.m_hSubject);
    w32test::TypeText("甲项目改", g_Opp_Detail.m_hSubject);
    w32test::Click(g_Opp_Detail.m_hSaveButton);
    w32test::WaitFor([] { return !Enabled(g_Opp_Detail.m_hSaveButton); });
    EXPECT_EQ(QueryText("SELECT opp_subject FROM opportunities WHERE opp_id=" + std::to_string(a)), "甲项目改");
    EXPECT_FALSE(Enabled(g_Opp_Detail.m_hSaveButton));
    Grab(g_Opp_Detail, "opp_detail_xvfb");
    // The walk left no link row naming a record that does not exist.
    EXPECT_EQ(testsupport::LinksToMissingRecords(Database().Path()), "");
}
