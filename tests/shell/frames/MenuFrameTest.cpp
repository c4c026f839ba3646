// A page with the left menu alone: where its entries stand, a panel without
// the search caption, a help link the page answers itself, and a field table
// with a push button in its Tab cycle.
#include <gtest/gtest.h>

#include "shell/HistoryClass.h"
#include "shell/ViewSwitch.h"
#include "tests/shell/frames/FramePages.h"
#include "win32_testhooks.h"
#include "win32_testhooks_shell.h"

using namespace frametest;

namespace {

class MenuFrame : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        SwitchViewAlways(&g_MenuPage, UM_OPENVIEW);
        ASSERT_EQ(g_pCurrentDialog, &g_MenuPage);
    }
};

}  // namespace

TEST_F(MenuFrame, TheMenuStandsWhereThePageSaysWithoutASearchBox) {
    EXPECT_EQ(g_MenuPage.m_hSearchEdit, nullptr);
    EXPECT_EQ(g_MenuPage.m_hSearchButton, nullptr);
    for (int k = 0; k < 3; k++) {
        RECT rc;
        GetWindowRect(g_MenuPage.m_hMenuButtons[k], &rc);
        MapWindowPoints(nullptr, g_MenuPage.m_hWnd, (POINT*)&rc, 2);
        EXPECT_EQ(rc.left, 1);
        EXPECT_EQ(rc.top, 300 + 30 * k);
        EXPECT_EQ(rc.right - rc.left, 158);
    }
    // The panel is painted, without "关键字快速查找" where it would stand.
    w32test::WaitFor([] { return w32test::BackingPixel(g_MenuPage.m_hWnd, 80, 200) == 0xFFE7CEu; });
    for (int y = 22; y < 40; y++)
        for (int x = 10; x < 120; x++)
            ASSERT_EQ(w32test::BackingPixel(g_MenuPage.m_hWnd, x, y), (COLORREF)0xFFE7CE) << x << "," << y;
    // The entries act as on every page.
    Click(g_MenuPage, kMenu0 + 1);
    EXPECT_EQ(g_pCurrentDialog, &g_List);
}

TEST_F(MenuFrame, APageMayAnswerItsHelpLinkItself) {
    w32test::ClearShellExecutes();
    Click(g_MenuPage, kHelp);
    EXPECT_EQ(g_MenuPage.helpClicks, 1);
    EXPECT_TRUE(w32test::ShellExecutes().empty());
    EXPECT_EQ(g_pCurrentDialog, &g_MenuPage);
}

TEST_F(MenuFrame, AButtonFieldIsAPushButtonInTheTabCycle) {
    char szClass[32] = "";
    GetClassNameA(g_MenuPage.m_hFields[2], szClass, sizeof szClass);
    EXPECT_STRCASEEQ(szClass, "BUTTON");
    EXPECT_EQ(Text(g_MenuPage.m_hFields[2]), "保存");
    EXPECT_EQ(SendMessageA(g_MenuPage.m_hFields[0], EM_GETLIMITTEXT, 0, 0), 9);
    EXPECT_EQ(TabCycleTarget(kMenuPageFields, 3, 0, FALSE), 1);
    EXPECT_EQ(TabCycleTarget(kMenuPageFields, 3, 2, FALSE), 0);
    EXPECT_EQ(TabCycleTarget(kMenuPageFields, 3, 0, TRUE), 2);
    EXPECT_EQ(TabCycleTarget(kMenuPageFields, 3, -1, FALSE), -1);
    EXPECT_EQ(TabCycleTarget(kMenuPageFields, 3, 3, FALSE), -1);
    // A field outside the cycle goes nowhere; nor does the only one in it.
    FormFieldDef fields[2] = {kMenuPageFields[0], kMenuPageFields[1]};
    fields[1].uFlags = 0;
    EXPECT_EQ(TabCycleTarget(fields, 2, 1, FALSE), -1);
    EXPECT_EQ(TabCycleTarget(fields, 2, 0, FALSE), -1);
}
