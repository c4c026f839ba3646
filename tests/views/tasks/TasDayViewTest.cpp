// The day view: one date's tasks earliest first, stepping days, the picker's
// close-up, the history (Back shows today), the hand-over to the task form
// and a failed query.
#include <gtest/gtest.h>

#include "tests/views/tasks/TasTest.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_WeekDialogClass.h"
#include "resources/tasks_ids.h"

using namespace programtest;
using namespace tastest;

namespace {

class TasDayView : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        late = AddTask({.subject = "下午拜访", .date = "2024-01-10", .time = "14:30:00", .outlay = 12.5});
        early = AddTask({.subject = "早会", .date = "2024-01-10", .time = "09:05:00"});
        mid = AddTask({.subject = "午前电话", .date = "2024-01-10", .time = "11:00:00", .outlay = 3});
        AddTask({.subject = "第二天", .date = "2024-01-11", .time = "08:00:00"});
        g_Toolbar.OnTasks(nullptr, 0, 0, 0);
    }
    unsigned late = 0, early = 0, mid = 0;
    Tas_HomepageDialogClass& page = g_Tas_Homepage;
};

TEST_F(TasDayView, ListsOneDatesTasksEarliestFirstInTheTaskRowFormat) {
    ASSERT_EQ(g_pCurrentDialog, &page);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_TASKS));
    PickDay(2024, 1, 10);
    ASSERT_EQ(RowCount(page.m_ListView), 3);
    EXPECT_EQ(Column(page.m_ListView, 1), (std::vector<std::string>{"9:5", "11:0", "14:30"}));
    EXPECT_EQ(Cell(page.m_ListView, 0, 0), "2024-1-10");
    EXPECT_EQ(Cell(page.m_ListView, 0, 2), "早会");
    EXPECT_EQ(Cell(page.m_ListView, 2, 3), "12.50");
    ASSERT_EQ(page.m_nIDCount, 3);
    EXPECT_EQ(page.m_pulID[0], early);
    EXPECT_EQ(page.m_pulID[1], mid);
    EXPECT_EQ(page.m_pulID[2], late);
    EXPECT_STREQ(page.m_szTitle, "所有的计划日志共3条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。");
    // The captions invite a click, but the store has one order only.
    ClickColumn(page, page.m_ListView, 2);
    EXPECT_EQ(Cell(page.m_ListView, 0, 2), "早会");
    Grab(page, "tas_day");
}

TEST_F(TasDayView, StepsDaysAcrossTheYearEndAndThroughLeapFebruaries) {
    PickDay(2023, 12, 31);
    Click(page, IDC_TASH_NEXT);
    EXPECT_TRUE(SameDay(page.m_stDate, 2024, 1, 1));
    EXPECT_TRUE(SameDay(PickerDate(page.m_hPicker), 2024, 1, 1));
    struct Case {
        int year, day;
    };
    for (Case c : {Case{2000, 29}, Case{2024, 29}, Case{1900, 28}, Case{2023, 28}}) {
        PickDay(c.year, 3, 1);
        Click(page, IDC_TASH_PREV);
        EXPECT_TRUE(SameDay(page.m_stDate, c.year, 2, c.day)) << c.year;
    }
    PickDay(2024, 1, 9);
    Click(page, IDC_TASH_NEXT);
    EXPECT_EQ(RowCount(page.m_ListView), 3);
    Click(page, IDC_TASH_NEXT);
    EXPECT_EQ(Column(page.m_ListView, 2), (std::vector<std::string>{"第二天"}));
    EXPECT_STREQ(page.m_szTitle, "所有的计划日志共1条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。");
}

TEST_F(TasDayView, ADayBeforeTheCalendarKeepsTheDateShown) {
    PickDay(2024, 1, 10);
    page.m_stDate.wYear = 1;
    page.m_stDate.wMonth = 1;
    page.m_stDate.wDay = 1;
    Click(page, IDC_TASH_PREV);
    EXPECT_TRUE(SameDay(page.m_stDate, 1, 1, 1));
    EXPECT_EQ(RowCount(page.m_ListView), 3);  // nothing listed anew
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(TasDayView, BackShowsTodayWhileTheToolbarShowsTheDateLeft) {
    PickDay(2024, 1, 10);
    GotoTas_Week();
    Back();
    ASSERT_EQ(g_pCurrentDialog, &page);
    const SYSTEMTIME now = Today();
    EXPECT_TRUE(SameDay(page.m_stDate, now.wYear, now.wMonth, now.wDay));
    EXPECT_TRUE(SameDay(PickerDate(page.m_hPicker), now.wYear, now.wMonth, now.wDay));
    EXPECT_EQ(RowCount(page.m_ListView), 0);

    PickDay(2024, 1, 10);
    GotoTas_Week();
    g_Toolbar.OnTasks(nullptr, 0, 0, 0);
    EXPECT_TRUE(SameDay(page.m_stDate, 2024, 1, 10));
    EXPECT_EQ(RowCount(page.m_ListView), 3);
    GotoTas_Week();
    Click(g_Tas_Week, IDC_TASW_MENU_DAY);  // 按天显示
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_TRUE(SameDay(page.m_stDate, 2024, 1, 10));
    // 今天 resets the date even while the page is shown.
    Click(page, IDC_TASH_MENU_TODAY);
    EXPECT_TRUE(SameDay(page.m_stDate, now.wYear, now.wMonth, now.wDay));
}

TEST_F(TasDayView, ADoubleClickHandsTheDayToTheFormAndBelowTheRowsOpensABlankTask) {
    PickDay(2024, 1, 10);
    DoubleClickRow(page, page.m_ListView, 1);
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Detail);
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, mid);
    ASSERT_EQ(g_Tas_Detail.m_nIDCount, 3);
    EXPECT_EQ(g_Tas_Detail.m_pulID[0], early);
    EXPECT_EQ(g_Tas_Detail.m_nRow, 1);
    EXPECT_STREQ(g_Tas_Detail.m_szTitle, "所有计划日志");
    Back();
    DoubleClickRow(page, page.m_ListView, -1);
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Detail);
    EXPECT_EQ(g_Tas_Detail.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(g_Tas_Detail.m_pulID, nullptr);
    EXPECT_EQ(g_Tas_Detail.m_nIDCount, 0);
}

TEST_F(TasDayView, AFailedQueryKeepsTheRowsWithTheirCount) {
    PickDay(2024, 1, 10);
    ASSERT_EQ(RowCount(page.m_ListView), 3);
    Database().Exec("ALTER TABLE tasks RENAME TO tasks_gone");
    TakeBoxes();
    Click(page, IDC_TASH_NEXT);
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(RowCount(page.m_ListView), 3);
    EXPECT_EQ(page.m_nIDCount, 3);
    EXPECT_STREQ(page.m_szTitle, "所有的计划日志共3条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。");
    DoubleClickRow(page, page.m_ListView, 2);
    EXPECT_EQ(g_Tas_Detail.m_nIDCount, 3);
    Database().Exec("ALTER TABLE tasks_gone RENAME TO tasks");
}

}  // namespace
