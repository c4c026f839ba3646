// The week and the month view: the days and their captions for a given date,
// stepping, the lists filled from one query, the hand-over of a day (week) or
// of the whole month, the history, and offscreen images with seeded data.
#include <gtest/gtest.h>

#include "tests/views/tasks/TasTest.h"
#include "views/tasks/Tas_ClosedStatDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_MonthDialogClass.h"
#include "views/tasks/Tas_WeekDialogClass.h"
#include "resources/tasks_ids.h"

using namespace programtest;
using namespace tastest;

namespace {

std::string Caption(ListViewClass& list) {
    char sz[128] = "";
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = sz;
    col.cchTextMax = sizeof(sz);
    list.GetColumn(0, &col);
    return sz;
}

// Shows a page on a date of its reference: the page opens on today, then
// its reference date is set and the page loaded.
void ShowWeekOf(int y, int m, int d) {
    GotoTas_Week();
    g_Tas_Week.m_stDate.wYear = (WORD)y;
    g_Tas_Week.m_stDate.wMonth = (WORD)m;
    g_Tas_Week.m_stDate.wDay = (WORD)d;
    g_Tas_Week.Load();
}

void ShowMonthOf(int y, int m) {
    GotoTas_Month();
    g_Tas_Month.m_stDate.wYear = (WORD)y;
    g_Tas_Month.m_stDate.wMonth = (WORD)m;
    g_Tas_Month.Load();
}

std::string TimeText(int h, int m) {
    char sz[32];
    snprintf(sz, sizeof(sz), "%02d:%02d:00", h, m);
    return sz;
}

int NumberedCells() {
    int n = 0;
    for (int c = 0; c < Tas_MonthDialogClass::kCells; c++)
        if (!Caption(g_Tas_Month.m_DayList[c]).empty()) n++;
    return n;
}

class TasWeek : public ::testing::Test {
protected:
    void SetUp() override { StartFresh(); }
    Tas_WeekDialogClass& page = g_Tas_Week;
};

TEST_F(TasWeek, OpensOnTodaysWeekWithAnEntryAndTheTasksButton) {
    const int nEntries = HistoryCount();
    GotoTas_Week();
    ASSERT_EQ(g_pCurrentDialog, &page);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_TASKS));
    EXPECT_EQ(HistoryCount(), nEntries + 1);
    const SYSTEMTIME now = Today();
    EXPECT_TRUE(SameDay(page.m_stDate, now.wYear, now.wMonth, now.wDay));
    EXPECT_GE(page.m_stDate.wDayOfWeek, 1);
    EXPECT_LE(page.m_stDate.wDayOfWeek, 7);
}

TEST_F(TasWeek, ASundayShowsTheWeekFromTheMondayBeforeAndAMondayItsOwnWeek) {
    ShowWeekOf(2026, 1, 4);  // a Sunday
    EXPECT_EQ(page.m_stDate.wDayOfWeek, 7);
    EXPECT_EQ(Caption(page.m_DayList[0]), "周一 2025年12月29日");
    EXPECT_EQ(Caption(page.m_DayList[2]), "周三 2025年12月31日");
    EXPECT_EQ(Caption(page.m_DayList[3]), "周四 2026年1月1日");
    EXPECT_EQ(Caption(page.m_DayList[6]), "周日 2026年1月4日");
    ShowWeekOf(2025, 12, 29);  // a Monday
    EXPECT_EQ(page.m_stDate.wDayOfWeek, 1);
    EXPECT_EQ(Caption(page.m_DayList[0]), "周一 2025年12月29日");
    EXPECT_EQ(Caption(page.m_DayList[6]), "周日 2026年1月4日");
    EXPECT_EQ(page.m_dtWeekStart.year, 2025);
    EXPECT_EQ(page.m_dtWeekEnd.day, 4);
}

TEST_F(TasWeek, WeeksAcrossFebruaryHaveThe29thOnlyInLeapYears) {
    ShowWeekOf(2024, 2, 26);
    EXPECT_EQ(Caption(page.m_DayList[3]), "周四 2024年2月29日");
    ShowWeekOf(2023, 2, 27);
    EXPECT_EQ(Caption(page.m_DayList[2]), "周三 2023年3月1日");
    ShowWeekOf(2000, 2, 28);
    EXPECT_EQ(Caption(page.m_DayList[1]), "周二 2000年2月29日");
    ShowWeekOf(1900, 2, 26);
    EXPECT_EQ(Caption(page.m_DayList[3]), "周四 1900年3月1日");
}

