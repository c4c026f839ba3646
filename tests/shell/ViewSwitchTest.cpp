// Views on real (offscreen) windows: the window dispatch, the layout and the
// order of events of every kind of view switch, Back and Forward.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/ProgramTest.h"
#include "program/main.h"
#include "win32_testhooks.h"

namespace {

std::vector<std::string> g_Log;

// A view that logs what reaches it: "<name>:show", "<name>:hide", the
// private messages by number, and whether g_pCurrentDialog was itself.
class LogView : public BaseDialogClass {
public:
    explicit LogView(const char* pszName) : m_strName(pszName) {}
    void InitDialog(HWND hWnd) override {
        if (m_bInit) return;
        BaseDialogClass::InitDialog(hWnd);
        ++m_nInitCount;
    }
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override {
        if (uMsg == WM_SHOWWINDOW) {
            g_Log.push_back(m_strName + (wParam ? ":show" : ":hide"));
        } else if (uMsg >= UM_SHOWRECORD && uMsg <= UM_OPENACCOUNT) {
            g_Log.push_back(m_strName + ":" + std::to_string(uMsg));
            if (uMsg == UM_RESTOREVIEW) m_pRestoredFrom = g_History.m_pCurrent;
            if (m_pfnOnMessage) m_pfnOnMessage(uMsg);
            return 0;
        }
        return BaseDialogClass::DialogProc(hWnd, uMsg, wParam, lParam);
    }
    std::string m_strName;
    int m_nInitCount = 0;
    HistoryNode* m_pRestoredFrom = nullptr;
    void (*m_pfnOnMessage)(UINT) = nullptr;
};

LogView g_A("A"), g_B("B"), g_C("C");
BaseDialogClass* const g_TestViews[3] = {&g_A, &g_B, &g_C};

LRESULT CALLBACK ParentProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

bool IsShown(BaseDialogClass& v) { return IsWindowVisible(v.m_hWnd) != 0; }

class ViewSwitchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = programtest::TestInstance();
        wc.lpszClassName = "ViewSwitchTestParent";
        RegisterClassA(&wc);
        s_hParent = CreateWindowExA(0, "ViewSwitchTestParent", "parent", WS_OVERLAPPEDWINDOW, 0, 0, 900, 700, nullptr,
                                    nullptr, programtest::TestInstance(), nullptr);
        ShowWindow(s_hParent, SW_SHOW);
        BaseDialogClass::SetViewTable(g_TestViews, 3);
        ASSERT_EQ(0, g_A.CreateDialog(programtest::TestInstance(), s_hParent, "TestViewA", 40));
        ASSERT_EQ(0, g_B.CreateDialog(programtest::TestInstance(), s_hParent, "TestViewB", 40));
        ASSERT_EQ(0, g_C.CreateDialog(programtest::TestInstance(), s_hParent, "TestViewC", 40));
    }
    static void TearDownTestSuite() {
        DestroyWindow(s_hParent);
        BaseDialogClass::SetViewTable(nullptr, 0);
    }
    void SetUp() override {
        BaseDialogClass::SetViewTable(g_TestViews, 3);
        for (LogView* v : {&g_A, &g_B, &g_C}) {
            v->HideDialog();
            v->m_pfnOnMessage = nullptr;
        }
        g_History.FreeAll();
        ASSERT_EQ(0, g_History.AllocHead());
        g_History.m_pHead->m_pView = &g_A;
        g_A.ShowDialog();
        g_pCurrentDialog = &g_A;
        g_Log.clear();
    }
    void TearDown() override {
        g_History.FreeAll();
        g_pCurrentDialog = nullptr;
    }
    int VisibleCount() { return IsShown(g_A) + IsShown(g_B) + IsShown(g_C); }
    static HWND s_hParent;
};
HWND ViewSwitchTest::s_hParent = nullptr;

using Log = std::vector<std::string>;

TEST_F(ViewSwitchTest, DispatchFindsTheViewAndBuildsItOnItsFirstShowing) {
    EXPECT_EQ(&g_B, BaseDialogClass::HwndToDialog(g_B.m_hWnd));
    EXPECT_EQ(nullptr, BaseDialogClass::HwndToDialog(s_hParent));
    EXPECT_EQ(nullptr, BaseDialogClass::HwndToDialog(nullptr));
    EXPECT_EQ(40, g_B.m_nTop);
    // Created hidden; the first showing runs InitDialog once, hiding again
    // still reaches DialogProc.
    LogView fresh("F");
    BaseDialogClass* views[4] = {&g_A, &g_B, &g_C, &fresh};
    BaseDialogClass::SetViewTable(views, 4);
    ASSERT_EQ(0, fresh.CreateDialog(programtest::TestInstance(), s_hParent, "TestViewF", 40));
    EXPECT_FALSE(IsShown(fresh));
    EXPECT_EQ(0, fresh.m_bInit);
    EXPECT_EQ(nullptr, fresh.m_hFont);
    fresh.ShowDialog();
    fresh.HideDialog();
    fresh.ShowDialog();
    EXPECT_EQ(1, fresh.m_nInitCount);
    EXPECT_EQ(1, fresh.m_bInit);
    EXPECT_NE(nullptr, fresh.m_hFont);
    EXPECT_NE(nullptr, fresh.m_hFontTitle);
    EXPECT_EQ((Log{"F:show", "F:hide", "F:show"}), g_Log);
    DestroyWindow(fresh.m_hWnd);
    fresh.m_hWnd = nullptr;
    BaseDialogClass::SetViewTable(g_TestViews, 3);
}

