// Window model and message delivery: creation, show/hide, sends, posts, quit,
// subclassing, destruction.
#include <gtest/gtest.h>

#include <algorithm>

#include "Recorder.h"
#include "win32_testhooks.h"

namespace {

constexpr UINT UM_A = 40001, UM_B = 40002;

class Messages : public ::testing::Test {
protected:
    void SetUp() override {
        ClearLog();
        g_recHandler = nullptr;
        g_logPaint = false;
    }
    void TearDown() override {
        g_recHandler = nullptr;
        for (HWND h : made)
            if (IsWindow(h)) DestroyWindow(h);
        w32test::ProcessEvents();
    }
    HWND Top() {
        HWND h = MakeTop();
        made.push_back(h);
        return h;
    }
    std::vector<HWND> made;
};

TEST_F(Messages, CreationSendsCreateSizeMoveAndNoShowForHiddenChild) {
    HWND top = Top();
    ClearLog();
    HWND c = MakeChild(top, 5, 6, 70, 80, 104771, WS_CHILD);
    ASSERT_TRUE(c);
    std::vector<UINT> expect{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE};
    EXPECT_EQ(Trace(c), expect);
    EXPECT_EQ(Count(WM_SHOWWINDOW), 0);
    // A 32-bit id survives, as does its pointer-sized form.
    EXPECT_EQ(GetDlgCtrlID(c), 104771);
    EXPECT_EQ(GetWindowLongPtrA(c, GWLP_ID), 104771);
    RECT rc;
    GetClientRect(c, &rc);
    EXPECT_EQ(rc.right, 70);
    EXPECT_EQ(rc.bottom, 80);
    for (auto& r : Log()) {
        if (r.hwnd == c && r.msg == WM_SIZE) {
            EXPECT_EQ(r.lp, MAKELPARAM(70, 80));
        }
    }
}

TEST_F(Messages, CreateReturningMinusOneFailsAndDestroys) {
    HWND top = Top();
    g_recHandler = [](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != WM_CREATE) return false;
        *r = -1;
        return true;
    };
    ClearLog();
    HWND c = MakeChild(top, 0, 0, 10, 10);
    EXPECT_EQ(c, nullptr);
    EXPECT_EQ(Count(WM_DESTROY), 1);
    EXPECT_EQ(GetWindow(top, GW_CHILD), nullptr);
}

TEST_F(Messages, ShowWindowSendsShowWindowSynchronouslyAndOnlyOnChange) {
    HWND top = Top();
    HWND v = MakeChild(top, 0, 0, 100, 100, 0, WS_CHILD);
    ClearLog();
    // The parent is still hidden: the child is told anyway.
    EXPECT_FALSE(ShowWindow(v, SW_SHOW));
    ASSERT_EQ(Count(WM_SHOWWINDOW, v), 1);
    EXPECT_EQ(Log().back().wp, WPARAM(TRUE));
    EXPECT_TRUE(ShowWindow(v, SW_SHOW));
    EXPECT_EQ(Count(WM_SHOWWINDOW, v), 1);
    EXPECT_TRUE(ShowWindow(v, SW_HIDE));
    ASSERT_EQ(Count(WM_SHOWWINDOW, v), 2);
    EXPECT_EQ(Log().back().wp, WPARAM(FALSE));
    EXPECT_FALSE(ShowWindow(v, SW_HIDE));
    EXPECT_EQ(Count(WM_SHOWWINDOW, v), 2);
    EXPECT_FALSE(IsWindowVisible(v));
}

TEST_F(Messages, ViewSwitchKeepsShowSendHideOrderWithBothVisibleDuringTheSend) {
    HWND top = Top();
    ShowWindow(top, SW_SHOW);
    HWND oldView = MakeChild(top, 0, 0, 200, 200, 0, WS_CHILD);
    HWND target = MakeChild(top, 0, 0, 200, 200, 0, WS_CHILD);
    ShowWindow(oldView, SW_SHOW);
    bool bothVisible = false;
    g_recHandler = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != UM_B) return false;
        bothVisible = IsWindowVisible(oldView) && IsWindowVisible(target) && h == target;
        *r = 5;
        return true;
    };
    ClearLog();
    ShowWindow(target, SW_SHOW);
    UpdateWindow(target);
    EXPECT_EQ(SendMessageA(target, UM_B, 0, 0), 5);
    ShowWindow(oldView, SW_HIDE);
    UpdateWindow(oldView);
    std::vector<std::pair<HWND, UINT>> seq;
    for (auto& r : Log())
        if (r.msg == WM_SHOWWINDOW || r.msg == UM_B) seq.emplace_back(r.hwnd, r.msg);
    std::vector<std::pair<HWND, UINT>> expect{{target, WM_SHOWWINDOW}, {target, UM_B}, {oldView, WM_SHOWWINDOW}};
    EXPECT_EQ(seq, expect);
    EXPECT_TRUE(bothVisible);
}

