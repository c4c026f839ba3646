// The list of all accounts: listing, keyword and local search with their
// history entries and captions, sorting, export, and the hand-over of rows
// to the account record form.
#include <gtest/gtest.h>

#include <algorithm>

#include "resources/accounts_ids.h"
#include "tests/support/ProgramTest.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_StartDialogClass.h"

using namespace programtest;

namespace {

const char kAllCaption3[] = "所有的客户单位共3条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。";

class AccListPage : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        a = AddAccount({.name = "北京甲公司",
                        .important = "高",
                        .type = "最终用户",
                        .industry = "金融",
                        .relation = "客户",
                        .province = "北京",
                        .create = "2024-03-05",
                        .contact = "2024-04-01",
                        .description = "银行客户"});
        b = AddAccount({.name = "上海乙公司",
                        .important = "中",
                        .type = "代理商",
                        .industry = "电信",
                        .relation = "合作伙伴",
                        .province = "上海",
                        .description = "光纤网络"});
        c = AddAccount({.name = "广州丙公司",
                        .important = "低",
                        .type = "集成商",
                        .industry = "软件",
                        .relation = "供应商",
                        .province = "广东",
                        .description = "第三家公司"});
    }
    unsigned a = 0, b = 0, c = 0;
    Acc_HomepageDialogClass& page = g_Acc_Homepage;
};

std::vector<std::string> Names() { return Column(g_Acc_Homepage.m_ListView, 0); }

void EnterSearch(const std::string& keyword) {
    SetText(g_Acc_Homepage.m_hSearchEdit, keyword);
    SendMessageA(g_Acc_Homepage.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(AccListPage, OpeningListsEveryAccountLastFirstWithItsIdsAndCaption) {
    const int nBefore = HistoryCount();
    GotoAcc_Homepage();
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_ACCOUNTS));
    EXPECT_EQ(Names(), (std::vector<std::string>{"广州丙公司", "上海乙公司", "北京甲公司"}));
    ASSERT_EQ(page.m_nIDCount, 3);
    EXPECT_EQ(page.m_pulID[0], c);
    EXPECT_EQ(page.m_pulID[2], a);
    const std::vector<std::string> row = {"北京甲公司", "最终用户", "高",       "客户",
                                          "金融",       "北京",     "2024-4-1", "2024-3-5"};
    for (int col = 0; col < 8; col++) EXPECT_EQ(Cell(page.m_ListView, 2, col), row[(size_t)col]) << col;
    // A ninth, empty column without a caption.
    EXPECT_EQ(Cell(page.m_ListView, 2, 8), "");
    EXPECT_STREQ(page.m_szCaption, kAllCaption3);
    EXPECT_EQ(HistoryCount(), nBefore + 1);
    EXPECT_EQ(g_History.m_pCurrent->m_pView, &page);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 0);
}

TEST_F(AccListPage, TheFirstClickOnTheNameColumnSortsDescendingTheSecondAscending) {
    GotoAcc_Homepage();
    ClickColumn(page, page.m_ListView, 0);
    EXPECT_EQ(page.m_Acc.m_bDesc, 1);
    // The query's order is shown from the bottom up.
    std::vector<std::string> names = Names();
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << names[0];
    ClickColumn(page, page.m_ListView, 0);
    EXPECT_EQ(page.m_Acc.m_bDesc, 0);
    names = Names();
    EXPECT_TRUE(std::is_sorted(names.rbegin(), names.rend()));
    // A first click on another column keeps the direction.
    ClickColumn(page, page.m_ListView, 5);
    EXPECT_EQ(page.m_Acc.m_bDesc, 0);
    // The blank column sorts nothing.
    ClickColumn(page, page.m_ListView, 8);
    EXPECT_EQ(page.m_nLastSortColumn, 5);
}

TEST_F(AccListPage, ReopeningListsAllAndKeepsTheSearchText) {
    GotoAcc_Homepage();
    EnterSearch("光纤");
    EXPECT_EQ(Names(), std::vector<std::string>{"上海乙公司"});
    GotoAcc_Homepage();
    EXPECT_EQ(RowCount(page.m_ListView), 3);
    EXPECT_EQ(Text(page.m_hSearchEdit), "光纤");
    // The filter is gone: a re-sort lists everything.
    ClickColumn(page, page.m_ListView, 3);
    EXPECT_EQ(RowCount(page.m_ListView), 3);
}

TEST_F(AccListPage, EnterAddsAKeywordEntryTheButtonTurnsTheCurrentOne) {
    GotoAcc_Homepage();
    const int nBefore = HistoryCount();
    EnterSearch("公司");
    EnterSearch("银行");
    EXPECT_EQ(HistoryCount(), nBefore + 2);
    EXPECT_EQ(Names(), std::vector<std::string>{"北京甲公司"});
    EXPECT_STREQ(page.m_szCaption, "搜索关键字=\"银行\"的记录共1条");
    SetText(page.m_hSearchEdit, "丙");
    Click(page, IDC_ACCH_SEARCH);
    SetText(page.m_hSearchEdit, "乙");
    Click(page, IDC_ACCH_SEARCH);
    EXPECT_EQ(HistoryCount(), nBefore + 2);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
    EXPECT_STREQ(g_History.m_pCurrent->m_pszKeyword, "乙");
    EXPECT_EQ(Names(), std::vector<std::string>{"上海乙公司"});
}

