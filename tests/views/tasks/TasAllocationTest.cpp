// Id arrays that cannot be had: a day's list (week view), a cell's list and
// the month's array (month view) and the day view's ids, refused through the
// test program's failing array allocation (FailingArrays.h).
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/FailingArrays.h"
#include "tests/views/tasks/TasTest.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_MonthDialogClass.h"
#include "views/tasks/Tas_WeekDialogClass.h"
#include "resources/tasks_ids.h"

using namespace programtest;
using namespace tastest;

namespace {

class TasAllocation : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        // Monday 4 March 2024: two tasks on Tuesday, one on Wednesday.
        AddTask({.subject = "二甲", .date = "2024-03-05", .time = "09:00:00", .description = "x"});
        AddTask({.subject = "二乙", .date = "2024-03-05", .time = "10:00:00", .description = "x"});
        wed = AddTask({.subject = "三", .date = "2024-03-06", .time = "09:00:00", .description = "x"});
        TakeBoxes();
    }
    unsigned wed = 0;
};

TEST_F(TasAllocation, AWeekDayWithoutItsArrayIsEmptyWithCountZero) {
    GotoTas_Week();
    {
        FailArraysOf fail(2);
        g_Tas_Week.m_stDate.wYear = 2024;
        g_Tas_Week.m_stDate.wMonth = 3;
        g_Tas_Week.m_stDate.wDay = 6;
        g_Tas_Week.Load();
    }
    EXPECT_EQ(TakeBoxes().size(), 1u);
    EXPECT_EQ(RowCount(g_Tas_Week.m_DayList[1]), 0);
    EXPECT_EQ(g_Tas_Week.m_DayIDs[1].m_nIDCount, 0);
    EXPECT_EQ(g_Tas_Week.m_DayIDs[1].m_pulID, nullptr);
    EXPECT_EQ(Column(g_Tas_Week.m_DayList[2], 0), (std::vector<std::string>{"三"}));
    DoubleClickRow(g_Tas_Week, g_Tas_Week.m_DayList[1], -1);
    EXPECT_EQ(g_Tas_Detail.CurrentMode(), RecordFormClass::kNew);
}

TEST_F(TasAllocation, TheMonthHandsOnlyTheIdsItStored) {
    GotoTas_Month();
    {
        FailArraysOf fail(2);  // the cell of the 5th
        g_Tas_Month.m_stDate.wYear = 2024;
        g_Tas_Month.m_stDate.wMonth = 3;
        g_Tas_Month.Load();
    }
    EXPECT_EQ(TakeBoxes().size(), 1u);
    // March 2024 starts on a Friday (cell 5).
    const int c5 = 5 + 4, c6 = 5 + 5;
    EXPECT_EQ(RowCount(g_Tas_Month.m_DayList[c5]), 0);
    EXPECT_EQ(g_Tas_Month.m_DayIDs[c5].m_nIDCount, 0);
    ASSERT_EQ(g_Tas_Month.m_MonthIDs.m_nIDCount, 1);
    DoubleClickRow(g_Tas_Month, g_Tas_Month.m_DayList[c6], 0);
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Detail);
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, wed);
    EXPECT_EQ(g_Tas_Detail.m_nIDCount, 1);
}

TEST_F(TasAllocation, WithoutTheMonthsArrayTheCellsOwnIdsAreHanded) {
    GotoTas_Month();
    {
        FailArraysOf fail(3);  // the month's array
        g_Tas_Month.m_stDate.wYear = 2024;
        g_Tas_Month.m_stDate.wMonth = 3;
        g_Tas_Month.Load();
    }
    EXPECT_EQ(TakeBoxes().size(), 1u);
    EXPECT_EQ(g_Tas_Month.m_MonthIDs.m_nIDCount, 0);
    const int c5 = 5 + 4;
    ASSERT_EQ(RowCount(g_Tas_Month.m_DayList[c5]), 2);
    DoubleClickRow(g_Tas_Month, g_Tas_Month.m_DayList[c5], 1);
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Detail);
    EXPECT_EQ(g_Tas_Detail.m_nIDCount, 2);
    EXPECT_EQ(g_Tas_Detail.m_nRow, 1);
}

TEST_F(TasAllocation, TheDayViewWithoutItsArrayIsEmptyWithCountZero) {
    g_Toolbar.OnTasks(nullptr, 0, 0, 0);
    PickDay(2024, 3, 6);
    ASSERT_EQ(RowCount(g_Tas_Homepage.m_ListView), 1);
    {
        FailArraysOf fail(2);
        PickDay(2024, 3, 5);
    }
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(RowCount(g_Tas_Homepage.m_ListView), 0);
    EXPECT_EQ(g_Tas_Homepage.m_nIDCount, 0);
    DoubleClickRow(g_Tas_Homepage, g_Tas_Homepage.m_ListView, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Tas_Homepage);
}

}  // namespace
