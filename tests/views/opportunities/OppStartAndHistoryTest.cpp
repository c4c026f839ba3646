// The opportunity start page, the quick search of every opportunity page,
// and Back / Forward through one page of each kind.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "views/opportunities/Opp_DateStatDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_ImportantStatDialogClass.h"
#include "views/opportunities/Opp_PhaseStatDialogClass.h"
#include "views/opportunities/Opp_StartDialogClass.h"
#include "resources/opportunities_ids.h"
#include "win32_testhooks.h"
#include "win32_testhooks_shell.h"

using namespace programtest;

namespace {

class OppStartAndHistory : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        AddOpp({.subject = "光纤工程", .important = "高", .die = "2024-06-10"});
        AddOpp({.subject = "办公楼", .important = "中", .die = "2024-06-20"});
    }
};

TEST_F(OppStartAndHistory, OpeningAddsAnEntryAndEmptiesTheBoxBackKeepsIt) {
    const int nBefore = HistoryCount();
    g_Toolbar.OnOpportunities(nullptr, 0, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Start);
    EXPECT_EQ(HistoryCount(), nBefore + 1);
    EXPECT_NE(g_Opp_Start.m_hBitmap, nullptr);
    Grab(g_Opp_Start, "opp_start");
    SetText(g_Opp_Start.m_hSearchEdit, "留着");
    Click(g_Opp_Start, IDC_OPPS_MENU1);
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Homepage);
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Start);
    EXPECT_EQ(Text(g_Opp_Start.m_hSearchEdit), "留着");
    Back();
    g_Toolbar.OnOpportunities(nullptr, 0, 0, 0);
    EXPECT_EQ(Text(g_Opp_Start.m_hSearchEdit), "");
}

TEST_F(OppStartAndHistory, ALinkButtonLightsUnderTheMouseAndGoesBackWhenItLeaves) {
    g_Toolbar.OnOpportunities(nullptr, 0, 0, 0);
    HWND hLink = g_Opp_Start.m_hMenuButtons[2];
    // The pointer comes over the page first: a link clicked before keeps the
    // page's hover look (the page was left with the pointer on it) until then.
    w32test::MouseMove(g_Opp_Start.m_hWnd, 500, 300);
    w32test::ProcessEvents(0);
    EXPECT_EQ(w32test::BackingPixel(hLink, 4, 10), (COLORREF)0xFFE7CE);
    SendMessageA(g_Opp_Start.m_hWnd, WM_SETCURSOR, (WPARAM)hLink, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(g_Opp_Start.m_bHover, 1);
    EXPECT_EQ(w32test::BackingPixel(hLink, 4, 10), (COLORREF)0xFF8080);
    // A second button does not light while the first still is.
    SendMessageA(g_Opp_Start.m_hWnd, WM_SETCURSOR, (WPARAM)g_Opp_Start.m_hMenuButtons[3],
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(w32test::BackingPixel(g_Opp_Start.m_hMenuButtons[3], 4, 10), (COLORREF)0xFFE7CE);
    SendMessageA(g_Opp_Start.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(500, 300));
    EXPECT_EQ(g_Opp_Start.m_bHover, 0);
    w32test::ProcessEvents(0);
    EXPECT_EQ(w32test::BackingPixel(hLink, 4, 10), (COLORREF)0xFFE7CE);
}

TEST_F(OppStartAndHistory, TheHelpLinkOpensTheHelpSite) {
    g_Toolbar.OnOpportunities(nullptr, 0, 0, 0);
    Click(g_Opp_Start, IDC_OPPS_HELP);
    const std::vector<w32test::ShellExecuteCall> calls = w32test::ShellExecutes();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].file, g_szHelpURL);
    EXPECT_EQ(calls[0].showCmd, SW_SHOWNORMAL);
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Start);
}

TEST_F(OppStartAndHistory, AHelpSiteNoProgramCanOpenIsToldInABox) {
    g_Toolbar.OnOpportunities(nullptr, 0, 0, 0);
    const std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", "/nonexistent", 1);  // a desktop without an opener
    w32test::RecordShellExecuteOnly(false);
    w32test::ClearMessageBoxes();
    Click(g_Opp_Start, IDC_OPPS_HELP);
    w32test::RecordShellExecuteOnly(true);
    setenv("PATH", oldPath.c_str(), 1);
    const std::vector<w32test::MessageBoxCall> boxes = w32test::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "没有找到可以打开网页的程序，请用浏览器访问帮助网站。");
}

