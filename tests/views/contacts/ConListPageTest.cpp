// The list of all contacts: listing, keyword and local search with their
// history entries and captions, sorting, export, the hand-over of a row to
// the record form and of the listed contacts to the mail page.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "tests/views/contacts/ConPages.h"
#include "win32_testhooks.h"

using namespace programtest;

namespace {

class ConListPage : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        a = AddContact({.name = "张三",
                        .email = "zhang@example.com",
                        .important = "高",
                        .province = "北京",
                        .description = "光纤客户"});
        b = AddContact({.name = "李四", .email = "li@example.com", .important = "低", .province = "上海"});
        c = AddContact({.name = "王五", .important = "中", .province = "广东", .contact = "2024-03-05"});
        acc = AddAccount({.name = "华东光纤公司"});
        Link("accounts", acc, "contacts", b);
    }
    unsigned a = 0, b = 0, c = 0, acc = 0;
    Con_HomepageDialogClass& page = g_Con_Homepage;
};

std::vector<std::string> Names() { return Column(g_Con_Homepage.m_ListView, 0); }

TEST_F(ConListPage, OpeningListsEveryContactWithItsAccountIdsAndCaption) {
    const int nBefore = HistoryCount();
    GotoCon_Homepage();
    EXPECT_EQ(g_pCurrentDialog, &page);
    ASSERT_EQ(RowCount(page.m_ListView), 3);
    ASSERT_EQ(page.m_nIDCount, 3);
    for (int r = 0; r < 3; r++) {
        const unsigned id = page.m_pulID[r];
        EXPECT_EQ(QueryText("SELECT con_name FROM contacts WHERE con_id=" + std::to_string(id)),
                  Cell(page.m_ListView, r, 0));
    }
    const int rowB = (int)(std::find(page.m_pulID, page.m_pulID + 3, b) - page.m_pulID);
    EXPECT_EQ(Cell(page.m_ListView, rowB, 1), "华东光纤公司");
    EXPECT_EQ(Cell(page.m_ListView, rowB, 5), "li@example.com");
    EXPECT_EQ(Cell(page.m_ListView, rowB, 6), "上海");
    EXPECT_EQ(Cell(page.m_ListView, rowB, 10), "2024-1-10");
    EXPECT_EQ(Cell(page.m_ListView, rowB, 11), "");  // the twelfth column stays empty
    EXPECT_STREQ(page.m_szCaption, "所有的联系人共3条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。");
    EXPECT_EQ(HistoryCount(), nBefore + 1);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 0);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_CONTACTS));
    Grab(page, "con_list");
}

TEST_F(ConListPage, AnEmptyTableShowsCountZeroAndADoubleClickOpensABlankForm) {
    ASSERT_EQ(Exec("DELETE FROM contacts"), 0);
    GotoCon_Homepage();
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    EXPECT_EQ(page.m_nIDCount, 0);
    EXPECT_STREQ(page.m_szCaption, "所有的联系人共0条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。");
    DoubleClickRow(page, page.m_ListView, -1);
    EXPECT_EQ(g_pCurrentDialog, &g_Con_Detail);
    EXPECT_EQ(g_Con_Detail.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(g_Con_Detail.m_pulID, nullptr);
}

TEST_F(ConListPage, ASearchFromAnotherPageAddsOneEntryAndTheButtonNone) {
    g_Toolbar.OnContacts(nullptr, 0, 0, 0);
    ASSERT_EQ(g_pCurrentDialog, &g_Con_Start);
    const int nBefore = HistoryCount();
    SetText(g_Con_Start.m_hSearchEdit, "光纤");
    SendMessageA(g_Con_Start.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(g_pCurrentDialog, &page);
    // 张三 by description, 李四 by the account's name.
    EXPECT_EQ(page.m_nIDCount, 2);
    EXPECT_STREQ(page.m_szCaption, "搜索关键字=\"光纤\"的记录共2条");
    EXPECT_EQ(HistoryCount(), nBefore + 1);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);

    SetText(page.m_hSearchEdit, "王");
    Click(page, IDC_CONH_SEARCH);
    EXPECT_EQ(Names(), std::vector<std::string>{"王五"});
    EXPECT_EQ(HistoryCount(), nBefore + 1);
    EXPECT_STREQ(g_History.m_pCurrent->m_pszKeyword, "王");
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Con_Start);
    Forward();
    EXPECT_EQ(Names(), std::vector<std::string>{"王五"});  // Back onto a keyword entry searches again
}

TEST_F(ConListPage, AKeywordOf50BytesIsCutAtACharacterBoundary) {
    g_Toolbar.OnContacts(nullptr, 0, 0, 0);
    // "a" then 25 two-byte characters: 51 bytes; the 49-byte cut falls inside the 25th.
    std::string keyword = "a";
    for (int i = 0; i < 25; i++) keyword += "张";
    SetText(g_Con_Start.m_hSearchEdit, keyword);
    Click(g_Con_Start, IDC_CONS_SEARCH);
    ASSERT_EQ(g_pCurrentDialog, &page);
    const std::string kept = page.m_Contact.m_szKeyword;
    EXPECT_EQ(kept.size(), 49u);
    EXPECT_EQ(kept, keyword.substr(0, 49));
    EXPECT_EQ(std::string(g_History.m_pCurrent->m_pszKeyword), kept);
}

