// The statistics pages by importance and by phase: counts and sums per
// category, the records of a clicked category, sorting, and their entries.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_ImportantStatDialogClass.h"
#include "views/opportunities/Opp_PhaseStatDialogClass.h"
#include "resources/opportunities_ids.h"

using namespace programtest;

namespace {

class OppStatPages : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        m1 = AddOpp({.subject = "中一", .important = "中", .phase = "需求分析", .estimate = 100});
        m2 = AddOpp({.subject = "中二", .important = "中", .phase = "商务谈判", .estimate = 50.5});
        AddOpp({.subject = "低一", .important = "低", .phase = "需求分析", .estimate = 10});
        AddOpp({.subject = "急一", .important = "特急", .phase = "自定阶段", .estimate = 7});
    }
    // The category rows as name|count|sum, top row first.
    static std::vector<std::string> Categories(Opp_CategoryStatClass& page) {
        std::vector<std::string> rows;
        for (int r = 0; r < RowCount(page.m_CategoryList); r++)
            rows.push_back(Cell(page.m_CategoryList, r, 0) + "|" + Cell(page.m_CategoryList, r, 1) + "|" +
                           Cell(page.m_CategoryList, r, 2));
        return rows;
    }
    unsigned m1 = 0, m2 = 0;
    Opp_ImportantStatDialogClass& imp = g_Opp_ImportantStat;
    Opp_PhaseStatDialogClass& pha = g_Opp_PhaseStat;
};

TEST_F(OppStatPages, ImportanceCountsTableValuesFirstThenValuesInUse) {
    const int nBefore = HistoryCount();
    GotoOpp_ImportantStat();
    EXPECT_EQ(g_pCurrentDialog, &imp);
    EXPECT_EQ(Categories(imp), (std::vector<std::string>{"特急|1|7.00", "低|1|10.00", "中|2|150.50", "高|0|0.00"}));
    EXPECT_EQ(RowCount(imp.m_ListView), 0);
    EXPECT_EQ(HistoryCount(), nBefore + 1);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 0);
    Grab(imp, "opp_important_stat");
}

TEST_F(OppStatPages, PhaseCountsEveryPhaseOfAFullTable) {
    ASSERT_EQ(Exec("DELETE FROM phase"), 0);
    for (int i = 0; i < 25; i++)
        ASSERT_EQ(Exec("INSERT INTO phase VALUES('阶段" + std::to_string(i) + "', " + std::to_string(i) + ")"), 0);
    AddOpp({.subject = "末", .phase = "阶段24", .estimate = 2});
    GotoOpp_PhaseStat();
    const std::vector<std::string> rows = Categories(pha);
    ASSERT_EQ(rows.size(), 28u);  // 25 table phases and 3 in use only
    EXPECT_EQ(rows[0], "自定阶段|1|7.00");
    EXPECT_EQ(rows[3], "阶段24|1|2.00");
    EXPECT_EQ(rows[27], "阶段0|0|0.00");
    Grab(pha, "opp_phase_stat");
}

TEST_F(OppStatPages, ClickingACategoryListsItsRecordsAndTurnsTheEntry) {
    GotoOpp_ImportantStat();
    const int nEntries = HistoryCount();
    ClickRow(imp, imp.m_CategoryList, 2);  // 中
    EXPECT_EQ(imp.m_nCategory, 1);
    EXPECT_EQ(Column(imp.m_ListView, 0), (std::vector<std::string>{"中二", "中一"}));
    EXPECT_EQ(imp.m_nIDCount, 2);
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
    EXPECT_EQ(g_History.m_pCurrent->m_nParam, 1);

    ClickRow(imp, imp.m_CategoryList, 3);  // 高: nothing
    EXPECT_EQ(RowCount(imp.m_ListView), 0);
    EXPECT_EQ(imp.m_nIDCount, 0);
    DoubleClickRow(imp, imp.m_ListView, -1);
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Detail);
    EXPECT_EQ(g_Opp_Detail.m_ulRecordID, 0u);
}

TEST_F(OppStatPages, CountsAndSumsFollowChangedRecords) {
    GotoOpp_ImportantStat();
    ASSERT_EQ(Exec("DELETE FROM opportunities WHERE opp_important='中'"), 0);
    AddOpp({.subject = "高一", .important = "高", .estimate = 1.25});
    GotoOpp_Homepage();
    GotoOpp_ImportantStat();
    EXPECT_EQ(Categories(imp), (std::vector<std::string>{"特急|1|7.00", "低|1|10.00", "中|0|0.00", "高|1|1.25"}));
}

TEST_F(OppStatPages, ACategoryClickNeverWritesIntoAnotherPagesEntry) {
    GotoOpp_ImportantStat();
    GotoOpp_Homepage();
    HistoryNode* pList = g_History.m_pCurrent;
    ClickRow(imp, imp.m_CategoryList, 2);
    EXPECT_EQ(pList->m_nKind, 0);
    EXPECT_EQ(pList->m_nParam, 0);
}

