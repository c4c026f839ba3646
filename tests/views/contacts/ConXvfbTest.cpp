// One walk through the contact pages with real input events on a real X
// server: 联系人, the list, a contact, edit, save, its account, Back, a
// statistics page and 邮件群发, with the database checked.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "tests/views/contacts/ConPages.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"

using namespace programtest;

TEST(ConXvfb, ListFormAccountStatMail) {
    StartFresh();
    const unsigned acc = AddAccount({.name = "华东光纤公司"});
    const unsigned a = AddContact({.name = "张三", .important = "高"});
    AddContact({.name = "李四", .important = "低"});
    Link("accounts", acc, "contacts", a);

    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_CONTACTS);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Con_Start; });
    ASSERT_EQ(g_pCurrentDialog, &g_Con_Start);
    w32test::Click(g_Con_Start.m_hMenuButtons[1]);  // 所有联系人
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Con_Homepage; });
    ASSERT_EQ(g_pCurrentDialog, &g_Con_Homepage);
    ASSERT_EQ(RowCount(g_Con_Homepage.m_ListView), 2);

    int row = Cell(g_Con_Homepage.m_ListView, 0, 0) == "张三" ? 0 : 1;
    w32test::DoubleClickListRow(g_Con_Homepage.m_ListView.m_hListView, row);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Con_Detail; });
    ASSERT_EQ(g_pCurrentDialog, &g_Con_Detail);
    ASSERT_EQ(g_Con_Detail.m_ulRecordID, a);

    w32test::Click(g_Con_Detail.m_hEditButton);
    w32test::WaitFor([] { return Enabled(g_Con_Detail.m_hSaveButton); });
    SetText(g_Con_Detail.m_hName, "");
    w32test::Click(g_Con_Detail.m_hName);
    w32test::TypeText("张三丰", g_Con_Detail.m_hName);
    w32test::WaitFor([] { return Text(g_Con_Detail.m_hNickname) == "张三丰"; });
    EXPECT_EQ(Text(g_Con_Detail.m_hNickname), "张三丰");
    w32test::Click(g_Con_Detail.m_hSaveButton);
    w32test::WaitFor([] { return !Enabled(g_Con_Detail.m_hSaveButton); });
    EXPECT_EQ(QueryText("SELECT con_name FROM contacts WHERE con_id=" + std::to_string(a)), "张三丰");
    EXPECT_EQ(QueryText("SELECT con_nickname FROM contacts WHERE con_id=" + std::to_string(a)), "张三丰");
    Grab(g_Con_Detail, "con_detail_xvfb");

    w32test::DoubleClick(g_Con_Detail.m_hAccountEdit);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Acc_Detail; });
    ASSERT_EQ(g_pCurrentDialog, &g_Acc_Detail);
    EXPECT_EQ(g_Acc_Detail.m_ulRecordID, acc);

    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_BACK);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Con_Detail; });
    ASSERT_EQ(g_pCurrentDialog, &g_Con_Detail);

    w32test::Click(g_Con_Detail.m_hMenuButtons[2]);  // 重要性查询
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Con_Important; });
    ASSERT_EQ(g_pCurrentDialog, &g_Con_Important);
    int high = -1;
    for (int r = 0; r < RowCount(g_Con_Important.m_CategoryList); r++)
        if (Cell(g_Con_Important.m_CategoryList, r, 0) == "高") high = r;
    ASSERT_GE(high, 0);
    w32test::ClickListRow(g_Con_Important.m_CategoryList.m_hListView, high);
    w32test::WaitFor([] { return RowCount(g_Con_Important.m_ListView) == 1; });
    ASSERT_EQ(RowCount(g_Con_Important.m_ListView), 1);
    w32test::Click(g_Con_Important.m_hMailButton);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Mail; });
    ASSERT_EQ(g_pCurrentDialog, &g_Mail);
    EXPECT_EQ(MailNames(), std::vector<std::string>{"张三丰"});
    // The walk left no link row naming a record that does not exist.
    EXPECT_EQ(testsupport::LinksToMissingRecords(Database().Path()), "");
}