TEST_F(ConListPage, TheSameColumnTwiceFlipsTheOrderAnotherColumnKeepsIt) {
    GotoCon_Homepage();
    ClickColumn(page, page.m_ListView, 6);  // 区域, ascending query, shown bottom up
    EXPECT_EQ(page.m_Contact.m_bDesc, 0);
    const std::vector<std::string> first = Column(page.m_ListView, 6);
    ClickColumn(page, page.m_ListView, 6);
    EXPECT_EQ(page.m_Contact.m_bDesc, 1);
    std::vector<std::string> flipped = Column(page.m_ListView, 6);
    std::reverse(flipped.begin(), flipped.end());
    EXPECT_EQ(first, flipped);
    ClickColumn(page, page.m_ListView, 7);
    EXPECT_EQ(page.m_Contact.m_bDesc, 1);
    for (int r = 0; r < 3; r++)
        EXPECT_EQ(QueryText("SELECT con_name FROM contacts WHERE con_id=" + std::to_string(page.m_pulID[r])),
                  Cell(page.m_ListView, r, 0));
}

TEST_F(ConListPage, AfterASearchASortReSortsOnlyTheMatches) {
    GotoCon_Homepage();
    SetText(page.m_hSearchEdit, "光纤");
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    ClickColumn(page, page.m_ListView, 0);
    EXPECT_EQ(RowCount(page.m_ListView), 2);
    GotoCon_Homepage();
    ClickColumn(page, page.m_ListView, 1);
    EXPECT_EQ(RowCount(page.m_ListView), 3);
}

TEST_F(ConListPage, AFailedQueryKeepsRowsIdsAndCaptionNeverMinusOne) {
    GotoCon_Homepage();
    const std::string caption = page.m_szCaption;
    const std::string view = BreakContactView();
    ClickColumn(page, page.m_ListView, 0);
    GotoCon_Homepage();
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(page.m_szCaption, caption);
    EXPECT_EQ(RowCount(page.m_ListView), 3);
    EXPECT_EQ(page.m_nIDCount, 3);
    MendContactView(view);
    DoubleClickRow(page, page.m_ListView, 1);
    EXPECT_EQ(g_Con_Detail.m_ulRecordID, page.m_pulID[1]);
    EXPECT_STREQ(g_Con_Detail.m_szTitle, "所有联系人");
}

TEST_F(ConListPage, ExportWritesElevenColumnsAsShown) {
    GotoCon_Homepage();
    const std::string path = OutputPath("con_list_export.txt");
    AnswerSaveDialog(path);
    AnswerBoxes(IDNO);  // do not open the file
    SendMessageA(page.m_hWnd, WM_COMMAND, IDM_EXPORTTEXT, 0);
    std::string expected = "姓名\t客户单位\t职务\t电话\t手机\t邮件\t区域\t重要性\t关系\t最近联系日期\t创建日期\t\r\n";
    for (int r = 0; r < 3; r++) {
        for (int col = 0; col < 11; col++) expected += Cell(page.m_ListView, r, col) + "\t";
        expected += "\r\n";
    }
    EXPECT_EQ(ReadFile(path), expected);
}

TEST_F(ConListPage, MassMailHandsTheListedContactsToTheMailPage) {
    GotoCon_Homepage();
    Click(page, IDC_CONH_MAIL);
    EXPECT_EQ(g_pCurrentDialog, &g_Mail);
    EXPECT_EQ(g_Mail.m_nConCount, 3);
    EXPECT_EQ(RowCount(g_Mail.m_RecipientList), 3);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_MAIL));

    Back();
    ASSERT_EQ(g_pCurrentDialog, &page);
    SetText(page.m_hSearchEdit, "光纤");
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    ClickColumn(page, page.m_ListView, 0);  // the sort is not carried over
    Click(page, IDC_CONH_MAIL);
    std::vector<std::string> names = MailNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"李四", "张三"}));
}

TEST_F(ConListPage, MassMailFromAKeywordEntryWithoutItsKeywordSearchesForNothing) {
    GotoCon_Homepage();
    SetText(page.m_hSearchEdit, "张");
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    g_History.SetKeyword(nullptr);  // the entry lost its keyword
    ASSERT_EQ(g_History.m_pCurrent->m_pszKeyword, nullptr);
    Click(page, IDC_CONH_MAIL);
    EXPECT_EQ(g_pCurrentDialog, &g_Mail);
    EXPECT_EQ(g_Mail.m_nConCount, 3);  // the empty keyword matches every contact
}

TEST_F(ConListPage, AFailedMassMailQueryHandsOverNoContactNeverMinusOne) {
    GotoCon_Homepage();
    Click(page, IDC_CONH_MAIL);
    ASSERT_EQ(RowCount(g_Mail.m_RecipientList), 3);
    Back();
    const std::string view = BreakContactView();
    Click(page, IDC_CONH_MAIL);
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(g_pCurrentDialog, &g_Mail);
    EXPECT_EQ(g_Mail.m_nConCount, 0);
    EXPECT_EQ(RowCount(g_Mail.m_RecipientList), 0);
    MendContactView(view);
}

}  // namespace

namespace {

// A run works on its own copy of the recipients: a hand-over while it goes
// shows the new contacts at once, for the next run.
TEST_F(ConListPage, MassMailWhileTheMailPageSendsShowsTheNewContacts) {
    GotoCon_Homepage();
    SetText(page.m_hSearchEdit, "张");
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    Click(page, IDC_CONH_MAIL);
    ASSERT_EQ(RowCount(g_Mail.m_RecipientList), 1);
    Back();
    GotoCon_Homepage();
    const std::vector<std::string> all = Names();
    ASSERT_GT(all.size(), 1u);
    g_Mail.m_hThread = (HANDLE)1;  // a run is going (nothing is joined while it is set)
    Click(page, IDC_CONH_MAIL);
    g_Mail.m_hThread = nullptr;
    EXPECT_EQ(g_pCurrentDialog, &g_Mail);
    EXPECT_EQ(g_Mail.m_nConCount, (int)all.size());
    std::vector<std::string> names = MailNames(), expected = all;
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

}  // namespace
