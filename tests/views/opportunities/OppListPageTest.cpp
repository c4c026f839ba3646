// The list of all opportunities: listing, keyword and local search with their
// history entries and captions, sorting, export, and the hand-over of a row
// to the record form.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_StartDialogClass.h"
#include "resources/opportunities_ids.h"
#include "win32_testhooks.h"

#include <algorithm>

using namespace programtest;

namespace {

class OppListPage : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        a = AddOpp({.subject = "甲项目",
                    .important = "高",
                    .estimate = 300,
                    .probability = 40,
                    .die = "2024-06-05",
                    .description = "第一个"});
        b = AddOpp({.subject = "乙项目",
                    .important = "中",
                    .estimate = 100.5,
                    .probability = 10,
                    .die = "2024-11-20",
                    .description = "含关键字：光纤"});
        c = AddOpp({.subject = "丙项目",
                    .important = "低",
                    .estimate = 200,
                    .probability = 80,
                    .die = "2025-01-02",
                    .description = "第三个"});
    }
    unsigned a = 0, b = 0, c = 0;
    Opp_HomepageDialogClass& page = g_Opp_Homepage;
};

std::vector<std::string> Subjects() { return Column(g_Opp_Homepage.m_ListView, 0); }

TEST_F(OppListPage, OpeningListsEveryRecordLastFirstWithItsIdsAndCaption) {
    const int nBefore = HistoryCount();
    GotoOpp_Homepage();
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(Subjects(), (std::vector<std::string>{"丙项目", "乙项目", "甲项目"}));
    ASSERT_EQ(page.m_nIDCount, 3);
    EXPECT_EQ(page.m_pulID[0], c);
    EXPECT_EQ(page.m_pulID[2], a);
    EXPECT_EQ(Cell(page.m_ListView, 0, 1), "80%");
    EXPECT_EQ(Cell(page.m_ListView, 1, 4), "100.50");
    EXPECT_EQ(Cell(page.m_ListView, 2, 5), "2024-6-5");
    EXPECT_STREQ(page.m_szCaption, "所有的项目机会共3条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。");
    EXPECT_EQ(HistoryCount(), nBefore + 1);
    EXPECT_EQ(g_History.m_pCurrent->m_pView, &page);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 0);
    Grab(page, "opp_list");
}

TEST_F(OppListPage, AnEmptyTableEmptiesTheListAndItsIds) {
    GotoOpp_Homepage();
    ASSERT_EQ(Exec("DELETE FROM opportunities"), 0);
    GotoOpp_Homepage();
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    EXPECT_EQ(page.m_nIDCount, 0);
    EXPECT_EQ(page.m_pulID, nullptr);
    EXPECT_STREQ(page.m_szCaption, "所有的项目机会共0条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。");
}

TEST_F(OppListPage, EnterInASearchBoxAddsAKeywordEntryAndCaption) {
    GotoOpp_Homepage();
    const int nBefore = HistoryCount();
    SetText(page.m_hSearchEdit, "光纤");
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Subjects(), std::vector<std::string>{"乙项目"});
    EXPECT_STREQ(page.m_szCaption, "搜索关键字=\"光纤\"的记录共1条");
    EXPECT_EQ(HistoryCount(), nBefore + 1);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
    EXPECT_STREQ(g_History.m_pCurrent->m_pszKeyword, "光纤");

    SetText(page.m_hSearchEdit, "项目");
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(HistoryCount(), nBefore + 2);
    EXPECT_EQ(RowCount(page.m_ListView), 3);
}

TEST_F(OppListPage, TheSearchButtonTurnsTheCurrentEntryIntoTheSearch) {
    GotoOpp_Homepage();
    const int nBefore = HistoryCount();
    SetText(page.m_hSearchEdit, "甲");
    Click(page, IDC_OPPH_SEARCH);
    SetText(page.m_hSearchEdit, "丙");
    Click(page, IDC_OPPH_SEARCH);
    EXPECT_EQ(HistoryCount(), nBefore);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
    EXPECT_STREQ(g_History.m_pCurrent->m_pszKeyword, "丙");
    EXPECT_EQ(Subjects(), std::vector<std::string>{"丙项目"});
}

TEST_F(OppListPage, TheSearchButtonNeverWritesIntoAnotherPagesEntry) {
    GotoOpp_Homepage();
    g_Toolbar.OnOpportunities(nullptr, 0, 0, 0);  // the start page's entry is now current
    HistoryNode* pStart = g_History.m_pCurrent;
    ASSERT_EQ(pStart->m_pView, &g_Opp_Start);
    SetText(page.m_hSearchEdit, "甲");
    Click(page, IDC_OPPH_SEARCH);
    EXPECT_EQ(pStart->m_nKind, 0);
    EXPECT_EQ(pStart->m_pszKeyword, nullptr);
    EXPECT_EQ(Subjects(), std::vector<std::string>{"甲项目"});
}