TEST_F(Messages, SendsAreSynchronousReentrantAndCarryNegativeParameters) {
    HWND top = Top();
    EXPECT_EQ(SendMessageA(nullptr, UM_A, 1, 2), 0);
    std::vector<int> rows;
    g_recHandler = [&](HWND h, UINT m, WPARAM wp, LPARAM, LRESULT* r) {
        if (m == UM_A) {
            rows.push_back(int(wp));
            // A window sending to itself from inside its own procedure.
            *r = int(wp) < 0 ? SendMessageA(h, UM_B, 0, 0) + 1 : 0;
            return true;
        }
        if (m == UM_B) {
            *r = 41;
            return true;
        }
        return false;
    };
    EXPECT_EQ(SendMessageA(top, UM_A, WPARAM(-1), 0), 42);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], -1);
    // Private numbers pass DefWindowProcA as 0.
    g_recHandler = nullptr;
    EXPECT_EQ(SendMessageA(top, UM_A, 0, 0), 0);
}

LRESULT CALLBACK FirstSubclass(HWND h, UINT m, WPARAM wp, LPARAM lp);
WNDPROC g_prev = nullptr;
std::vector<std::string> g_order;
LRESULT CALLBACK FirstSubclass(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == UM_A) g_order.push_back("subclass");
    return CallWindowProcA(g_prev, h, m, wp, lp);
}

TEST_F(Messages, SubclassSeesMessagesFirstAndChainsToTheClassProcedure) {
    HWND top = Top();
    g_order.clear();
    g_recHandler = [](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != UM_A) return false;
        g_order.push_back("class");
        *r = 9;
        return true;
    };
    g_prev = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FirstSubclass)));
    ASSERT_NE(g_prev, nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(top, GWLP_WNDPROC)), FirstSubclass);
    EXPECT_EQ(SendMessageA(top, UM_A, 0, 0), 9);
    EXPECT_EQ(g_order, (std::vector<std::string>{"subclass", "class"}));
    // The LONG forms are the same slots on this build.
    EXPECT_EQ(reinterpret_cast<WNDPROC>(SetWindowLongA(top, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(g_prev))),
              FirstSubclass);
}

TEST_F(Messages, PostedMessagesComeBeforeAStickyQuit) {
    HWND top = Top();
    PostMessageA(top, UM_A, 1, 0);
    PostMessageA(top, UM_B, 2, 0);
    PostQuitMessage(7);
    MSG m;
    ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, UM_A);
    ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, UM_B);
    EXPECT_EQ(DispatchMessageA(&m), 0);
    EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, UINT(WM_QUIT));
    EXPECT_EQ(m.wParam, 7u);
    // The quit is taken once.
    PostMessageA(top, UM_A, 3, 0);
    ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.wParam, 3u);
}

TEST_F(Messages, TranslateMessagePostsCharToTheKeyWindow) {
    HWND top = Top();
    MSG key{top, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&key));
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.hwnd, top);
    EXPECT_EQ(m.message, UINT(WM_CHAR));
    EXPECT_EQ(m.wParam, WPARAM('\r'));
}

TEST_F(Messages, DestroyReachesChildrenAndHandlesStayUnique) {
    HWND top = Top();
    HWND a = MakeChild(top, 0, 0, 10, 10, 1);
    HWND b = MakeChild(a, 0, 0, 5, 5, 2);
    ClearLog();
    EXPECT_TRUE(DestroyWindow(top));
    std::vector<HWND> destroyed;
    for (auto& r : Log())
        if (r.msg == WM_DESTROY) destroyed.push_back(r.hwnd);
    EXPECT_EQ(destroyed, (std::vector<HWND>{top, a, b}));
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(a));
    EXPECT_FALSE(IsWindow(b));
    EXPECT_FALSE(DestroyWindow(top));
    HWND fresh = Top();
    EXPECT_TRUE(fresh != top && fresh != a && fresh != b);
    EXPECT_EQ(SendMessageA(a, UM_A, 0, 0), 0);
}

TEST_F(Messages, ChildrenKeepCreationOrderAndScreenRectangles) {
    HWND top = Top();
    HWND a = MakeChild(top, 10, 20, 30, 40, 1);
    HWND b = MakeChild(top, 0, 0, 5, 5, 2);
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetParent(a), top);
    RECT wr;
    GetWindowRect(a, &wr);
    POINT pr{0, 0};  // a child's rectangle is placed in its parent's client area
    ClientToScreen(top, &pr);
    EXPECT_EQ(wr.left - pr.x, 10);
    EXPECT_EQ(wr.top - pr.y, 20);
    EXPECT_EQ(wr.right - wr.left, 30);
    POINT p{0, 0};
    ClientToScreen(a, &p);
    EXPECT_EQ(p.x, wr.left);
    // A plain move raises nothing and keeps the order.
    MoveWindow(b, 1, 2, 3, 4, TRUE);
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    SetWindowPos(b, nullptr, 1, 2, 3, 4, 0);
    EXPECT_EQ(GetWindow(top, GW_CHILD), b);
}