TEST_F(ViewSwitchTest, CreateDialogWithoutInstanceFails) {
    LogView v("V");
    w32test::ClearMessageBoxes();
    EXPECT_EQ(-1, v.CreateDialog(nullptr, s_hParent, "TestViewV", 0));
    EXPECT_EQ((std::vector<std::string>{"BaseDialogClass.cpp 55: hInstance Error."}), programtest::MessageTexts());
}

TEST_F(ViewSwitchTest, GuardedSwitchShowsSendsHidesAndDoesNothingForTheCurrentView) {
    SwitchViewGuarded(&g_B, UM_OPEN_IMPORTANT);
    EXPECT_EQ((Log{"B:show", "B:40004", "A:hide"}), g_Log);
    EXPECT_EQ(&g_B, g_pCurrentDialog);
    g_Log.clear();
    SwitchViewGuarded(&g_B, UM_OPEN_IMPORTANT);
    EXPECT_TRUE(g_Log.empty());
    EXPECT_EQ(1, VisibleCount());
}

TEST_F(ViewSwitchTest, AlwaysSwitchReloadsTheCurrentViewInPlace) {
    SwitchViewAlways(&g_A, UM_OPENVIEW);
    EXPECT_EQ((Log{"A:40002"}), g_Log);
    g_Log.clear();
    SwitchViewAlways(&g_C, UM_NEWRECORD);
    EXPECT_EQ((Log{"C:show", "C:40003", "A:hide"}), g_Log);
    EXPECT_EQ(&g_C, g_pCurrentDialog);
}

TEST_F(ViewSwitchTest, HideFirstSwitchHidesTheOldViewBeforeTheMessage) {
    SwitchViewHideFirst(&g_B, UM_OPENVIEW);
    EXPECT_EQ((Log{"B:show", "A:hide", "B:40002"}), g_Log);
    EXPECT_EQ(&g_B, g_pCurrentDialog);
    g_Log.clear();
    SwitchViewHideFirst(&g_B, UM_OPENVIEW);
    EXPECT_TRUE(g_Log.empty());
}

TEST_F(ViewSwitchTest, QuickSearchSendsBeforeTheTargetIsShown) {
    SwitchViewAfterSend(&g_C, UM_KEYWORDSEARCH);
    EXPECT_EQ((Log{"C:40020", "C:show", "A:hide"}), g_Log);
    EXPECT_EQ(&g_C, g_pCurrentDialog);
}

TEST_F(ViewSwitchTest, AReceiverThatSwitchesItselfLeavesExactlyOneViewShown) {
    // B, while it handles its opening message, moves on to C (as a form that
    // leaves itself would).
    g_B.m_pfnOnMessage = [](UINT) { SwitchViewGuarded(&g_C, UM_OPENVIEW); };
    SwitchViewGuarded(&g_B, UM_OPENVIEW);
    EXPECT_EQ(&g_C, g_pCurrentDialog);
    EXPECT_TRUE(IsShown(g_C));
    EXPECT_FALSE(IsShown(g_A));
    EXPECT_FALSE(IsShown(g_B));
    EXPECT_EQ(1, VisibleCount());

    g_B.m_pfnOnMessage = [](UINT) { SwitchViewAlways(&g_A, UM_OPENVIEW); };
    SwitchViewAlways(&g_B, UM_OPENVIEW);
    EXPECT_EQ(&g_A, g_pCurrentDialog);
    EXPECT_EQ(1, VisibleCount());
    EXPECT_TRUE(IsShown(g_A));
}

TEST_F(ViewSwitchTest, BackAndForwardRestoreWithoutAddingEntries) {
    SwitchViewGuarded(&g_B, UM_OPENVIEW);
    g_History.OpenEntry(&g_B);
    SwitchViewGuarded(&g_C, UM_OPENVIEW);
    g_History.OpenEntry(&g_C);
    g_Log.clear();

    MoveInHistory(-1);
    EXPECT_EQ((Log{"B:show", "B:40015", "C:hide"}), g_Log);
    EXPECT_EQ(&g_B, g_pCurrentDialog);
    EXPECT_EQ(g_History.m_pCurrent, g_B.m_pRestoredFrom);
    EXPECT_EQ(3, g_History.Count());

    g_Log.clear();
    MoveInHistory(+1);
    EXPECT_EQ((Log{"C:show", "C:40015", "B:hide"}), g_Log);
    g_Log.clear();
    MoveInHistory(+1);  // newest entry: nothing
    EXPECT_TRUE(g_Log.empty());
    MoveInHistory(-1);
    MoveInHistory(-1);
    g_Log.clear();
    MoveInHistory(-1);  // head: nothing
    EXPECT_TRUE(g_Log.empty());
    EXPECT_EQ(&g_A, g_pCurrentDialog);
}