TEST_F(OppListPage, AKeywordWithAQuoteFindsItsMatchesAndShowsAsTyped) {
    const unsigned d = AddOpp({.subject = "O'Brien 大楼"});
    g_Toolbar.OnOpportunities(nullptr, 0, 0, 0);
    SetText(g_Opp_Start.m_hSearchEdit, "O'Brien");
    Click(g_Opp_Start, IDC_OPPS_SEARCH);
    EXPECT_EQ(g_pCurrentDialog, &page);
    ASSERT_EQ(page.m_nIDCount, 1);
    EXPECT_EQ(page.m_pulID[0], d);
    EXPECT_STREQ(page.m_szCaption, "搜索关键字=\"O'Brien\"的记录共1条");
}

TEST_F(OppListPage, ReopeningAfterASearchListsAllAndEmptiesTheBox) {
    GotoOpp_Homepage();
    SetText(page.m_hSearchEdit, "甲");
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    GotoOpp_Homepage();
    EXPECT_EQ(RowCount(page.m_ListView), 3);
    EXPECT_EQ(Text(page.m_hSearchEdit), "");
}

TEST_F(OppListPage, ASecondClickOnAColumnFlipsTheDirectionAThirdColumnKeepsIt) {
    GotoOpp_Homepage();
    ClickColumn(page, page.m_ListView, 4);  // expected sale, first click: ascending query
    EXPECT_EQ(page.m_Opp.m_bDesc, 0);
    // The list shows the query from the bottom up.
    EXPECT_EQ(Subjects(), (std::vector<std::string>{"甲项目", "丙项目", "乙项目"}));
    ClickColumn(page, page.m_ListView, 4);
    EXPECT_EQ(page.m_Opp.m_bDesc, 1);
    EXPECT_EQ(Subjects(), (std::vector<std::string>{"乙项目", "丙项目", "甲项目"}));
    ClickColumn(page, page.m_ListView, 1);  // another column keeps the direction
    EXPECT_EQ(page.m_Opp.m_bDesc, 1);
    EXPECT_EQ(Column(page.m_ListView, 1), (std::vector<std::string>{"10%", "40%", "80%"}));
    // Ids follow the rows.
    EXPECT_EQ(page.m_pulID[0], b);
    EXPECT_EQ(page.m_pulID[2], c);
}

TEST_F(OppListPage, ASortAfterASearchReSortsOnlyTheMatches) {
    GotoOpp_Homepage();
    SetText(page.m_hSearchEdit, "个");  // in the descriptions of 甲 and 丙
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    const int nEntries = HistoryCount();
    ClickColumn(page, page.m_ListView, 4);
    EXPECT_EQ(Subjects(), (std::vector<std::string>{"甲项目", "丙项目"}));
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_STREQ(page.m_szCaption, "搜索关键字=\"个\"的记录共2条");
}

TEST_F(OppListPage, AFailedQueryKeepsTheRowsTheirIdsAndTheCaption) {
    GotoOpp_Homepage();
    const std::string caption = page.m_szCaption;
    ASSERT_EQ(Exec("ALTER TABLE opportunities RENAME TO opportunities_away"), 0);
    AnswerBoxes(IDOK);
    ClickColumn(page, page.m_ListView, 0);
    std::vector<std::string> boxes = TakeBoxes();
    EXPECT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Opp_HomepageDialogClass.cpp 58: cod_InitDetail Error.");
    EXPECT_EQ(RowCount(page.m_ListView), 3);
    EXPECT_EQ(page.m_nIDCount, 3);
    ASSERT_NE(page.m_pulID, nullptr);
    EXPECT_EQ(page.m_pulID[0], c);

    GotoOpp_Homepage();  // a failed opening
    EXPECT_EQ(page.m_szCaption, caption);
    EXPECT_EQ(page.m_nIDCount, RowCount(page.m_ListView));
    TakeBoxes();
    ASSERT_EQ(Exec("ALTER TABLE opportunities_away RENAME TO opportunities"), 0);

    // A double click still hands over the row it shows.
    DoubleClickRow(page, page.m_ListView, 2);
    EXPECT_EQ(g_Opp_Detail.m_ulRecordID, a);
}

