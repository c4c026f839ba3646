// What the frames offer pages beyond listing and forms: the 邮件群发 button
// of a list, a hand-over that leaves the form's title, category pages that
// keep their rows between visits, push-button fields, fields that answer a
// double click, and the fresh lookup lists of a restored new-record entry.
#include <gtest/gtest.h>

#include "shell/HistoryClass.h"
#include "shell/ListViewClass.h"
#include "tests/shell/frames/FramePages.h"
#include "win32_testhooks.h"

using namespace frametest;

namespace {

class FrameExtensions : public ThreeRecords {};

TEST_F(FrameExtensions, TheMailButtonCallsThePagesHandOver) {
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    ASSERT_NE(g_List.m_hMailButton, nullptr);
    EXPECT_EQ(GetDlgCtrlID(g_List.m_hMailButton), (int)kMail);
    EXPECT_EQ(Text(g_List.m_hMailButton), "邮件群发");
    Click(g_List, kMail);
    EXPECT_EQ(g_List.mailHandOvers, 1);
    // Its notifications are no clicks.
    SendMessageA(g_List.m_hWnd, WM_COMMAND, MAKEWPARAM(kMail, BN_SETFOCUS), 0);
    EXPECT_EQ(g_List.mailHandOvers, 1);
}

TEST_F(FrameExtensions, APageThatHandsOverNoTitleLeavesTheFormsTitle) {
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    DoubleClickRow(g_List, g_List.m_ListView, 0);
    const std::string title = g_Form.m_szTitle;
    ASSERT_FALSE(title.empty());
    SwitchViewGuarded(&g_Categories, UM_OPEN_IMPORTANT);
    ClickRow(g_Categories, g_Categories.m_CategoryList, 1);  // 甲
    g_Categories.keepTitle = TRUE;
    DoubleClickRow(g_Categories, g_Categories.m_ListView, 1);
    EXPECT_EQ(g_Form.m_ulRecordID, g_Categories.m_pulID[1]);
    EXPECT_EQ(g_Form.m_nIDCount, 2);
    EXPECT_EQ(g_Form.m_szTitle, title);
    EXPECT_EQ(HandOverToForm(&g_Form, &a, 1, 0, nullptr), 0);
    EXPECT_EQ(g_Form.m_szTitle, title);
}

TEST_F(FrameExtensions, ACategoryPageThatKeepsItsRowsKeepsThemOnOpeningOnly) {
    for (TestCategoryPage* p : {&g_Categories, &g_KeepCategories}) {
        const UINT uOpen = p == &g_Categories ? UM_OPEN_IMPORTANT : UM_OPEN_INDUSTRY;
        SwitchViewGuarded(p, uOpen);
        ClickRow(*p, p->m_CategoryList, 1);
        ASSERT_EQ(RowCount(p->m_ListView), 2);
        SwitchViewAlways(&g_List, UM_OPENVIEW);
        SwitchViewGuarded(p, uOpen);
        const int nKept = p == &g_KeepCategories ? 2 : 0;
        EXPECT_EQ(RowCount(p->m_ListView), nKept);
        EXPECT_EQ(p->m_nIDCount, nKept);
        EXPECT_EQ(RowCount(p->m_CategoryList), 2);
        if (nKept) {
            DoubleClickRow(*p, p->m_ListView, 0);
            EXPECT_EQ(g_Form.m_ulRecordID, p->m_pulID[0]);
            Back();  // this visit's entry lists the categories alone
            EXPECT_EQ(g_pCurrentDialog, p);
            EXPECT_EQ(RowCount(p->m_ListView), 0);
        }
    }
}

TEST_F(FrameExtensions, AButtonFieldIsLockedWhileBrowsingAndKeptByAClear) {
    const std::vector<ULONG> ids = {a, b};
    ASSERT_EQ(HandOverToForm(&g_Form, ids.data(), 2, 0, "列表"), 0);
    HWND hAction = g_Form.Field(kAction);
    ASSERT_NE(hAction, nullptr);
    EXPECT_EQ(Text(hAction), "...");
    EXPECT_FALSE(Enabled(hAction));
    Click(g_Form, kEdit);
    EXPECT_TRUE(Enabled(hAction));
    g_Form.ClearForm();
    EXPECT_EQ(Text(hAction), "...");
}

TEST_F(FrameExtensions, ADoubleClickOnAFlaggedFieldReachesTheForm) {
    const std::vector<ULONG> ids = {a};
    ASSERT_EQ(HandOverToForm(&g_Form, ids.data(), 1, 0, "列表"), 0);
    SendMessageA(g_Form.Field(kLink), WM_LBUTTONDBLCLK, 0, 0);
    SendMessageA(g_Form.m_hName, WM_LBUTTONDBLCLK, 0, 0);  // not flagged
    EXPECT_EQ(g_Form.doubleClicks, std::vector<int>{kLink});
    // The flagged field stays out of the Tab cycle.
    EXPECT_EQ(g_Form.TabTarget(kLink, FALSE), nullptr);
}

TEST_F(FrameExtensions, ARestoredNewRecordEntryKeepsTheLookups) {
    ASSERT_EQ(HandOverToForm(&g_Form, nullptr, 0, -1, ""), 0);
    const int nAfterNew = g_Form.refills;
    EXPECT_GE(nAfterNew, 1);
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    Back();
    ASSERT_EQ(g_pCurrentDialog, &g_Form);
    EXPECT_EQ(g_Form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(g_Form.refills, nAfterNew);
}

}  // namespace