TEST_F(TasWeek, NextThenPreviousReturnsToTheSameWeekWithoutEntries) {
    ShowWeekOf(2024, 3, 6);  // a Wednesday
    const int nEntries = HistoryCount();
    Click(page, IDC_TASW_NEXT);
    EXPECT_TRUE(SameDay(page.m_stDate, 2024, 3, 13));
    EXPECT_EQ(Caption(page.m_DayList[0]), "周一 2024年3月11日");
    Click(page, IDC_TASW_PREV);
    EXPECT_TRUE(SameDay(page.m_stDate, 2024, 3, 6));
    EXPECT_EQ(page.m_stDate.wDayOfWeek, 3);
    EXPECT_EQ(Caption(page.m_DayList[0]), "周一 2024年3月4日");
    EXPECT_EQ(HistoryCount(), nEntries);
}

TEST_F(TasWeek, EachDayListsItsTasksEarliestFirstAndADoubleClickStepsThroughThatDay) {
    const unsigned late = AddTask({.subject = "周二下午", .date = "2024-03-05", .time = "15:00:00"});
    const unsigned early = AddTask({.subject = "周二早上", .date = "2024-03-05", .time = "09:05:00"});
    AddTask({.subject = "周日", .date = "2024-03-10", .time = "10:00:00"});
    AddTask({.subject = "下周一", .date = "2024-03-11", .time = "10:00:00"});
    ShowWeekOf(2024, 2, 26);
    Click(page, IDC_TASW_NEXT);
    Click(page, IDC_TASW_NEXT);
    Click(page, IDC_TASW_PREV);  // the week of 4 March
    ASSERT_EQ(Caption(page.m_DayList[1]), "周二 2024年3月5日");
    EXPECT_EQ(Column(page.m_DayList[1], 0), (std::vector<std::string>{"周二早上", "周二下午"}));
    EXPECT_EQ(Column(page.m_DayList[1], 1), (std::vector<std::string>{"9:5", "15:0"}));
    EXPECT_EQ(Column(page.m_DayList[6], 0), (std::vector<std::string>{"周日"}));
    EXPECT_EQ(RowCount(page.m_DayList[0]), 0);
    EXPECT_EQ(page.m_DayIDs[0].m_nIDCount, 0);
    ASSERT_EQ(page.m_DayIDs[1].m_nIDCount, 2);
    EXPECT_EQ(page.m_DayIDs[1].m_pulID[0], early);

    DoubleClickRow(page, page.m_DayList[1], 1);
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Detail);
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, late);
    EXPECT_EQ(g_Tas_Detail.m_nIDCount, 2);
    EXPECT_EQ(g_Tas_Detail.m_nRow, 1);
    Click(g_Tas_Detail, IDC_TASD_FIRST);
    EXPECT_EQ(Text(g_Tas_Detail.m_hSubject), "周二早上");
    EXPECT_FALSE(Enabled(g_Tas_Detail.m_hPrevButton));

    // Back shows the week last shown.
    Back();
    ASSERT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(Caption(page.m_DayList[0]), "周一 2024年3月4日");
    EXPECT_EQ(RowCount(page.m_DayList[1]), 2);

    DoubleClickRow(page, page.m_DayList[0], -1);
    EXPECT_EQ(g_Tas_Detail.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(g_Tas_Detail.m_pulID, nullptr);
}

TEST_F(TasWeek, TheQuickSearchGoesToTheAllTasksList) {
    AddTask({.subject = "找我", .date = "2024-03-05"});
    GotoTas_Week();
    SetText(page.m_hSearchEdit, "找");
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_ListAll);
    EXPECT_EQ(RowCount(g_Tas_ListAll.m_ListView), 1);
}

TEST_F(TasWeek, AFailedQueryShowsTheNewWeekEmpty) {
    AddTask({.subject = "周二", .date = "2024-03-05"});
    ShowWeekOf(2024, 3, 5);
    ASSERT_EQ(RowCount(page.m_DayList[1]), 1);
    Database().Exec("ALTER TABLE tasks RENAME TO tasks_gone");
    TakeBoxes();
    Click(page, IDC_TASW_NEXT);
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(Caption(page.m_DayList[1]), "周二 2024年3月12日");
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(RowCount(page.m_DayList[i]), 0);
        EXPECT_EQ(page.m_DayIDs[i].m_nIDCount, 0);
    }
    Database().Exec("ALTER TABLE tasks_gone RENAME TO tasks");
}

class TasMonth : public ::testing::Test {
protected:
    void SetUp() override { StartFresh(); }
    Tas_MonthDialogClass& page = g_Tas_Month;
};