TEST_F(OppListPage, ExportWritesTheSortedRowsAsShown) {
    GotoOpp_Homepage();
    ClickColumn(page, page.m_ListView, 0);
    const std::string path = OutputPath("opp_list_export.txt");
    AnswerSaveDialog(path);
    AnswerBoxes(IDNO);  // do not open the file
    SendMessageA(page.m_hWnd, WM_COMMAND, IDM_EXPORTTEXT, 0);
    std::string expected =
        "项目名称\t成功可能性\t项目阶段\t重要性\t预计销售额\t预计结束日期\t最近联系日期\t创建日期\t\r\n";
    for (int r = 0; r < 3; r++) {
        for (int col = 0; col < 8; col++) expected += Cell(page.m_ListView, r, col) + "\t";
        expected += "\r\n";
    }
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_NE(expected.find("甲项目\t40%\t初步接触\t高\t300.00\t2024-6-5\t2024-2-1\t2024-1-10\t\r\n"),
              std::string::npos);
}

TEST_F(OppListPage, TheExportButtonOffersTheExportMenuAndWritesTheChosenFile) {
    GotoOpp_Homepage();
    std::vector<std::string> items;
    w32test::SetPopupMenuHook([&](const w32test::PopupMenuCall& call) {
        items = call.items;
        return (UINT)IDM_EXPORTEXCEL;
    });
    const std::string path = OutputPath("opp_list_export.xls");
    AnswerSaveDialog(path);
    AnswerBoxes(IDNO);
    Click(page, IDC_OPPH_EXPORT);
    w32test::ProcessEvents(0);
    EXPECT_EQ(items, (std::vector<std::string>{"文本文件", "Excel文件"}));
    const std::string written = ReadFile(path);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 4);
}

TEST_F(OppListPage, AKeywordIsCutAtAWholeCharacter) {
    GotoOpp_Homepage();
    std::string longer;
    for (int i = 0; i < 30; i++) longer += "光";
    SetText(page.m_hSearchEdit, longer);
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(std::string(page.m_szKeyword), longer.substr(0, 48));
    EXPECT_EQ(std::string(page.m_Opp.m_szKeyword), longer.substr(0, 48));
}

TEST_F(OppListPage, ADoubleClickHandsTheListAndRowToTheRecordForm) {
    GotoOpp_Homepage();
    DoubleClickRow(page, page.m_ListView, 1);
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Detail);
    EXPECT_FALSE(IsWindowVisible(page.m_hWnd));
    ASSERT_EQ(g_Opp_Detail.m_nIDCount, 3);
    for (int i = 0; i < 3; i++) EXPECT_EQ(g_Opp_Detail.m_pulID[i], page.m_pulID[i]);
    EXPECT_NE(g_Opp_Detail.m_pulID, page.m_pulID);
    EXPECT_STREQ(g_Opp_Detail.m_szTitle, "所有项目机会");
    EXPECT_EQ(g_Opp_Detail.m_nRow, 1);
    EXPECT_EQ(g_Opp_Detail.m_ulRecordID, b);
    EXPECT_EQ(Text(g_Opp_Detail.m_hSubject), "乙项目");
}

TEST_F(OppListPage, ADoubleClickOffTheRowsOpensABlankFormWithItsLookups) {
    ASSERT_EQ(Exec("DELETE FROM opportunities"), 0);
    GotoOpp_Homepage();
    DoubleClickRow(page, page.m_ListView, -1);
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Detail);
    EXPECT_EQ(g_Opp_Detail.m_ulRecordID, 0u);
    EXPECT_EQ(SendMessageA(g_Opp_Detail.m_hImportant, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(g_Opp_Detail.m_hPhase, CB_GETCOUNT, 0, 0), 7);
    EXPECT_TRUE(Enabled(g_Opp_Detail.m_hSaveButton));
}

TEST_F(OppListPage, ADoubleClickOnARowBeyondTheIdsHandsNothingOver) {
    GotoOpp_Homepage();
    BaseDialogClass* pBefore = g_pCurrentDialog;
    DoubleClickRow(page, page.m_ListView, 7);
    EXPECT_EQ(g_pCurrentDialog, pBefore);
}

TEST_F(OppListPage, BackFromTheFormReRunsTheStoredKeyword) {
    GotoOpp_Homepage();
    SetText(page.m_hSearchEdit, "光纤");
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    DoubleClickRow(page, page.m_ListView, 0);
    SetText(page.m_hSearchEdit, "别的");
    Back();
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(Subjects(), std::vector<std::string>{"乙项目"});
    EXPECT_STREQ(page.m_szCaption, "搜索关键字=\"光纤\"的记录共1条");
    Back();
    EXPECT_EQ(RowCount(page.m_ListView), 3);
    EXPECT_STREQ(page.m_szCaption, "所有的项目机会共3条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。");
}

}  // namespace