TEST_F(ViewSwitchTest, BackToAnotherEntryOfTheSameViewHidesNothing) {
    SwitchViewGuarded(&g_B, UM_OPENVIEW);
    g_History.OpenEntry(&g_B);
    g_History.OpenEntry(&g_B);  // the same page searched again
    g_Log.clear();
    MoveInHistory(-1);
    EXPECT_EQ((Log{"B:40015"}), g_Log);  // already shown: no show, no hide
    EXPECT_EQ(&g_B, g_pCurrentDialog);
    EXPECT_EQ(1, VisibleCount());
}

TEST_F(ViewSwitchTest, BackSkipsEntriesThatNoViewFilledIn) {
    SwitchViewGuarded(&g_B, UM_OPENVIEW);
    ASSERT_EQ(0, g_History.Append());  // a page that appended but never set its view
    SwitchViewGuarded(&g_C, UM_OPENVIEW);
    g_History.OpenEntry(&g_C);
    g_Log.clear();
    MoveInHistory(-1);
    EXPECT_EQ(&g_A, g_pCurrentDialog);
    EXPECT_EQ(g_History.m_pHead, g_History.m_pCurrent);
    EXPECT_EQ((Log{"A:show", "A:40015", "C:hide"}), g_Log);
}

TEST_F(ViewSwitchTest, LayoutGivesScrollBarsBelowThePageSizeAndNeverANegativeHeight) {
    auto layout = [&](int w, int h) {
        programtest::SetClientSize(s_hParent, w, h);
        RECT rcClient;
        GetClientRect(s_hParent, &rcClient);
        EXPECT_EQ(w, rcClient.right);
        EXPECT_EQ(h, rcClient.bottom);
        g_B.ResizeDialog(s_hParent);
    };
    auto style = [&] { return GetWindowLongPtrA(g_B.m_hWnd, GWL_STYLE); };
    auto size = [&] {
        RECT rc;
        GetWindowRect(g_B.m_hWnd, &rc);
        return std::make_pair(rc.right - rc.left, rc.bottom - rc.top);
    };

    layout(800, 600);
    EXPECT_TRUE(style() & WS_HSCROLL);
    EXPECT_TRUE(style() & WS_VSCROLL);
    EXPECT_EQ(std::make_pair(800, 522), size());
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(g_B.m_hWnd, SB_HORZ, &si));
    EXPECT_EQ(0, si.nMin);
    EXPECT_EQ(1024, si.nMax);
    EXPECT_EQ(800u, si.nPage);
    EXPECT_EQ(0, si.nPos);

    layout(1024, 712);
    EXPECT_FALSE(style() & WS_HSCROLL);
    EXPECT_FALSE(style() & WS_VSCROLL);

    layout(1023, 712);
    EXPECT_TRUE(style() & WS_HSCROLL);
    EXPECT_FALSE(style() & WS_VSCROLL);

    // A scrolled view comes back to its origin on the next layout.
    g_B.m_nHScroll = -30;
    g_B.m_nVScroll = -20;
    layout(900, 600);
    EXPECT_EQ(0, g_B.m_nHScroll);
    EXPECT_EQ(0, g_B.m_nVScroll);

    layout(300, 50);  // 50 - 78 < 0
    EXPECT_EQ(0, size().second);
}

TEST_F(ViewSwitchTest, ScrollingMovesTheOffsetsByTheBarsMovement) {
    SetWindowPos(s_hParent, nullptr, 0, 0, 700, 500, SWP_NOZORDER);
    g_B.ResizeDialog(s_hParent);
    g_B.ShowDialog();
    g_B.OnScroll(g_B.m_hWnd, WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(-1, g_B.m_nVScroll);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(g_B.m_hWnd, SB_VERT, &si));
    g_B.OnScroll(g_B.m_hWnd, WM_VSCROLL, SB_PAGEDOWN);
    // Page down moves by the page, but never past the last page position.
    const int nLast = si.nMax - (int)si.nPage + 1;
    EXPECT_EQ(-std::min(1 + (int)si.nPage, nLast), g_B.m_nVScroll);
    g_B.OnScroll(g_B.m_hWnd, WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(-nLast, g_B.m_nVScroll);
    g_B.OnScroll(g_B.m_hWnd, WM_VSCROLL, SB_TOP);
    EXPECT_EQ(0, g_B.m_nVScroll);
    g_B.OnScroll(g_B.m_hWnd, WM_HSCROLL, SB_LINEUP);  // already at 0
    EXPECT_EQ(0, g_B.m_nHScroll);
    g_B.HideDialog();
}

}  // namespace