TEST_F(OppStartAndHistory, ScrollingMovesTheControlsAndThePaintedPageTogether) {
    g_Toolbar.OnOpportunities(nullptr, 0, 0, 0);
    MoveWindow(g_hMainWnd, 0, 0, 800, 500, TRUE);
    g_Opp_Start.ResizeDialog(g_hMainWnd);
    w32test::ProcessEvents(0);
    RECT rcBefore, rcAfter;
    GetWindowRect(g_Opp_Start.m_hSearchEdit, &rcBefore);
    // The middle of the picture's star (gold), at (725, 10) + (96, 37).
    const COLORREF before = w32test::BackingPixel(g_Opp_Start.m_hWnd, 821, 47);
    EXPECT_NE(before, (COLORREF)0xFFFFFF);
    for (int i = 0; i < 40; i++) SendMessageA(g_Opp_Start.m_hWnd, WM_VSCROLL, SB_LINEDOWN, 0);
    w32test::ProcessEvents(0);
    EXPECT_EQ(g_Opp_Start.m_nVScroll, -40);
    GetWindowRect(g_Opp_Start.m_hSearchEdit, &rcAfter);
    EXPECT_EQ(rcAfter.top, rcBefore.top - 40);
    InvalidateRect(g_Opp_Start.m_hWnd, nullptr, TRUE);
    w32test::ProcessEvents(0);
    EXPECT_EQ(w32test::BackingPixel(g_Opp_Start.m_hWnd, 821, 7), before);

    MoveWindow(g_hMainWnd, 0, 0, 1280, 900, TRUE);
    for (int i = 0; i < VIEW_COUNT; i++) g_ViewTable[i]->ResizeDialog(g_hMainWnd);
    EXPECT_EQ(g_Opp_Start.m_nVScroll, 0);
}

// Enter in the search box of every opportunity page lists the matches on the
// list page, which becomes current.
TEST_F(OppStartAndHistory, EveryPagesSearchBoxSearchesOnTheListPage) {
    struct Case {
        BaseDialogClass* pPage;
        HWND (*edit)();
        int (*open)();
    };
    const Case cases[] = {
        {&g_Opp_Start, [] { return g_Opp_Start.m_hSearchEdit; },
         [] { return g_Toolbar.OnOpportunities(nullptr, 0, 0, 0); }},
        {&g_Opp_ImportantStat, [] { return g_Opp_ImportantStat.m_hSearchEdit; }, GotoOpp_ImportantStat},
        {&g_Opp_PhaseStat, [] { return g_Opp_PhaseStat.m_hSearchEdit; }, GotoOpp_PhaseStat},
        {&g_Opp_DateStat, [] { return g_Opp_DateStat.m_hSearchEdit; }, GotoOpp_DateStat},
        {&g_Opp_Detail, [] { return g_Opp_Detail.m_hSearchEdit; }, GotoOpp_DetailNew},
    };
    for (const Case& c : cases) {
        c.open();
        ASSERT_EQ(g_pCurrentDialog, c.pPage);
        const int nBefore = HistoryCount();
        SetText(c.edit(), "光纤");
        SendMessageA(c.edit(), WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_EQ(g_pCurrentDialog, &g_Opp_Homepage);
        EXPECT_FALSE(IsWindowVisible(c.pPage->m_hWnd));
        EXPECT_EQ(Column(g_Opp_Homepage.m_ListView, 0), std::vector<std::string>{"光纤工程"});
        EXPECT_EQ(HistoryCount(), nBefore + 1);
    }
}

TEST_F(OppStartAndHistory, BackAndForwardRebuildEveryKindOfPage) {
    g_Toolbar.OnOpportunities(nullptr, 0, 0, 0);
    GotoOpp_Homepage();
    GotoOpp_ImportantStat();
    ClickRow(g_Opp_ImportantStat, g_Opp_ImportantStat.m_CategoryList, 1);  // 中
    GotoOpp_PhaseStat();
    GotoOpp_DateStat();
    SYSTEMTIME from = {}, to = {};
    from.wYear = 2024, from.wMonth = 6, from.wDay = 1;
    to.wYear = 2024, to.wMonth = 6, to.wDay = 15;
    SendMessageA(g_Opp_DateStat.m_hFrom[0], DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&from);
    SendMessageA(g_Opp_DateStat.m_hTo[0], DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&to);
    Click(g_Opp_DateStat, IDC_OPPT_ROW1_FIND);
    DoubleClickRow(g_Opp_DateStat, g_Opp_DateStat.m_ListView, 0);
    ASSERT_EQ(g_pCurrentDialog, &g_Opp_Detail);

    GotoOpp_Homepage();  // leave the form, then walk back
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Detail);
    EXPECT_EQ(Text(g_Opp_Detail.m_hSubject), "光纤工程");
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_DateStat);
    EXPECT_EQ(Column(g_Opp_DateStat.m_ListView, 0), std::vector<std::string>{"光纤工程"});
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_PhaseStat);
    EXPECT_EQ(RowCount(g_Opp_PhaseStat.m_ListView), 0);
    EXPECT_GT(RowCount(g_Opp_PhaseStat.m_CategoryList), 0);
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_ImportantStat);
    EXPECT_EQ(Column(g_Opp_ImportantStat.m_ListView, 0), std::vector<std::string>{"办公楼"});
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Homepage);
    EXPECT_EQ(RowCount(g_Opp_Homepage.m_ListView), 2);
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Start);
    EXPECT_EQ(VisibleViewCount(), 1);

    for (int i = 0; i < 3; i++) Forward();
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_PhaseStat);
    Forward();
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_DateStat);
    EXPECT_EQ(RowCount(g_Opp_DateStat.m_ListView), 1);
    Forward();
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Detail);
    EXPECT_STREQ(g_Opp_Detail.m_szTitle, "时间相关查询");
}

}  // namespace