TEST_F(Messages, RegisteringAClassTwiceFailsAndUnknownClassesGiveNull) {
    RegisterRec();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "RecWnd";
    SetLastError(0);
    EXPECT_EQ(RegisterClassA(&wc), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, Inst(), nullptr), nullptr);
    WNDCLASSA info{};
    EXPECT_TRUE(GetClassInfoA(Inst(), "recwnd", &info));

    // A class goes only once its windows are gone, and then registers afresh.
    wc.lpszClassName = "Passing";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND h = CreateWindowExA(0, "Passing", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, Inst(), nullptr);
    made.push_back(h);
    EXPECT_FALSE(UnregisterClassA("Passing", Inst()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_HAS_WINDOWS));
    EXPECT_TRUE(GetClassInfoA(Inst(), "Passing", &info));
    DestroyWindow(h);
    EXPECT_TRUE(UnregisterClassA("passing", Inst()));
    EXPECT_FALSE(GetClassInfoA(Inst(), "Passing", &info));
    EXPECT_FALSE(UnregisterClassA("Passing", Inst()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_DOES_NOT_EXIST));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    ASSERT_NE(RegisterClassA(&wc), 0);
    EXPECT_TRUE(GetClassInfoA(Inst(), "Passing", &info));
    EXPECT_EQ(info.hbrBackground, wc.hbrBackground);
    EXPECT_TRUE(UnregisterClassA("Passing", Inst()));
    EXPECT_FALSE(UnregisterClassA("BUTTON", Inst()));
}

TEST_F(Messages, CloseDestroysThroughTheDefaultProcedure) {
    HWND top = Top();
    SendMessageA(top, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(top));
}

TEST_F(Messages, TextsAreGbkWithByteLengthsAndNeverHalfCharacters) {
    HWND top = Top();
    // "中文ab" in GBK: D6 D0 CE C4 61 62
    const char text[] =
        "\xD6\xD0\xCE\xC4"
        "ab";
    ASSERT_TRUE(SetWindowTextA(top, text));
    EXPECT_EQ(GetWindowTextLengthA(top), 6);
    char buf[8];
    EXPECT_EQ(GetWindowTextA(top, buf, 4), 2);  // 3 bytes would split 文
    EXPECT_STREQ(buf, "\xD6\xD0");
    EXPECT_EQ(GetWindowTextA(top, buf, 5), 4);
    EXPECT_EQ(GetWindowTextA(top, buf, sizeof buf), 6);
    EXPECT_STREQ(buf, text);
}

}  // namespace

namespace {

TEST_F(Messages, ClassIconsChangeOnShownFramesWithoutBlocking) {
    HWND top = Top();
    ShowWindow(top, SW_SHOW);
    HICON icon = LoadIconA(Inst(), "IDI_TEST_ICON");
    ASSERT_TRUE(icon);
    EXPECT_EQ(LoadIconA(Inst(), "idi_test_icon"), icon);  // loaded once, by any case
    ULONG_PTR old = SetClassLongPtrA(top, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    EXPECT_NE(old, reinterpret_cast<ULONG_PTR>(icon));
    EXPECT_EQ(GetClassLongPtrA(top, GCLP_HICON), reinterpret_cast<ULONG_PTR>(icon));
    EXPECT_TRUE(LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(LoadIconA(Inst(), "NO_ICON"), nullptr);
    SetClassLongPtrA(top, GCLP_HICON, static_cast<LONG_PTR>(old));  // the class is shared by every test
}

}  // namespace

namespace {

TEST_F(Messages, AWindowStaysAWindowDuringItsDestroyAndCannotBeDestroyedTwice) {
    HWND top = Top();
    HWND child = MakeChild(top, 0, 0, 10, 10, 3);
    bool aliveInDestroy = false, childAlive = false;
    BOOL again = TRUE;
    g_recHandler = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT*) {
        if (m == WM_DESTROY && h == top) {
            aliveInDestroy = IsWindow(top) != 0;
            childAlive = IsWindow(child) != 0;
            again = DestroyWindow(top);
            EXPECT_EQ(SendMessageA(child, WM_GETTEXTLENGTH, 0, 0), 0);
        }
        return false;
    };
    EXPECT_TRUE(DestroyWindow(top));
    EXPECT_TRUE(aliveInDestroy);
    EXPECT_TRUE(childAlive);
    EXPECT_FALSE(again);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(child));
}

}  // namespace

namespace {

TEST_F(Messages, TimersPostTimerMessagesUntilKilled) {
    HWND top = Top();
    int ticks = 0;
    g_recHandler = [&](HWND h, UINT m, WPARAM wp, LPARAM, LRESULT* r) {
        if (m != WM_TIMER) return false;
        EXPECT_EQ(wp, 77u);
        if (++ticks == 3) {
            KillTimer(h, 77);
            PostQuitMessage(0);
        }
        *r = 0;
        return true;
    };
    ASSERT_EQ(SetTimer(top, 77, 10, nullptr), 77u);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(KillTimer(top, 77));
    EXPECT_EQ(RegisterWindowMessageA("TarvelPing"), RegisterWindowMessageA("tarvelping"));
    EXPECT_GE(RegisterWindowMessageA("TarvelPing"), 0xC000u);
}

}  // namespace
