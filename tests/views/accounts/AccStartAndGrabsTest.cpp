// The account start page (toolbar, menu, search box, picture) and pictures of
// every account page with Chinese data, saved under the build folder.
#include <gtest/gtest.h>

#include "program/HomepageDialogClass.h"
#include "resources/accounts_ids.h"
#include "tests/support/ProgramTest.h"
#include "win32_testhooks.h"
#include "views/accounts/Acc_DateStatDialogClass.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_ImportantStatDialogClass.h"
#include "views/accounts/Acc_IndustryStatDialogClass.h"
#include "views/accounts/Acc_OpportunitiesStatDialogClass.h"
#include "views/accounts/Acc_ProvinceStatDialogClass.h"
#include "views/accounts/Acc_RelationStatDialogClass.h"
#include "views/accounts/Acc_StartDialogClass.h"
#include "views/accounts/Acc_TypeStatDialogClass.h"

using namespace programtest;

namespace {

class AccStartPage : public ::testing::Test {
protected:
    void SetUp() override { StartFresh(); }
};

TEST_F(AccStartPage, TheToolbarButtonOpensItWithItsMenuAndPicture) {
    const int nBefore = HistoryCount();
    g_Toolbar.OnAccounts(nullptr, 0, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_Start);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_ACCOUNTS));
    EXPECT_EQ(HistoryCount(), nBefore + 1);
    EXPECT_NE(g_Acc_Start.m_hBitmap, nullptr);
    for (int k = 0; k < 9; k++) EXPECT_EQ(GetDlgCtrlID(g_Acc_Start.m_hMenuButtons[k]), IDC_ACCS_MENU0 + k);
    EXPECT_EQ(GetDlgCtrlID(g_Acc_Start.m_hHelpLink), IDC_ACCS_HELP);
}

TEST_F(AccStartPage, EachMenuEntryOpensItsPage) {
    BaseDialogClass* const kTargets[9] = {
        &g_Acc_Detail,   &g_Acc_Homepage,     &g_Acc_ImportantStat, &g_Acc_OpportunitiesStat, &g_Acc_RelationStat,
        &g_Acc_TypeStat, &g_Acc_IndustryStat, &g_Acc_ProvinceStat,  &g_Acc_DateStat};
    for (int k = 0; k < 9; k++) {
        g_Toolbar.OnAccounts(nullptr, 0, 0, 0);
        ASSERT_EQ(g_pCurrentDialog, &g_Acc_Start);
        Click(g_Acc_Start, IDC_ACCS_MENU0 + k);
        EXPECT_EQ(g_pCurrentDialog, kTargets[k]) << k;
        EXPECT_EQ(VisibleViewCount(), 1);
    }
}

TEST_F(AccStartPage, OpeningEmptiesTheBoxAndBackKeepsIt) {
    g_Toolbar.OnAccounts(nullptr, 0, 0, 0);
    SetText(g_Acc_Start.m_hSearchEdit, "留着");
    GotoAcc_Homepage();
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_Start);
    EXPECT_EQ(Text(g_Acc_Start.m_hSearchEdit), "留着");
    GotoAcc_Homepage();
    g_Toolbar.OnAccounts(nullptr, 0, 0, 0);
    EXPECT_EQ(Text(g_Acc_Start.m_hSearchEdit), "");
}

