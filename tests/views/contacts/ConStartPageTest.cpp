// The contact start page: the toolbar's 联系人 opens it in a new entry, its
// links reach the contact pages, Back onto it keeps what was typed.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "tests/views/contacts/ConPages.h"
#include "win32_testhooks.h"

using namespace programtest;

namespace {

class ConStartPage : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        AddContact({.name = "张三", .important = "高"});
    }
    Con_StartDialogClass& page = g_Con_Start;
};

TEST_F(ConStartPage, TheToolbarOpensItInANewEntryWithItsMenu) {
    const int nEntries = HistoryCount();
    g_Toolbar.OnContacts(nullptr, 0, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(HistoryCount(), nEntries + 1);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_CONTACTS));
    EXPECT_NE(page.m_hBitmap, nullptr);
    static const int kIDs[8] = {11854, 11857, 11858, 11859, 11860, 11861, 11862, 11863};
    for (int k = 0; k < 8; k++) EXPECT_EQ(GetDlgCtrlID(page.m_hMenuButtons[k]), kIDs[k]);
    EXPECT_EQ(GetDlgCtrlID(page.m_hHelpLink), 11864);
    Grab(page, "con_start");
}

TEST_F(ConStartPage, EveryLinkReachesItsPage) {
    const std::vector<std::pair<int, BaseDialogClass*>> kLinks = {
        {0, &g_Con_Detail},   {1, &g_Con_Homepage}, {2, &g_Con_Important}, {3, &g_Con_Opportunities},
        {4, &g_Con_Relation}, {5, &g_Con_Industry}, {6, &g_Con_Province},  {7, &g_Con_Date},
    };
    for (const auto& [k, pTarget] : kLinks) {
        g_Toolbar.OnContacts(nullptr, 0, 0, 0);
        Click(page, GetDlgCtrlID(page.m_hMenuButtons[k]));
        EXPECT_EQ(g_pCurrentDialog, pTarget) << k;
        EXPECT_TRUE(IsButtonChecked(IDC_TB_CONTACTS)) << k;
    }
}

TEST_F(ConStartPage, BackOntoItKeepsWhatWasTypedInTheSearchBox) {
    g_Toolbar.OnContacts(nullptr, 0, 0, 0);
    GotoCon_Homepage();
    SetText(page.m_hSearchEdit, "半截");
    Back();
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(Text(page.m_hSearchEdit), "半截");
    EXPECT_TRUE(IsButtonChecked(IDC_TB_CONTACTS));
}

TEST_F(ConStartPage, TheSearchButtonSearchesTheContactList) {
    g_Toolbar.OnContacts(nullptr, 0, 0, 0);
    SetText(page.m_hSearchEdit, "张");
    Click(page, IDC_CONS_SEARCH);
    EXPECT_EQ(g_pCurrentDialog, &g_Con_Homepage);
    EXPECT_EQ(RowCount(g_Con_Homepage.m_ListView), 1);
    EXPECT_STREQ(g_Con_Homepage.m_szCaption, "搜索关键字=\"张\"的记录共1条");
}

}  // namespace
