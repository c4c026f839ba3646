// The live-object counts of the test hooks: each kind of handle counted while
// it lives and no longer once released, and what goes with a window (its
// children, its menu, its timers, a dialog's template font).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Recorder.h"
#include "win32_commctrl.h"
#include "win32_testhooks.h"

namespace {

using w32test::LiveObjects;
using w32test::ObjectCounts;

class LiveObjectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        w32test::ClearHooks();
        w32test::ProcessEvents();
        before = LiveObjects();
    }
    void TearDown() override { w32test::ClearHooks(); }
    // The counts now, less those at the start of the test.
    ObjectCounts Grown() {
        ObjectCounts now = LiveObjects(), d;
        d.fonts = now.fonts - before.fonts;
        d.brushes = now.brushes - before.brushes;
        d.pens = now.pens - before.pens;
        d.bitmaps = now.bitmaps - before.bitmaps;
        d.regions = now.regions - before.regions;
        d.dcs = now.dcs - before.dcs;
        d.menus = now.menus - before.menus;
        d.windows = now.windows - before.windows;
        d.timers = now.timers - before.timers;
        d.imageLists = now.imageLists - before.imageLists;
        d.kernelHandles = now.kernelHandles - before.kernelHandles;
        d.widgets = now.widgets - before.widgets;
        return d;
    }
    void ExpectBackToStart() {
        ObjectCounts now = LiveObjects();
        EXPECT_EQ(now, before) << w32test::Difference(before, now);
    }
    ObjectCounts before;
};

TEST_F(LiveObjectsTest, EachGdiObjectCountsUntilItIsDeleted) {
    LOGFONTA lf{};
    lf.lfHeight = -15;
    HFONT font = CreateFontIndirectA(&lf);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    HRGN rgn = CreateRectRgn(0, 0, 10, 10);
    HBITMAP bmp = CreateCompatibleBitmap(nullptr, 4, 4);
    HDC mem = CreateCompatibleDC(nullptr);
    ObjectCounts g = Grown();
    EXPECT_EQ(g.fonts, 1);
    EXPECT_EQ(g.brushes, 1);
    EXPECT_EQ(g.pens, 1);
    EXPECT_EQ(g.regions, 1);
    EXPECT_EQ(g.bitmaps, 1);
    EXPECT_EQ(g.dcs, 1);

    // Selected into a DC and deleted after it, as a program does.
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    HGDIOBJ oldFont = SelectObject(mem, font);
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBmp);
    EXPECT_TRUE(DeleteDC(mem));
    for (HGDIOBJ o : {HGDIOBJ(font), HGDIOBJ(brush), HGDIOBJ(pen), HGDIOBJ(rgn), HGDIOBJ(bmp)})
        EXPECT_TRUE(DeleteObject(o));
    ExpectBackToStart();
    // A second delete is refused and changes nothing.
    EXPECT_FALSE(DeleteObject(font));
    ExpectBackToStart();
}

TEST_F(LiveObjectsTest, StockObjectsAreNotCountedAndNeverDeleted) {
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    EXPECT_TRUE(DeleteObject(white));
    EXPECT_TRUE(DeleteObject(face));
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), white);
    ExpectBackToStart();
}

TEST_F(LiveObjectsTest, WindowDCsCountUntilReleasedOrPaintEnds) {
    HWND top = MakeTop();
    HDC dc = GetDC(top);
    EXPECT_EQ(Grown().dcs, 1);
    ReleaseDC(top, dc);
    EXPECT_EQ(Grown().dcs, 0);
    PAINTSTRUCT ps;
    BeginPaint(top, &ps);
    EXPECT_EQ(Grown().dcs, 1);
    EndPaint(top, &ps);
    EXPECT_EQ(Grown().dcs, 0);
    DestroyWindow(top);
    ExpectBackToStart();
}

TEST_F(LiveObjectsTest, DestroyMenuTakesItsSubmenusWithIt) {
    // IDM_TEST: a bar with two popups, the second holding a third.
    HMENU m = LoadMenuA(Inst(), "IDM_TEST");
    ASSERT_TRUE(m);
    EXPECT_EQ(Grown().menus, 4);
    EXPECT_TRUE(DestroyMenu(m));
    ExpectBackToStart();

    // Built by hand: a popup appended to another goes with it.
    HMENU outer = CreatePopupMenu();
    HMENU inner = CreatePopupMenu();
    AppendMenuA(inner, MF_STRING, 1, "a");
    AppendMenuA(outer, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), "sub");
    EXPECT_EQ(Grown().menus, 2);
    EXPECT_TRUE(DestroyMenu(outer));
    EXPECT_EQ(GetMenuItemCount(inner), -1) << "no longer a menu";
    ExpectBackToStart();
}