TEST_F(TasMonth, TheFirstSitsInTheColumnOfItsWeekday) {
    ShowMonthOf(2023, 10);  // starts on a Sunday
    EXPECT_EQ(Caption(page.m_DayList[0]), "1日");
    EXPECT_EQ(Caption(page.m_DayList[30]), "31日");
    EXPECT_EQ(Caption(page.m_DayList[31]), "");
    ShowMonthOf(2023, 7);  // starts on a Saturday, 31 days
    EXPECT_EQ(Caption(page.m_DayList[5]), "");
    EXPECT_EQ(Caption(page.m_DayList[6]), "1日");
    EXPECT_EQ(Caption(page.m_DayList[36]), "31日");
    EXPECT_EQ(Caption(page.m_DayList[37]), "");
    EXPECT_EQ(page.m_stDate.wDay, 1);
}

TEST_F(TasMonth, FebruaryHas29CellsInLeapYearsOnly) {
    ShowMonthOf(2024, 2);
    EXPECT_EQ(NumberedCells(), 29);
    ShowMonthOf(2000, 2);
    EXPECT_EQ(NumberedCells(), 29);
    ShowMonthOf(2023, 2);
    EXPECT_EQ(NumberedCells(), 28);
    ShowMonthOf(1900, 2);
    EXPECT_EQ(NumberedCells(), 28);
}

TEST_F(TasMonth, MonthStepsWrapAtYearEndsAndAddNoEntry) {
    ShowMonthOf(2024, 1);
    const int nEntries = HistoryCount();
    Click(page, IDC_TASM_PREV);
    EXPECT_EQ(page.m_stDate.wYear, 2023);
    EXPECT_EQ(page.m_stDate.wMonth, 12);
    Click(page, IDC_TASM_NEXT);
    Click(page, IDC_TASM_NEXT);
    EXPECT_EQ(page.m_stDate.wYear, 2024);
    EXPECT_EQ(page.m_stDate.wMonth, 2);
    Click(page, IDC_TASM_PREV);
    EXPECT_EQ(page.m_stDate.wMonth, 1);
    EXPECT_EQ(page.m_stDate.wDay, 1);
    ShowMonthOf(2023, 12);
    Click(page, IDC_TASM_NEXT);
    EXPECT_EQ(page.m_stDate.wYear, 2024);
    EXPECT_EQ(page.m_stDate.wMonth, 1);
    EXPECT_EQ(HistoryCount(), nEntries);
}

TEST_F(TasMonth, ADoubleClickHandsTheWholeMonthFromDayOneAndTheClickedTasksPlace) {
    // February 2024 starts on a Thursday (cell 4).
    const unsigned d1 = AddTask({.subject = "一号", .date = "2024-02-01", .time = "09:00:00"});
    const unsigned d10a = AddTask({.subject = "十号甲", .date = "2024-02-10", .time = "09:00:00"});
    const unsigned d10b = AddTask({.subject = "十号乙", .date = "2024-02-10", .time = "10:00:00"});
    const unsigned d29 = AddTask({.subject = "闰日", .date = "2024-02-29", .time = "09:00:00"});
    AddTask({.subject = "三月", .date = "2024-03-01", .time = "09:00:00"});
    ShowMonthOf(2024, 2);
    EXPECT_EQ(Column(page.m_DayList[4], 0), (std::vector<std::string>{"一号"}));
    const int c10 = 4 + 9, c29 = 4 + 28;
    EXPECT_EQ(RowCount(page.m_DayList[c10]), 2);
    EXPECT_EQ(Column(page.m_DayList[c29], 0), (std::vector<std::string>{"闰日"}));
    ASSERT_EQ(page.m_MonthIDs.m_nIDCount, 4);
    EXPECT_EQ(page.m_MonthIDs.m_pulID[0], d1);
    EXPECT_EQ(page.m_MonthIDs.m_pulID[3], d29);

    const int r = Cell(page.m_DayList[c10], 0, 0) == "十号乙" ? 0 : 1;
    DoubleClickRow(page, page.m_DayList[c10], r);
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Detail);
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, d10b);
    ASSERT_EQ(g_Tas_Detail.m_nIDCount, 4);
    EXPECT_EQ(g_Tas_Detail.m_pulID[g_Tas_Detail.m_nRow], d10b);
    Click(g_Tas_Detail, IDC_TASD_FIRST);
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, d1);
    Click(g_Tas_Detail, IDC_TASD_LAST);
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, d29);
    (void)d10a;

    // Back shows the month last shown.
    Back();
    ASSERT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(page.m_stDate.wMonth, 2);
    EXPECT_EQ(RowCount(page.m_DayList[c10]), 2);
    Grab(page, "tas_month");
}