TEST_F(AccListPage, AKeywordWithAQuoteFindsItsMatchesAndShowsAsTyped) {
    const unsigned d = AddAccount({.name = "O'Neil 贸易"});
    g_Toolbar.OnAccounts(nullptr, 0, 0, 0);
    SetText(g_Acc_Start.m_hSearchEdit, "O'Neil");
    Click(g_Acc_Start, IDC_ACCS_SEARCH);
    EXPECT_EQ(g_pCurrentDialog, &page);
    ASSERT_EQ(page.m_nIDCount, 1);
    EXPECT_EQ(page.m_pulID[0], d);
    EXPECT_STREQ(page.m_szCaption, "搜索关键字=\"O'Neil\"的记录共1条");
}

TEST_F(AccListPage, ASecondClickAfterASearchReversesTheMatchesOnly) {
    GotoAcc_Homepage();
    EnterSearch("公司");  // all three names, and 第三家公司 in a description
    ClickColumn(page, page.m_ListView, 1);
    ClickColumn(page, page.m_ListView, 1);
    EnterSearch("北京");
    const int nEntries = HistoryCount();
    ClickColumn(page, page.m_ListView, 1);
    EXPECT_EQ(Names(), std::vector<std::string>{"北京甲公司"});
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_STREQ(page.m_szCaption, "搜索关键字=\"北京\"的记录共1条");
}

TEST_F(AccListPage, AFailedQueryKeepsTheRowsTheirIdsAndTheCaption) {
    GotoAcc_Homepage();
    ASSERT_EQ(Exec("ALTER TABLE accounts RENAME TO accounts_away"), 0);
    AnswerBoxes(IDOK);
    ClickColumn(page, page.m_ListView, 2);
    std::vector<std::string> boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Acc_HomepageDialogClass.cpp 94: cad_GetAllAccounts Error.");
    EXPECT_EQ(RowCount(page.m_ListView), 3);
    ASSERT_EQ(page.m_nIDCount, 3);
    EXPECT_EQ(page.m_pulID[0], c);

    GotoAcc_Homepage();  // a failed opening leaves the caption as it was
    EXPECT_STREQ(page.m_szCaption, kAllCaption3);
    EXPECT_EQ(page.m_nIDCount, RowCount(page.m_ListView));
    TakeBoxes();
    ASSERT_EQ(Exec("ALTER TABLE accounts_away RENAME TO accounts"), 0);
    DoubleClickRow(page, page.m_ListView, 2);
    EXPECT_EQ(g_Acc_Detail.m_ulRecordID, a);
}

TEST_F(AccListPage, ExportWritesTheEightColumnsOfTheSortedRows) {
    GotoAcc_Homepage();
    ClickColumn(page, page.m_ListView, 5);  // region, ascending
    const std::string path = OutputPath("acc_list_export.txt");
    AnswerSaveDialog(path);
    AnswerBoxes(IDNO);
    SendMessageA(page.m_hWnd, WM_COMMAND, IDM_EXPORTTEXT, 0);
    std::string expected = "客户单位\t客户类型\t重要性\t客户关系\t客户行业\t客户区域\t最近联系日期\t创建日期\t\r\n";
    for (int r = 0; r < 3; r++) {
        for (int col = 0; col < 8; col++) expected += Cell(page.m_ListView, r, col) + "\t";
        expected += "\r\n";
    }
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_NE(expected.find("北京甲公司\t最终用户\t高\t客户\t金融\t北京\t2024-4-1\t2024-3-5\t\r\n"), std::string::npos);
}

TEST_F(AccListPage, ADoubleClickOnASearchResultHandsOverTheMatchesOnly) {
    GotoAcc_Homepage();
    EnterSearch("京");
    ASSERT_EQ(RowCount(page.m_ListView), 1);
    DoubleClickRow(page, page.m_ListView, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_Detail);
    ASSERT_EQ(g_Acc_Detail.m_nIDCount, 1);
    EXPECT_EQ(g_Acc_Detail.m_pulID[0], a);
    EXPECT_STREQ(g_Acc_Detail.m_szTitle, "所有客户");
    EXPECT_EQ(Text(g_Acc_Detail.m_hName), "北京甲公司");
}

TEST_F(AccListPage, BackToASearchAfterADeletionNoLongerCountsTheDeletedAccount) {
    GotoAcc_Homepage();
    EnterSearch("公司");
    EXPECT_STREQ(page.m_szCaption, "搜索关键字=\"公司\"的记录共3条");
    DoubleClickRow(page, page.m_ListView, 0);
    AnswerBoxes(IDYES);
    Click(g_Acc_Detail, IDC_ACCD_DELETE);  // deletes and goes back
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_STREQ(page.m_szCaption, "搜索关键字=\"公司\"的记录共2条");
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts WHERE acc_id=" + std::to_string(c)), 0);
}

}  // namespace
