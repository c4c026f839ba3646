// Contacts by date: the three query rows with both ends of their ranges, a
// reversed range, the one history entry the queries share, sorting, the
// record form's title and the hand-over to the mail page.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "tests/views/contacts/ConPages.h"
#include "win32_testhooks.h"

using namespace programtest;

namespace {

class ConDateStat : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        a = AddContact({.name = "甲", .create = "2024-01-10", .contact = "2024-02-01"});
        b = AddContact({.name = "乙", .create = "2024-03-01", .contact = "2024-03-15"});
        c = AddContact({.name = "丙", .create = "2024-05-20", .contact = "2024-06-30"});
        GotoCon_Date();
    }
    // Sets the pickers of row (0-2) and presses its button.
    void Run(int row, SYSTEMTIME from, SYSTEMTIME to) {
        SendMessageA(page.m_hFrom[row], DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&from);
        if (page.m_hTo[row]) SendMessageA(page.m_hTo[row], DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&to);
        static const int kFind[3] = {IDC_CONT_ROW1_FIND, IDC_CONT_ROW2_FIND, IDC_CONT_ROW3_FIND};
        Click(page, kFind[row]);
    }
    std::vector<std::string> Names() {
        std::vector<std::string> v = Column(page.m_ListView, 0);
        std::sort(v.begin(), v.end());
        return v;
    }
    unsigned a = 0, b = 0, c = 0;
    Con_DateDialogClass& page = g_Con_Date;
};

TEST_F(ConDateStat, EachRowIncludesBothEndsOfItsRange) {
    Run(0, Day(2024, 1, 10), Day(2024, 3, 1));
    EXPECT_EQ(Names(), (std::vector<std::string>{"甲", "乙"}));
    Run(1, Day(2024, 3, 15), Day(2024, 3, 15));  // not contacted since: on or before the day
    EXPECT_EQ(Names(), (std::vector<std::string>{"甲", "乙"}));
    Run(2, Day(2024, 3, 15), Day(2024, 6, 30));
    EXPECT_EQ(Names(), (std::vector<std::string>{"丙", "乙"}));
    EXPECT_EQ(page.m_nIDCount, 2);
    Grab(page, "con_date");
}

TEST_F(ConDateStat, AReversedRangeEmptiesTheList) {
    Run(0, Day(2024, 1, 1), Day(2024, 12, 31));
    ASSERT_EQ(RowCount(page.m_ListView), 3);
    Run(0, Day(2024, 12, 31), Day(2024, 1, 1));
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    EXPECT_EQ(page.m_nIDCount, 0);
}

TEST_F(ConDateStat, TodayInRowTwoListsEveryoneContactedUpToToday) {
    SYSTEMTIME today;
    GetLocalTime(&today);
    Run(1, today, today);
    EXPECT_EQ(RowCount(page.m_ListView), 3);
}

TEST_F(ConDateStat, TwoQueriesShareOneEntryBackLeavesForwardReturnsToTheLast) {
    const int nEntries = HistoryCount();
    Run(0, Day(2024, 1, 1), Day(2024, 12, 31));
    Run(2, Day(2024, 6, 1), Day(2024, 6, 30));
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 3);
    Back();
    EXPECT_NE(g_pCurrentDialog, &page);
    Forward();
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(Names(), std::vector<std::string>{"丙"});
}

TEST_F(ConDateStat, TheFirstClickOnTheNameColumnTogglesTheDirection) {
    Run(0, Day(2024, 1, 1), Day(2024, 12, 31));
    ClickColumn(page, page.m_ListView, 0);
    EXPECT_EQ(page.m_Contact.m_bDesc, 1);
    ClickColumn(page, page.m_ListView, 0);
    EXPECT_EQ(page.m_Contact.m_bDesc, 0);
    EXPECT_EQ(RowCount(page.m_ListView), 3);
}

TEST_F(ConDateStat, ARowOpensInTheFormWhichKeepsItsPreviousTitle) {
    GotoCon_Homepage();
    DoubleClickRow(g_Con_Homepage, g_Con_Homepage.m_ListView, 0);
    ASSERT_STREQ(g_Con_Detail.m_szTitle, "所有联系人");
    GotoCon_Date();
    Run(0, Day(2024, 1, 1), Day(2024, 12, 31));
    DoubleClickRow(page, page.m_ListView, 1);
    EXPECT_EQ(g_Con_Detail.m_ulRecordID, page.m_pulID[1]);
    EXPECT_EQ(g_Con_Detail.m_nIDCount, 3);
    EXPECT_STREQ(g_Con_Detail.m_szTitle, "所有联系人");
}

TEST_F(ConDateStat, MassMailBeforeAnyQueryHandsNoContactAfterOneItsContacts) {
    GotoCon_Homepage();
    Click(g_Con_Homepage, IDC_CONH_MAIL);
    ASSERT_EQ(RowCount(g_Mail.m_RecipientList), 3);
    GotoCon_Date();
    Click(page, IDC_CONT_MAIL);
    EXPECT_EQ(g_pCurrentDialog, &g_Mail);
    EXPECT_EQ(RowCount(g_Mail.m_RecipientList), 0);
    Back();
    ASSERT_EQ(g_pCurrentDialog, &page);
    Run(2, Day(2024, 3, 1), Day(2024, 12, 31));
    ClickColumn(page, page.m_ListView, 3);
    Click(page, IDC_CONT_MAIL);
    std::vector<std::string> names = MailNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"丙", "乙"}));
}

TEST_F(ConDateStat, AFailedQueryKeepsTheRowsAndAFailedMailQueryHandsNone) {
    Run(0, Day(2024, 1, 1), Day(2024, 12, 31));
    const std::string view = BreakContactView();
    Run(2, Day(2024, 1, 1), Day(2024, 12, 31));
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(RowCount(page.m_ListView), 3);
    EXPECT_EQ(page.m_nIDCount, 3);
    Click(page, IDC_CONT_MAIL);
    TakeBoxes();
    EXPECT_EQ(g_Mail.m_nConCount, 0);
    EXPECT_EQ(RowCount(g_Mail.m_RecipientList), 0);
    MendContactView(view);
}

}  // namespace
