// The date statistics page: the six date queries with both ends of a range
// included, its one history entry per visit, sorting and the hand-over.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "views/opportunities/Opp_DateStatDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "resources/opportunities_ids.h"

using namespace programtest;

namespace {

void SetDate(HWND hPicker, int y, int m, int d) {
    SYSTEMTIME st = {};
    st.wYear = (WORD)y;
    st.wMonth = (WORD)m;
    st.wDay = (WORD)d;
    SendMessageA(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
}

class OppDateStat : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        AddOpp({.subject = "五月底",
                .phase = "结束－成功",
                .create = "2024-03-01",
                .die = "2024-05-31",
                .contact = "2024-04-30"});
        AddOpp({.subject = "六月初",
                .phase = "结束－成功",
                .create = "2024-03-15",
                .die = "2024-06-01",
                .contact = "2024-05-01"});
        AddOpp({.subject = "六月底",
                .phase = "结束－失败",
                .create = "2024-03-31",
                .die = "2024-06-30",
                .contact = "2024-05-02"});
        AddOpp({.subject = "七月初",
                .phase = "结束－成功 ",
                .create = "2024-04-01",
                .die = "2024-07-01",
                .contact = "2024-06-01"});
        GotoOpp_DateStat();
    }
    void Range(int row, int y1, int m1, int d1, int y2, int m2, int d2) {
        SetDate(page.m_hFrom[row], y1, m1, d1);
        if (page.m_hTo[row]) SetDate(page.m_hTo[row], y2, m2, d2);
    }
    std::vector<std::string> Subjects() { return Column(page.m_ListView, 0); }
    Opp_DateStatDialogClass& page = g_Opp_DateStat;
};

TEST_F(OppDateStat, OpeningRunsNoQueryAndAddsAnEntry) {
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    EXPECT_EQ(g_History.m_pCurrent->m_pView, &page);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 0);
}

TEST_F(OppDateStat, ARangeIncludesBothEndDays) {
    Range(0, 2024, 6, 1, 2024, 6, 30);
    Click(page, IDC_OPPT_ROW1_FIND);
    EXPECT_EQ(Subjects(), (std::vector<std::string>{"六月底", "六月初"}));
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
    EXPECT_EQ(g_History.m_pCurrent->m_stFrom.wDay, 1);
    EXPECT_EQ(g_History.m_pCurrent->m_stTo.wDay, 30);

    Range(1, 2024, 3, 15, 2024, 3, 31);  // added
    Click(page, IDC_OPPT_ROW2_FIND);
    EXPECT_EQ(Subjects(), (std::vector<std::string>{"六月底", "六月初"}));

    Range(3, 2024, 5, 1, 2024, 5, 2);  // last contact
    Click(page, IDC_OPPT_ROW4_FIND);
    EXPECT_EQ(Subjects(), (std::vector<std::string>{"六月底", "六月初"}));
    Grab(page, "opp_date_stat");
}

TEST_F(OppDateStat, RowThreeListsLastContactsOnOrBeforeItsDate) {
    SetDate(page.m_hFrom[2], 2024, 5, 1);
    Click(page, IDC_OPPT_ROW3_FIND);
    EXPECT_EQ(Subjects(), (std::vector<std::string>{"六月初", "五月底"}));
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 3);
}

TEST_F(OppDateStat, WonAndLostCountOnlyTheExactPhases) {
    Range(4, 2024, 1, 1, 2024, 12, 31);
    Click(page, IDC_OPPT_ROW5_FIND);
    EXPECT_EQ(Subjects(), (std::vector<std::string>{"六月初", "五月底"}));
    Range(5, 2024, 1, 1, 2024, 12, 31);
    Click(page, IDC_OPPT_ROW6_FIND);
    EXPECT_EQ(Subjects(), std::vector<std::string>{"六月底"});
}