TEST_F(TasMonth, OneTaskHandsOneIdAndAnEmptyCellOrOneOutsideTheMonthOpensABlankTask) {
    const unsigned only = AddTask({.subject = "唯一", .date = "2024-02-15"});
    ShowMonthOf(2024, 2);
    DoubleClickRow(page, page.m_DayList[4 + 14], 0);
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, only);
    EXPECT_EQ(g_Tas_Detail.m_nIDCount, 1);
    Back();
    DoubleClickRow(page, page.m_DayList[0], -1);  // outside the month
    EXPECT_EQ(g_Tas_Detail.CurrentMode(), RecordFormClass::kNew);
    Back();
    DoubleClickRow(page, page.m_DayList[4 + 3], -1);  // an empty day
    EXPECT_EQ(g_Tas_Detail.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(g_Tas_Detail.m_pulID, nullptr);
}

TEST_F(TasMonth, WithoutTheMonthArrayADoubleClickHandsTheCellsOwnIds) {
    const unsigned a = AddTask({.subject = "甲", .date = "2024-02-15", .time = "09:00:00"});
    const unsigned b = AddTask({.subject = "乙", .date = "2024-02-15", .time = "10:00:00"});
    AddTask({.subject = "丙", .date = "2024-02-16"});
    ShowMonthOf(2024, 2);
    page.m_MonthIDs.FreeIDArray();  // as after a failed allocation
    const int c15 = 4 + 14;
    DoubleClickRow(page, page.m_DayList[c15], 1);
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Detail);
    ASSERT_EQ(g_Tas_Detail.m_nIDCount, 2);
    EXPECT_EQ(g_Tas_Detail.m_nRow, 1);
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, page.m_DayIDs[c15].m_pulID[1]);
    EXPECT_TRUE((g_Tas_Detail.m_pulID[0] == a && g_Tas_Detail.m_pulID[1] == b) ||
                (g_Tas_Detail.m_pulID[0] == b && g_Tas_Detail.m_pulID[1] == a));
}

TEST_F(TasMonth, AFailedQueryShowsTheDaysOfTheNewMonthAndNoTasks) {
    AddTask({.subject = "甲", .date = "2024-02-15"});
    ShowMonthOf(2024, 2);
    Database().Exec("ALTER TABLE tasks RENAME TO tasks_gone");
    TakeBoxes();
    Click(page, IDC_TASM_NEXT);
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(NumberedCells(), 31);
    EXPECT_EQ(page.m_MonthIDs.m_nIDCount, 0);
    for (int c = 0; c < Tas_MonthDialogClass::kCells; c++) EXPECT_EQ(RowCount(page.m_DayList[c]), 0);
    DoubleClickRow(page, page.m_DayList[10], 0);
    EXPECT_EQ(g_pCurrentDialog, &page);  // nothing handed over
    Database().Exec("ALTER TABLE tasks_gone RENAME TO tasks");
}

// Every task page with a week and a month of seeded Chinese tasks paints its
// frame; each is saved as a picture.
TEST(TasGrabs, EveryTaskPageWithSeededTasksPaintsItsFrame) {
    StartFresh();
    const char* subjects[] = {"拜访客户", "写周报", "电话回访", "准备报价", "部门例会", "整理合同"};
    for (int day = 1; day <= 28; day++) {
        for (int k = 0; k < 1 + day % 3; k++) {
            AddTask({.subject = std::string(subjects[(day + k) % 6]) + std::to_string(day),
                     .date = DateText(2024, 2, day),
                     .time = TimeText(8 + 2 * k, day),
                     .outlay = 10.5 * k,
                     .closed = (day + k) % 4 == 0});
        }
    }
    ShowWeekOf(2024, 2, 14);
    ExpectFramePainted(g_Tas_Week);
    Grab(g_Tas_Week, "tas_week");
    ShowMonthOf(2024, 2);
    ExpectFramePainted(g_Tas_Month);
    Grab(g_Tas_Month, "tas_month_full");
    g_Toolbar.OnTasks(nullptr, 0, 0, 0);
    PickDay(2024, 2, 14);
    ExpectFramePainted(g_Tas_Homepage);
    Grab(g_Tas_Homepage, "tas_day_full");
    GotoTas_ListAll();
    ExpectFramePainted(g_Tas_ListAll);
    Grab(g_Tas_ListAll, "tas_listall_full");
    GotoTas_ClosedStat();
    ClickRow(g_Tas_ClosedStat, g_Tas_ClosedStat.m_CategoryList, 1);
    ExpectFramePainted(g_Tas_ClosedStat);
    Grab(g_Tas_ClosedStat, "tas_closedstat_full");
    DoubleClickRow(g_Tas_ClosedStat, g_Tas_ClosedStat.m_ListView, 0);
    ExpectFramePainted(g_Tas_Detail);
    Grab(g_Tas_Detail, "tas_detail_full");
    EXPECT_EQ(g_pCurrentDialog, &g_Tas_Detail);
}

}  // namespace