TEST_F(OppStatPages, TheFirstClickOnColumnZeroSortsDescendingWithinTheCategory) {
    GotoOpp_ImportantStat();
    ClickRow(imp, imp.m_CategoryList, 2);  // 中
    ClickColumn(imp, imp.m_ListView, 0);
    EXPECT_EQ(imp.m_Opp.m_bDesc, 1);
    ClickColumn(imp, imp.m_ListView, 4);  // expected sale, still descending: 100 then 50.5, shown reversed
    EXPECT_EQ(Column(imp.m_ListView, 0), (std::vector<std::string>{"中二", "中一"}));
    EXPECT_EQ(imp.m_pulID[0], m2);
}

TEST_F(OppStatPages, AHeaderClickOnTheEmptyListListsTheRememberedCategorySorted) {
    GotoOpp_ImportantStat();
    imp.m_nCategory = 1;  // 中, as remembered from an earlier visit
    ClickColumn(imp, imp.m_ListView, 4);
    EXPECT_EQ(RowCount(imp.m_ListView), 2);
}

TEST_F(OppStatPages, ASortWithNoCategoriesListsNothing) {
    ASSERT_EQ(Exec("DELETE FROM opportunities"), 0);
    ASSERT_EQ(Exec("DELETE FROM important"), 0);
    AnswerBoxes(IDOK);
    GotoOpp_ImportantStat();
    ClickColumn(imp, imp.m_ListView, 2);
    TakeBoxes();
    EXPECT_EQ(RowCount(imp.m_CategoryList), 0);
    EXPECT_EQ(RowCount(imp.m_ListView), 0);
    EXPECT_EQ(imp.m_nIDCount, 0);
}

TEST_F(OppStatPages, BackRestoresTheClickedCategoryUnsorted) {
    GotoOpp_ImportantStat();
    ClickRow(imp, imp.m_CategoryList, 2);
    ClickColumn(imp, imp.m_ListView, 4);
    GotoOpp_Homepage();
    Back();
    EXPECT_EQ(g_pCurrentDialog, &imp);
    EXPECT_EQ(Column(imp.m_ListView, 0), (std::vector<std::string>{"中二", "中一"}));
    EXPECT_EQ(RowCount(imp.m_CategoryList), 4);
}

TEST_F(OppStatPages, ARestoredIndexPastTodaysCategoriesListsNothing) {
    GotoOpp_ImportantStat();
    ClickRow(imp, imp.m_CategoryList, 0);  // 特急, index 3
    GotoOpp_Homepage();
    ASSERT_EQ(Exec("DELETE FROM opportunities WHERE opp_important='特急'"), 0);
    Back();
    EXPECT_EQ(RowCount(imp.m_CategoryList), 3);
    EXPECT_EQ(RowCount(imp.m_ListView), 0);
    EXPECT_EQ(imp.m_nIDCount, 0);
}

TEST_F(OppStatPages, ADoubleClickHandsTheCategoryTitle) {
    GotoOpp_PhaseStat();
    const int row = RowCount(pha.m_CategoryList) - 1 - 1;  // 需求分析, the table's second phase
    ClickRow(pha, pha.m_CategoryList, row);
    ASSERT_EQ(RowCount(pha.m_ListView), 2);
    DoubleClickRow(pha, pha.m_ListView, 0);
    EXPECT_STREQ(g_Opp_Detail.m_szTitle, "销售阶段=\"需求分析\"");
    EXPECT_EQ(g_Opp_Detail.m_nIDCount, 2);
}

TEST_F(OppStatPages, ExportAfterOpeningWritesOnlyTheHeader) {
    GotoOpp_ImportantStat();
    ClickRow(imp, imp.m_CategoryList, 2);
    GotoOpp_Homepage();
    GotoOpp_ImportantStat();
    const std::string path = OutputPath("opp_important_export.txt");
    AnswerSaveDialog(path);
    AnswerBoxes(IDNO);
    SendMessageA(imp.m_hWnd, WM_COMMAND, IDM_EXPORTEXCEL, 0);
    EXPECT_EQ(ReadFile(path),
              "项目名称\t成功可能性\t项目阶段\t重要性\t预计销售额\t预计结束日期\t最近联系日期\t创建日期\t\r\n");
}

TEST_F(OppStatPages, TheMenuEntryOfThePageItselfDoesNothing) {
    GotoOpp_ImportantStat();
    const int nEntries = HistoryCount();
    Click(imp, IDC_OPPI_MENU2);
    EXPECT_EQ(HistoryCount(), nEntries);
    Click(imp, IDC_OPPI_MENU3);
    EXPECT_EQ(g_pCurrentDialog, &pha);
}

}  // namespace