TEST_F(LiveObjectsTest, AMenuTrackedAndClosedLeavesNothing) {
    HWND top = MakeTop();
    HMENU m = LoadMenuA(Inst(), "IDM_TEST");
    w32test::SetPopupMenuHook([](const w32test::PopupMenuCall&) { return UINT(0); });
    TrackPopupMenu(GetSubMenu(m, 1), TPM_RIGHTBUTTON, 10, 10, 0, top, nullptr);
    DestroyMenu(m);
    DestroyWindow(top);
    ExpectBackToStart();
}

TEST_F(LiveObjectsTest, AWindowTreeGoesWithItsTopWindow) {
    HWND top = MakeTop();
    HWND a = MakeChild(top, 0, 0, 100, 100, 1);
    MakeChild(a, 0, 0, 50, 50, 2);
    MakeChild(a, 50, 0, 50, 50, 3);
    CreateWindowExA(0, "BUTTON", "ok", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, top, reinterpret_cast<HMENU>(4), Inst(),
                    nullptr);
    CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 30, 40, 20, a, reinterpret_cast<HMENU>(5), Inst(),
                    nullptr);
    ShowWindow(top, SW_SHOW);
    w32test::ProcessEvents();
    EXPECT_EQ(Grown().windows, 6);
    EXPECT_GT(Grown().widgets, 0);
    EXPECT_TRUE(DestroyWindow(top));
    ExpectBackToStart();
}

TEST_F(LiveObjectsTest, ATopWindowsMenuAndTimersGoWithIt) {
    HWND top = MakeTop();
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "file");
    ASSERT_TRUE(SetMenu(top, bar));
    SetTimer(top, 7, 10000, nullptr);
    SetTimer(top, 8, 10000, nullptr);
    EXPECT_EQ(Grown().menus, 2);
    EXPECT_EQ(Grown().timers, 2);
    EXPECT_TRUE(KillTimer(top, 8));
    EXPECT_EQ(Grown().timers, 1);
    DestroyWindow(top);
    EXPECT_EQ(GetMenuItemCount(bar), -1) << "no longer a menu";
    ExpectBackToStart();
}

TEST_F(LiveObjectsTest, ADialogsTemplateFontGoesWithTheDialog) {
    HWND top = MakeTop();
    ShowWindow(top, SW_SHOW);
    const ObjectCounts withTop = LiveObjects();
    auto page = [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; };
    for (int i = 0; i < 5; ++i) {
        HWND h = CreateDialogParamA(Inst(), "ID_DLG_PAGE", top, page, 0);
        ASSERT_TRUE(h);
        EXPECT_EQ(LiveObjects().fonts, withTop.fonts + 1) << "the template's font";
        DestroyWindow(h);
    }
    EXPECT_EQ(LiveObjects(), withTop) << w32test::Difference(withTop, LiveObjects());

    // Modal ones as well, ended from their loop.
    w32test::SetDialogHook([](HWND h, const std::string&) { EndDialog(h, IDCANCEL); });
    auto form = [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; };
    for (int i = 0; i < 5; ++i) DialogBoxParamA(Inst(), "ID_DLG_FORM", top, form, 0);
    w32test::ProcessEvents();
    EXPECT_EQ(LiveObjects(), withTop) << w32test::Difference(withTop, LiveObjects());
    DestroyWindow(top);
    ExpectBackToStart();
}

TEST_F(LiveObjectsTest, ImageListsAndKernelHandlesCountUntilDestroyedOrClosed) {
    HIMAGELIST il = ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
    EXPECT_EQ(Grown().imageLists, 1);
    ImageList_Destroy(il);

    char path[] = "/tmp/w32liveXXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    HANDLE f = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Grown().kernelHandles, 1);
    CloseHandle(f);
    remove(path);
    ExpectBackToStart();
}

TEST_F(LiveObjectsTest, AListViewsOwnCheckBoxImagesGoWithIt) {
    InitCommonControls();
    before = LiveObjects();
    HWND top = MakeTop();
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 200, 100, top,
                                reinterpret_cast<HMENU>(9), Inst(), nullptr);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    EXPECT_EQ(Grown().imageLists, 1);
    DestroyWindow(top);
    ExpectBackToStart();
}

TEST_F(LiveObjectsTest, DescribeAndDifferenceNameTheCounts) {
    ObjectCounts a, b;
    b.fonts = 2;
    b.menus = 1;
    EXPECT_NE(a, b);
    EXPECT_EQ(w32test::Difference(a, b), "fonts 0 -> 2, menus 0 -> 1");
    EXPECT_EQ(w32test::Difference(a, a), "");
    EXPECT_NE(w32test::Describe(b).find("fonts=2"), std::string::npos);
}

}  // namespace