TEST_F(OppDateStat, ASecondQueryReplacesTheEntryAndBackReRunsTheStoredDates) {
    const int nEntries = HistoryCount();
    Range(0, 2024, 6, 1, 2024, 6, 30);
    Click(page, IDC_OPPT_ROW1_FIND);
    Range(0, 2024, 5, 1, 2024, 7, 31);
    Click(page, IDC_OPPT_ROW1_FIND);
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_EQ(RowCount(page.m_ListView), 4);

    GotoOpp_Homepage();
    Range(0, 2030, 1, 1, 2030, 1, 2);  // the pickers change, the entry does not
    Back();
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(RowCount(page.m_ListView), 4);
    Back();
    EXPECT_NE(g_pCurrentDialog, &page);
}

TEST_F(OppDateStat, AHeaderClickOnTheEmptyListMakesTheNextQuerySorted) {
    ClickColumn(page, page.m_ListView, 5);  // expected end date
    Range(0, 2024, 1, 1, 2024, 12, 31);
    Click(page, IDC_OPPT_ROW1_FIND);
    EXPECT_EQ(Subjects(), (std::vector<std::string>{"七月初", "六月底", "六月初", "五月底"}));
    ClickColumn(page, page.m_ListView, 5);
    EXPECT_EQ(Subjects(), (std::vector<std::string>{"五月底", "六月初", "六月底", "七月初"}));
}

TEST_F(OppDateStat, TheFirstClickOnColumnZeroCountsAsARepeatAndSortsDescending) {
    Range(0, 2024, 1, 1, 2024, 12, 31);
    Click(page, IDC_OPPT_ROW1_FIND);
    ASSERT_EQ(page.m_Opp.m_bDesc, 0);
    ClickColumn(page, page.m_ListView, 0);
    EXPECT_EQ(page.m_Opp.m_bDesc, 1);
    const std::vector<std::string> descending = Subjects();
    ASSERT_EQ(descending.size(), 4u);
    ClickColumn(page, page.m_ListView, 0);
    EXPECT_EQ(page.m_Opp.m_bDesc, 0);
    EXPECT_EQ(Subjects(), std::vector<std::string>(descending.rbegin(), descending.rend()));
    // Another column keeps the direction.
    ClickColumn(page, page.m_ListView, 5);
    EXPECT_EQ(page.m_Opp.m_bDesc, 0);
    EXPECT_EQ(Subjects(), (std::vector<std::string>{"七月初", "六月底", "六月初", "五月底"}));
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
}

TEST_F(OppDateStat, ExportAfterReopeningWritesOnlyTheHeader) {
    Range(0, 2024, 1, 1, 2024, 12, 31);
    Click(page, IDC_OPPT_ROW1_FIND);
    GotoOpp_Homepage();
    GotoOpp_DateStat();
    EXPECT_EQ(page.m_nIDCount, 0);
    const std::string path = OutputPath("opp_date_export.txt");
    AnswerSaveDialog(path);
    AnswerBoxes(IDNO);
    SendMessageA(page.m_hWnd, WM_COMMAND, IDM_EXPORTTEXT, 0);
    EXPECT_EQ(ReadFile(path),
              "项目名称\t成功可能性\t项目阶段\t重要性\t预计销售额\t预计结束日期\t最近联系日期\t创建日期\t\r\n");
}

TEST_F(OppDateStat, ARowQueryNeverWritesIntoAnotherPagesEntry) {
    GotoOpp_Homepage();
    HistoryNode* pList = g_History.m_pCurrent;
    Range(0, 2024, 1, 1, 2024, 12, 31);
    Click(page, IDC_OPPT_ROW1_FIND);
    EXPECT_EQ(pList->m_nKind, 0);
    EXPECT_EQ(pList->m_stFrom.wYear, 0);
    EXPECT_EQ(RowCount(page.m_ListView), 4);
}

TEST_F(OppDateStat, ADoubleClickHandsItsOwnTitle) {
    Range(0, 2024, 1, 1, 2024, 12, 31);
    Click(page, IDC_OPPT_ROW1_FIND);
    DoubleClickRow(page, page.m_ListView, 3);
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Detail);
    EXPECT_STREQ(g_Opp_Detail.m_szTitle, "时间相关查询");
    EXPECT_EQ(Text(g_Opp_Detail.m_hSubject), "五月底");
}

}  // namespace
