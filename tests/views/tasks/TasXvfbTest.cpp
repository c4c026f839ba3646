// One walk through the task pages with real input events on a real X server:
// 计划日志 opens the day view, a new task is entered and saved, the week and
// the month view show it, the month view opens it, it is edited, and Back
// returns to the month view.
#include <gtest/gtest.h>

#include "tests/views/tasks/TasTest.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_MonthDialogClass.h"
#include "views/tasks/Tas_WeekDialogClass.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"

using namespace programtest;
using namespace tastest;

TEST(TasXvfb, DayNewSaveWeekMonthEditBack) {
    StartFresh();
    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_TASKS);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Tas_Homepage; });
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Homepage);

    w32test::Click(g_Tas_Homepage.m_hMenuButtons[0]);  // 添加计划日志
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Tas_Detail; });
    ASSERT_EQ(g_Tas_Detail.CurrentMode(), RecordFormClass::kNew);
    w32test::Click(g_Tas_Detail.m_hSubject);
    w32test::TypeText("客户拜访", g_Tas_Detail.m_hSubject);
    w32test::Click(g_Tas_Detail.m_hCost);
    w32test::TypeText("25.5", g_Tas_Detail.m_hCost);
    w32test::Click(g_Tas_Detail.m_hSaveButton);
    w32test::WaitFor([] { return g_Tas_Detail.CurrentMode() == RecordFormClass::kBrowse; });
    const unsigned id = (unsigned)QueryInt("SELECT MAX(tas_id) FROM tasks");
    ASSERT_EQ(QueryText("SELECT tas_subject FROM tasks WHERE tas_id=" + std::to_string(id)), "客户拜访");
    EXPECT_EQ(Text(g_Tas_Detail.m_hCost), "25.50");

    w32test::Click(g_Tas_Detail.m_hMenuButtons[4]);  // 按周显示
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Tas_Week; });
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Week);
    const SYSTEMTIME now = Today();
    const int nDay = now.wDayOfWeek == 0 ? 6 : now.wDayOfWeek - 1;
    EXPECT_EQ(Column(g_Tas_Week.m_DayList[nDay], 0), (std::vector<std::string>{"客户拜访"}));

    w32test::Click(g_Tas_Week.m_hMenuButtons[5]);  // 按月显示
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Tas_Month; });
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Month);
    int nCell = -1;
    for (int c = 0; c < Tas_MonthDialogClass::kCells; c++)
        if (RowCount(g_Tas_Month.m_DayList[c]) > 0) nCell = c;
    ASSERT_GE(nCell, 0);
    w32test::DoubleClickListRow(g_Tas_Month.m_DayList[nCell].m_hListView, 0);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Tas_Detail; });
    ASSERT_EQ(g_Tas_Detail.m_ulRecordID, id);

    w32test::Click(g_Tas_Detail.m_hEditButton);
    w32test::WaitFor([] { return Enabled(g_Tas_Detail.m_hSaveButton); });
    SetText(g_Tas_Detail.m_hSubject, "");
    w32test::Click(g_Tas_Detail.m_hSubject);
    w32test::TypeText("客户回访", g_Tas_Detail.m_hSubject);
    w32test::Click(g_Tas_Detail.m_hClosed);
    w32test::Click(g_Tas_Detail.m_hSaveButton);
    w32test::WaitFor([] { return !Enabled(g_Tas_Detail.m_hSaveButton); });
    EXPECT_EQ(QueryText("SELECT tas_subject FROM tasks WHERE tas_id=" + std::to_string(id)), "客户回访");
    EXPECT_EQ(QueryInt("SELECT tas_closed FROM tasks WHERE tas_id=" + std::to_string(id)), 1);
    Grab(g_Tas_Detail, "tas_detail_xvfb");

    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_BACK);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Tas_Month; });
    EXPECT_EQ(g_pCurrentDialog, &g_Tas_Month);
    Grab(g_Tas_Month, "tas_month_xvfb");
    // The walk left no link row naming a record that does not exist.
    EXPECT_EQ(testsupport::LinksToMissingRecords(Database().Path()), "");
}