// Every account page with Chinese data paints its frame; each is saved as a
// picture for a reviewer.
TEST(AccGrabs, EveryAccountPagePaintsItsFrame) {
    StartFresh();
    const unsigned a = AddAccount({.name = "北京塔维尔信息技术有限公司",
                                   .important = "高",
                                   .type = "最终用户",
                                   .industry = "软件",
                                   .relation = "客户",
                                   .province = "北京",
                                   .telephone = "010-62345678",
                                   .create = "2024-03-05",
                                   .contact = "2024-04-01",
                                   .description = "主要客户，负责华北区的系统集成项目。"});
    AddAccount({.name = "上海浦东发展公司",
                .important = "中",
                .type = "代理商",
                .industry = "金融",
                .relation = "合作伙伴",
                .province = "上海",
                .create = "2024-04-10"});
    AddAccount({.name = "广州南方电信",
                .important = "低",
                .type = "集成商",
                .industry = "电信",
                .relation = "潜在客户",
                .province = "广东",
                .create = "2024-05-20"});
    const unsigned o = AddOpp({.subject = "华北数据中心项目"});
    Link("opportunities", o, "accounts", a);

    // The navigation caption of the form, right of the panel at (166, 16).
    const RECT rcCaption = {166, 16, 166 + 300, 16 + 15};
    g_Toolbar.OnAccounts(nullptr, 0, 0, 0);
    ExpectFramePainted(g_Acc_Start);
    Grab(g_Acc_Start, "acc_start");
    GotoAcc_Homepage();
    ExpectFramePainted(g_Acc_Homepage);
    Grab(g_Acc_Homepage, "acc_list");
    DoubleClickRow(g_Acc_Homepage, g_Acc_Homepage.m_ListView, 2);
    ExpectFramePainted(g_Acc_Detail);
    EXPECT_GT(InkPixels(g_Acc_Detail.m_hWnd, rcCaption), 100);  // "…记录共3条，现在是第3条"
    Grab(g_Acc_Detail, "acc_detail");
    GotoAcc_DetailNew();
    ExpectFramePainted(g_Acc_Detail);
    // A new record has no list: the caption goes with the next paint.
    w32test::WaitFor([&] { return InkPixels(g_Acc_Detail.m_hWnd, rcCaption) == 0; });
    EXPECT_EQ(InkPixels(g_Acc_Detail.m_hWnd, rcCaption), 0);
    Grab(g_Acc_Detail, "acc_detail_new");
    struct {
        Acc_CategoryStatClass* pPage;
        int (*pfnGoto)();
        const char* pszName;
    } const kPages[] = {
        {&g_Acc_ImportantStat, GotoAcc_ImportantStat, "acc_important_stat"},
        {&g_Acc_RelationStat, GotoAcc_RelationStat, "acc_relation_stat"},
        {&g_Acc_TypeStat, GotoAcc_TypeStat, "acc_type_stat"},
        {&g_Acc_IndustryStat, GotoAcc_IndustryStat, "acc_industry_stat"},
        {&g_Acc_ProvinceStat, GotoAcc_ProvinceStat, "acc_province_stat"},
        {&g_Acc_OpportunitiesStat, GotoAcc_OpportunitiesStat, "acc_opportunities_stat"},
    };
    for (const auto& p : kPages) {
        p.pfnGoto();
        ASSERT_EQ(g_pCurrentDialog, p.pPage);
        const int n = RowCount(p.pPage->m_CategoryList);
        ASSERT_GT(n, 0);
        // The bottom rows are the lookup table's first values: pick one in use.
        for (int r = n - 1; r >= 0; r--) {
            if (Cell(p.pPage->m_CategoryList, r, 1) != "0") {
                ClickRow(*p.pPage, p.pPage->m_CategoryList, r);
                break;
            }
        }
        EXPECT_GT(RowCount(p.pPage->m_ListView), 0) << p.pszName;
        ExpectFramePainted(*p.pPage);
        Grab(*p.pPage, p.pszName);
    }
    GotoAcc_DateStat();
    SYSTEMTIME from = {}, to = {};
    from.wYear = 2024, from.wMonth = 1, from.wDay = 1;
    to.wYear = 2024, to.wMonth = 12, to.wDay = 31;
    SendMessageA(g_Acc_DateStat.m_hFrom[0], DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&from);
    SendMessageA(g_Acc_DateStat.m_hTo[0], DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&to);
    Click(g_Acc_DateStat, IDC_ACCT_ROW1_FIND);
    EXPECT_EQ(RowCount(g_Acc_DateStat.m_ListView), 3);
    ExpectFramePainted(g_Acc_DateStat);
    Grab(g_Acc_DateStat, "acc_date_stat");
}

}  // namespace

namespace {

// The program's start page reaches the real account pages.
TEST_F(AccStartPage, TheProgramsStartPageSearchesAndOpensTheAccountPages) {
    const unsigned a = AddAccount({.name = "首页找到的公司"});
    AddAccount({.name = "别的"});
    ResetToStartPage();
    SetText(g_Homepage.m_hSearchEdits[1], "首页");
    SendMessageA(g_Homepage.m_hSearchEdits[1], WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_Homepage);
    ASSERT_EQ(g_Acc_Homepage.m_nIDCount, 1);
    EXPECT_EQ(g_Acc_Homepage.m_pulID[0], a);
    EXPECT_STREQ(g_Acc_Homepage.m_szCaption, "搜索关键字=\"首页\"的记录共1条");
    const struct {
        int nID;
        BaseDialogClass* pView;
    } kLinks[] = {{10070, &g_Acc_Detail},
                  {10071, &g_Acc_OpportunitiesStat},
                  {10072, &g_Acc_DateStat},
                  {10073, &g_Acc_TypeStat},
                  {10074, &g_Acc_Homepage}};
    for (const auto& l : kLinks) {
        ResetToStartPage();
        Click(g_Homepage, l.nID);
        EXPECT_EQ(g_pCurrentDialog, l.pView) << l.nID;
    }
    EXPECT_EQ(RowCount(g_Acc_Homepage.m_ListView), 2);
}

}  // namespace
