// The account date page: its three query rows with both ends of each range,
// its history entry, re-sorting, and the title it hands over.
#include <gtest/gtest.h>

#include <algorithm>

#include "resources/accounts_ids.h"
#include "tests/support/ProgramTest.h"
#include "views/accounts/Acc_DateStatDialogClass.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/accounts/Acc_HomepageDialogClass.h"

using namespace programtest;

namespace {

class AccDatePage : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        a = AddAccount({.name = "甲", .create = "2024-03-05", .contact = "2024-04-01"});
        b = AddAccount({.name = "乙", .create = "2024-03-31", .contact = "2024-05-10"});
        c = AddAccount({.name = "丙", .create = "2024-04-01", .contact = "2024-06-01"});
        GotoAcc_DateStat();
    }
    void Set(HWND hPicker, const SYSTEMTIME& st) { SendMessageA(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st); }
    // Runs row r (0-2) with its dates.
    void Run(int r, const SYSTEMTIME& from, const SYSTEMTIME& to) {
        Set(page.m_hFrom[r], from);
        if (page.m_hTo[r]) Set(page.m_hTo[r], to);
        static const int kFind[3] = {IDC_ACCT_ROW1_FIND, IDC_ACCT_ROW2_FIND, IDC_ACCT_ROW3_FIND};
        Click(page, kFind[r]);
    }
    // The names listed, and the expected ones, in one order.
    std::vector<std::string> Sorted() { return Ordered(Column(page.m_ListView, 0)); }
    static std::vector<std::string> Ordered(std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    }
    unsigned a = 0, b = 0, c = 0;
    Acc_DateStatDialogClass& page = g_Acc_DateStat;
};

TEST_F(AccDatePage, OpeningRunsNoQuery) {
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    EXPECT_EQ(page.m_nIDCount, 0);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 0);
    EXPECT_EQ(page.m_hTo[1], nullptr);  // row 2 has one date
}

TEST_F(AccDatePage, EachRowIncludesBothEndsOfItsRange) {
    Run(0, Day(2024, 3, 5), Day(2024, 3, 31));  // created
    EXPECT_EQ(Sorted(), Ordered(std::vector<std::string>{"乙", "甲"}));
    Run(0, Day(2024, 3, 6), Day(2024, 3, 30));
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    Run(1, Day(2024, 5, 10), Day(2000, 1, 1));  // no contact since: on or before its one date
    EXPECT_EQ(Sorted(), Ordered(std::vector<std::string>{"乙", "甲"}));
    Run(1, Day(2024, 5, 9), Day(2000, 1, 1));
    EXPECT_EQ(Sorted(), std::vector<std::string>{"甲"});
    Run(2, Day(2024, 5, 10), Day(2024, 6, 1));  // contacted
    EXPECT_EQ(Sorted(), Ordered(std::vector<std::string>{"丙", "乙"}));
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 3);
}

TEST_F(AccDatePage, BackReRunsTheStoredDatesAndASecondQueryReplacesTheEntry) {
    const int nEntries = HistoryCount();
    Run(0, Day(2024, 1, 1), Day(2024, 12, 31));
    Run(2, Day(2024, 5, 10), Day(2024, 6, 1));
    EXPECT_EQ(HistoryCount(), nEntries);
    Set(page.m_hFrom[2], Day(2030, 1, 1));
    GotoAcc_Homepage();
    ASSERT_EQ(Exec("UPDATE accounts SET acc_recent_contact_date='2024-05-20' WHERE acc_id=" + std::to_string(a)), 0);
    Back();
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(Sorted(), Ordered(std::vector<std::string>{"丙", "乙", "甲"}));
    Back();  // leaves the page: one entry for the visit
    EXPECT_NE(g_pCurrentDialog, &page);
}

TEST_F(AccDatePage, TheFirstClickOnColumnZeroReversesAndAnEmptyListComesSortedNextTime) {
    Run(0, Day(2024, 1, 1), Day(2024, 12, 31));
    ClickColumn(page, page.m_ListView, 0);
    EXPECT_EQ(page.m_Acc.m_bDesc, 1);
    const std::vector<std::string> names = Column(page.m_ListView, 0);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));

    GotoAcc_Homepage();
    GotoAcc_DateStat();
    ClickColumn(page, page.m_ListView, 7);  // creation date, on the empty list
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    Run(0, Day(2024, 1, 1), Day(2024, 12, 31));
    // Newest first in the query, so shown oldest first.
    EXPECT_EQ(Column(page.m_ListView, 0), (std::vector<std::string>{"甲", "乙", "丙"}));
}

TEST_F(AccDatePage, TheFormIsHandedTheRowsWithTheDatePagesTitle) {
    Run(0, Day(2024, 1, 1), Day(2024, 12, 31));
    DoubleClickRow(page, page.m_ListView, 1);
    ASSERT_EQ(g_pCurrentDialog, &g_Acc_Detail);
    EXPECT_STREQ(g_Acc_Detail.m_szTitle, "时间相关查询");
    EXPECT_EQ(g_Acc_Detail.m_nIDCount, 3);
    EXPECT_EQ(g_Acc_Detail.m_ulRecordID, page.m_pulID[1]);
}

TEST_F(AccDatePage, AFailedQueryShowsItsRowsTextAndKeepsTheRows) {
    Run(0, Day(2024, 1, 1), Day(2024, 12, 31));
    ASSERT_EQ(Exec("ALTER TABLE accounts RENAME TO accounts_away"), 0);
    AnswerBoxes(IDOK);
    Run(1, Day(2024, 1, 1), Day(2024, 1, 1));
    const std::vector<std::string> boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Opp_HomepageDialogClass.cpp 58: cod_NoTrack Error.");
    EXPECT_EQ(RowCount(page.m_ListView), 3);
    EXPECT_EQ(page.m_nIDCount, 3);
    ASSERT_EQ(Exec("ALTER TABLE accounts_away RENAME TO accounts"), 0);
}

}  // namespace
