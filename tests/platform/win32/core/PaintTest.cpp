// Painting over backing images: invalidation and erase, drawing outside
// WM_PAINT, GDI geometry, text placement and fonts, blits, window scroll bars
// and ScrollWindow, the hover/cursor message sequence.
#include <QtWidgets/QApplication>
#include <QtWidgets/QScrollBar>
#include <QtCore/QFileInfo>
#include <QtGui/QGlyphRun>
#include <QtGui/QPainter>
#include <QtGui/QRawFont>
#include <QtGui/QTextLayout>
#include <QtGui/QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <set>

#include "Recorder.h"
#include "win32_testhooks.h"

namespace {

constexpr COLORREF kPanel = 0xFFE7CE;
constexpr COLORREF kWhite = 0xFFFFFF;

// A WM_PAINT that fills the top-left square of `size` in the panel colour.
void PaintPanelCorner(HWND h, int size) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    HBRUSH br = CreateSolidBrush(kPanel);
    RECT rc{0, 0, size, size};
    FillRect(dc, &rc, br);
    DeleteObject(br);
    EndPaint(h, &ps);
}

class Paint : public ::testing::Test {
protected:
    void SetUp() override {
        ClearLog();
        g_logPaint = false;
        g_recHandler = nullptr;
        top = MakeTop(500, 400);
        ShowWindow(top, SW_SHOW);
        view = MakeChild(top, 0, 0, 400, 300, 0, WS_CHILD | WS_VISIBLE);
        UpdateWindow(view);
    }
    void TearDown() override {
        g_recHandler = nullptr;
        g_logPaint = false;
        DestroyWindow(top);
        w32test::ProcessEvents();
    }
    COLORREF At(int x, int y, HWND h = nullptr) { return w32test::BackingPixel(h ? h : view, x, y); }
    // Copies a w x h bitmap to (x, y) of the view.
    void BlitToView(HBITMAP bmp, int x, int y, int w, int h) {
        HDC dc = GetDC(view);
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(dc, x, y, w, h, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        ReleaseDC(view, dc);
    }
    // Clears `clear` to white and draws GBK `text` at (10, 10) in black,
    // transparent, in the face at `em` pixels and `weight`.
    static void DrawBlackText(HDC dc, const RECT& clear, const char* face, int em, int weight, const char* text) {
        FillRect(dc, &clear, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        LOGFONTA lf{};
        lf.lfHeight = -em;
        lf.lfWeight = weight;
        lf.lfCharSet = GB2312_CHARSET;
        strcpy(lf.lfFaceName, face);
        HFONT f = CreateFontIndirectA(&lf);
        HGDIOBJ old = SelectObject(dc, f);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, 0);
        TextOutA(dc, 10, 10, text, int(strlen(text)));
        SelectObject(dc, old);
        DeleteObject(f);
    }
    HWND top = nullptr, view = nullptr;
};

TEST_F(Paint, EraseWithTheClassBrushComesBeforePaintAndOnlyForInvalidVisibleWindows) {
    g_logPaint = true;
    ClearLog();
    EXPECT_TRUE(UpdateWindow(view));
    EXPECT_EQ(Count(WM_PAINT, view), 0);  // nothing invalid
    InvalidateRect(view, nullptr, TRUE);
    UpdateWindow(view);
    std::vector<UINT> seq;
    for (auto& r : Log())
        if (r.hwnd == view && (r.msg == WM_PAINT || r.msg == WM_ERASEBKGND)) seq.push_back(r.msg);
    EXPECT_EQ(seq, (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));  // BeginPaint erases inside WM_PAINT
    ShowWindow(view, SW_HIDE);
    ClearLog();
    InvalidateRect(view, nullptr, TRUE);
    UpdateWindow(view);
    w32test::ProcessEvents();
    EXPECT_EQ(Count(WM_PAINT, view), 0);
    ShowWindow(view, SW_SHOW);
    w32test::ProcessEvents();
    EXPECT_EQ(Count(WM_PAINT, view), 1);
}

// A window invalidated whole paints once: the part its shown child covers
// is validated with the rest, as BeginPaint does for a window that clips its
// children, and the child, not invalidated itself, is not painted again.
TEST_F(Paint, AnInvalidatedWindowPaintsOnceAndLeavesItsChildAlone) {
    HWND child = MakeChild(view, 50, 50, 100, 60, 5);
    UpdateWindow(child);
    w32test::ProcessEvents();
    g_logPaint = true;
    ClearLog();
    InvalidateRect(view, nullptr, TRUE);
    UpdateWindow(view);
    w32test::ProcessEvents();
    EXPECT_EQ(Count(WM_PAINT, view), 1);
    EXPECT_EQ(Count(WM_PAINT, child), 0);
    RECT rc;
    EXPECT_FALSE(GetUpdateRect(view, &rc, FALSE));
}

TEST_F(Paint, DrawingThroughGetDcStaysUntilTheWindowIsInvalidated) {
    g_recHandler = [](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != WM_PAINT) return false;
        PaintPanelCorner(h, 100);
        *r = 0;
        return true;
    };
    InvalidateRect(view, nullptr, TRUE);
    UpdateWindow(view);
    EXPECT_EQ(At(50, 50), kPanel);
    HDC dc = GetDC(view);
    HBRUSH hover = CreateSolidBrush(0xFF8080);
    RECT rc{10, 10, 60, 30};
    FillRect(dc, &rc, hover);
    FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(view, dc);
    DeleteObject(hover);
    w32test::WaitFor([&] { return w32test::PixelAt(view, 30, 20) == COLORREF(0xFF8080); });
    EXPECT_EQ(At(30, 20), COLORREF(0xFF8080));
    EXPECT_EQ(At(10, 10), COLORREF(0));
    EXPECT_EQ(w32test::PixelAt(view, 30, 20), COLORREF(0xFF8080));
    InvalidateRect(view, &rc, TRUE);
    UpdateWindow(view);
    EXPECT_EQ(At(30, 20), kPanel);
}

TEST_F(Paint, RectanglesLinesAndInversionFollowGdiGeometry) {
    HDC dc = GetDC(view);
    RECT all{0, 0, 400, 300};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HBRUSH br = CreateSolidBrush(kPanel);
    HGDIOBJ old = SelectObject(dc, br);
    Rectangle(dc, 10, 20, 30, 40);
    SelectObject(dc, old);
    DeleteObject(br);
    EXPECT_EQ(At(10, 20), COLORREF(0));  // outline with the default black pen
    EXPECT_EQ(At(29, 39), COLORREF(0));  // right/bottom edge inside
    EXPECT_EQ(At(30, 25), kWhite);       // exclusive
    EXPECT_EQ(At(11, 21), kPanel);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, 8, 60, nullptr);
    LineTo(dc, 20, 60);
    EXPECT_EQ(At(8, 60), COLORREF(0));
    EXPECT_EQ(At(19, 60), COLORREF(0));
    EXPECT_EQ(At(20, 60), kWhite);  // the end point is not drawn
    RECT inv{0, 100, 10, 110};
    InvertRect(dc, &inv);
    EXPECT_EQ(At(5, 105), COLORREF(0));
    InvertRect(dc, &inv);
    EXPECT_EQ(At(5, 105), kWhite);
    ReleaseDC(view, dc);
}

TEST_F(Paint, TextIsPlacedByItsTopLeftWithSongMetrics) {
    HDC dc = GetDC(view);
    RECT all{0, 0, 400, 300};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    LOGFONTA lf{};
    lf.lfHeight = -15;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    strcpy(lf.lfFaceName, "\xCB\xCE\xCC\xE5");  // 宋体
    HFONT f = CreateFontIndirectA(&lf);
    ASSERT_TRUE(f);
    HGDIOBJ old = SelectObject(dc, f);
    SIZE sz;
    GetTextExtentPoint32A(dc, "\xD6\xD0\xCE\xC4", 4, &sz);
    EXPECT_EQ(sz.cx, 30);  // CJK advance = em
    EXPECT_EQ(sz.cy, 15);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, kPanel);
    SetTextColor(dc, RGB(255, 0, 0));
    TextOutA(dc, 100, 50, "\xD6\xD0\xCE\xC4", 4);
    EXPECT_EQ(At(100, 49), kWhite);  // nothing above the cell
    EXPECT_EQ(At(129, 64), kPanel);  // the cell is filled in OPAQUE mode
    int red = 0;
    for (int y = 50; y < 65; ++y)
        for (int x = 100; x < 130; ++x) red += GetRValue(At(x, y)) > 200 && GetGValue(At(x, y)) < 100;
    EXPECT_GT(red, 10);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 200, 50, "ab", 2);
    EXPECT_EQ(At(200, 50), kWhite);
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(f));
    // Chinese text in an "Arial" font falls back to a CJK face.
    lf.lfHeight = -14;
    lf.lfCharSet = ANSI_CHARSET;
    strcpy(lf.lfFaceName, "Arial");
    HFONT arial = CreateFontIndirectA(&lf);
    SelectObject(dc, arial);
    GetTextExtentPoint32A(dc, "\xC1\xA2\xBC\xB4\xB2\xE9\xD5\xD2", 8, &sz);  // 立即查找
    EXPECT_GE(sz.cx, 4 * 12);
    SelectObject(dc, old);
    DeleteObject(arial);
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));  // stock objects survive
    ReleaseDC(view, dc);
}

TEST_F(Paint, MemoryDcBitmapsBlitUnscaled) {
    HDC dc = GetDC(view);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 20, 10);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT rc{0, 0, 20, 10};
    HBRUSH br = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(mem, &rc, br);
    DeleteObject(br);
    BitBlt(dc, 50, 60, 20, 10, mem, 0, 0, SRCCOPY);
    StretchBlt(dc, 100, 60, 20, 10, mem, 0, 0, 20, 10, SRCCOPY);
    EXPECT_EQ(At(50, 60), RGB(1, 2, 3));
    EXPECT_EQ(At(69, 69), RGB(1, 2, 3));
    EXPECT_NE(At(70, 60), RGB(1, 2, 3));
    EXPECT_EQ(At(119, 69), RGB(1, 2, 3));
    BITMAP info{};
    EXPECT_EQ(GetObjectA(bmp, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.bmWidth, 20);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
    ReleaseDC(view, dc);
    EXPECT_EQ(LoadBitmapA(Inst(), "NO_SUCH_BITMAP"), nullptr);
}

TEST_F(Paint, ScrollBarsFollowTheStyleAndPositionsClampToMaxMinusPage) {
    RECT rc;
    GetClientRect(view, &rc);
    EXPECT_EQ(rc.bottom, 300);
    SetWindowLongPtrA(view, GWL_STYLE, GetWindowLongPtrA(view, GWL_STYLE) | WS_HSCROLL | WS_VSCROLL);
    GetClientRect(view, &rc);
    EXPECT_EQ(rc.bottom, 300);  // not before the next move/size
    MoveWindow(view, 0, 0, 400, 300, TRUE);
    GetClientRect(view, &rc);
    EXPECT_EQ(rc.right, 400 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(rc.bottom, 300 - GetSystemMetrics(SM_CYHSCROLL));
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 712, 600, 0, 0};
    SetScrollInfo(view, SB_VERT, &si, FALSE);
    SetScrollPos(view, SB_VERT, 0, TRUE);
    si.fMask = SIF_POS;
    si.nPos = 500;
    SetScrollInfo(view, SB_VERT, &si, TRUE);
    SCROLLINFO got{sizeof got, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(view, SB_VERT, &got);
    EXPECT_EQ(got.nMin, 0);
    EXPECT_EQ(got.nMax, 712);
    EXPECT_EQ(got.nPage, 600u);
    EXPECT_EQ(got.nPos, 113);  // 712 - 600 + 1
    si = SCROLLINFO{sizeof si, SIF_RANGE | SIF_PAGE, 0, 1024, 1024, 0, 0};
    SetScrollInfo(view, SB_HORZ, &si, FALSE);
    si.fMask = SIF_POS;
    si.nPos = 50;
    SetScrollInfo(view, SB_HORZ, &si, TRUE);
    EXPECT_EQ(GetScrollPos(view, SB_HORZ), 1);
    SetWindowLongPtrA(view, GWL_STYLE, GetWindowLongPtrA(view, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL));
    MoveWindow(view, 0, 0, 400, 300, TRUE);
    GetClientRect(view, &rc);
    EXPECT_EQ(rc.right, 400);
}

TEST_F(Paint, TheWindowsScrollBarAsksTheWindowAndShowsWhatItDecides) {
    SetWindowLongPtrA(view, GWL_STYLE, GetWindowLongPtrA(view, GWL_STYLE) | WS_VSCROLL);
    MoveWindow(view, 0, 0, 400, 300, TRUE);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 712, 300, 0, 0};
    SetScrollInfo(view, SB_VERT, &si, TRUE);
    auto* bar = qobject_cast<QScrollBar*>(PartOf(view, "w32vscroll"));
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    std::vector<WPARAM> codes;
    g_recHandler = [&](HWND h, UINT m, WPARAM wp, LPARAM lp, LRESULT* r) {
        if (h != view || m != WM_VSCROLL) return false;
        EXPECT_EQ(lp, 0);
        codes.push_back(wp);
        if (LOWORD(wp) == SB_LINEDOWN) SetScrollPos(view, SB_VERT, GetScrollPos(view, SB_VERT) + 1, TRUE);
        *r = 0;
        return true;
    };
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);  // ignored by this window
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(LOWORD(codes[0]), SB_LINEDOWN);
    EXPECT_EQ(LOWORD(codes[1]), SB_PAGEDOWN);
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 1);
    EXPECT_EQ(bar->value(), 1);
    EXPECT_EQ(bar->maximum(), 712 - 300 + 1);
}

// A window's scroll bars are made when it is first shown with them: hidden
// with the styles it has none yet, though its client area leaves room for
// them; shown, they appear with the scroll state set while it was hidden.
TEST_F(Paint, AHiddenWindowsScrollBarsAreMadeWhenItShows) {
    HWND page = MakeChild(top, 0, 0, 300, 200, 7, WS_CHILD | WS_HSCROLL | WS_VSCROLL);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 599, 200, 50, 0};
    SetScrollInfo(page, SB_VERT, &si, FALSE);
    EXPECT_EQ(PartOf(page, "w32vscroll"), nullptr);
    EXPECT_EQ(PartOf(page, "w32hscroll"), nullptr);
    RECT rc;
    GetClientRect(page, &rc);
    EXPECT_EQ(rc.right, 300 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(rc.bottom, 200 - GetSystemMetrics(SM_CYHSCROLL));
    ShowWindow(page, SW_SHOW);
    auto* bar = qobject_cast<QScrollBar*>(PartOf(page, "w32vscroll"));
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->value(), 50);
    EXPECT_EQ(bar->maximum(), 599 - 200 + 1);
    EXPECT_EQ(bar->geometry(), QRect(rc.right, 0, GetSystemMetrics(SM_CXVSCROLL), rc.bottom));
    auto* across = qobject_cast<QScrollBar*>(PartOf(page, "w32hscroll"));
    ASSERT_NE(across, nullptr);
    EXPECT_TRUE(across->isVisible());
    DestroyWindow(page);
}

// A window's scroll bar as Windows draws it: flat, in three colours only (dark
// arrow triangles at both ends, a grey thumb at the top, a light track and
// buttons); a bar this tall is drawn without Qt starting threads to paint it.
TEST_F(Paint, ATallScrollBarIsDrawnFlatWithoutStartingThreads) {
    const int threads = w32test::ProcessThreads();
    SetWindowLongPtrA(view, GWL_STYLE, GetWindowLongPtrA(view, GWL_STYLE) | WS_VSCROLL);
    MoveWindow(view, 0, 0, 400, 300, TRUE);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 999, 300, 0, 0};
    SetScrollInfo(view, SB_VERT, &si, TRUE);
    w32test::ProcessEvents();
    const int width = GetSystemMetrics(SM_CXVSCROLL);
    const int x = 400 - width + (width - 1) / 2;  // the bar's middle column, in the parent's client area
    const COLORREF arrow = RGB(96, 96, 96), thumb = RGB(205, 205, 205), track = RGB(240, 240, 240);
    std::vector<COLORREF> column;
    for (int y = 0; y < 300; ++y) column.push_back(w32test::PixelAt(top, x, y));
    for (int y = 0; y < 300; ++y)
        ASSERT_TRUE(column[y] == arrow || column[y] == thumb || column[y] == track)
            << y << ": " << std::hex << column[y];
    auto first = [&](COLORREF c) { return int(std::find(column.begin(), column.end(), c) - column.begin()); };
    auto last = [&](COLORREF c) { return int(column.rend() - std::find(column.rbegin(), column.rend(), c)) - 1; };
    EXPECT_LT(first(arrow), width);             // up arrow
    EXPECT_GE(last(arrow), 300 - width);        // down arrow
    EXPECT_LT(first(thumb), 2 * width);         // the thumb at the top
    EXPECT_GT(last(thumb), first(thumb) + 40);  // about a third of the bar
    EXPECT_EQ(column[300 - width - 20], track);
    EXPECT_EQ(w32test::ProcessThreads(), threads);
}

// A tall bitmap copied in WM_PAINT over a window with a child covers the
// window around the child and leaves the child's pixels alone; Qt starts no
// threads to copy it. Both for a window whose pixels go straight to the screen
// and for one that keeps its pixels (it drew outside WM_PAINT before).
TEST_F(Paint, ABitmapCopiedAroundAChildCoversAllButTheChildWithoutStartingThreads) {
    const int threads = w32test::ProcessThreads();
    HWND child = MakeChild(view, 100, 100, 80, 40, 5);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 400, 300);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT all{0, 0, 400, 300};
    HBRUSH red = CreateSolidBrush(RGB(200, 0, 0));
    FillRect(mem, &all, red);
    DeleteObject(red);
    g_recHandler = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != WM_PAINT) return false;
        if (h == child) {
            PaintPanelCorner(h, 80);
        } else if (h == view) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            BitBlt(dc, 0, 0, 400, 300, mem, 0, 0, SRCCOPY);
            EndPaint(h, &ps);
        } else {
            return false;
        }
        *r = 0;
        return true;
    };
    for (bool keepsPixels : {false, true}) {
        SCOPED_TRACE(keepsPixels ? "keeps its pixels" : "paints on screen");
        if (keepsPixels) {
            HDC dc = GetDC(view);
            SetPixel(dc, 0, 0, 0);
            ReleaseDC(view, dc);
        }
        EXPECT_EQ(w32test::KeepsPixels(view), keepsPixels);
        w32test::ProcessEvents();
        InvalidateRect(view, nullptr, TRUE);
        InvalidateRect(child, nullptr, TRUE);
        UpdateWindow(view);
        UpdateWindow(child);
        for (POINT pt :
             {POINT{0, 0}, POINT{399, 299}, POINT{99, 120}, POINT{180, 120}, POINT{140, 99}, POINT{140, 140}})
            EXPECT_EQ(w32test::PixelAt(view, pt.x, pt.y), RGB(200, 0, 0)) << pt.x << "," << pt.y;
        EXPECT_EQ(w32test::PixelAt(view, 100, 100), kPanel);
        EXPECT_EQ(w32test::PixelAt(view, 179, 139), kPanel);
        EXPECT_EQ(w32test::ProcessThreads(), threads);
    }
    g_recHandler = nullptr;
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
}

TEST_F(Paint, ScrollWindowMovesPixelsAndChildrenAndRepaintsTheUncoveredStrip) {
    HWND child = MakeChild(view, 10, 100, 50, 20, 5);
    HDC dc = GetDC(view);
    RECT band{0, 100, 400, 110};
    HBRUSH br = CreateSolidBrush(kPanel);
    FillRect(dc, &band, br);
    DeleteObject(br);
    ReleaseDC(view, dc);
    g_logPaint = true;
    ClearLog();
    ScrollWindow(view, 0, -30, nullptr, nullptr);
    UpdateWindow(view);
    EXPECT_EQ(At(5, 75), kPanel);   // moved up by 30
    EXPECT_EQ(At(5, 299), kWhite);  // the uncovered strip, erased and repainted
    EXPECT_EQ(Count(WM_PAINT, view), 1);
    RECT cr;
    GetWindowRect(child, &cr);
    POINT o{0, 0};
    ClientToScreen(view, &o);
    EXPECT_EQ(cr.top - o.y, 70);
    EXPECT_EQ(cr.left - o.x, 10);
    ScrollWindow(view, 0, 30, nullptr, nullptr);
    GetWindowRect(child, &cr);
    EXPECT_EQ(cr.top - o.y, 100);
}

TEST_F(Paint, HoverSequenceAsksTheParentFirstAndKeepsTheCursorWhenNobodySetsIt) {
    HWND link = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 1, 70, 158, 20, view,
                                reinterpret_cast<HMENU>(10781), Inst(), nullptr);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 200, 10, 140, 20, view,
                                reinterpret_cast<HMENU>(10751), Inst(), nullptr);
    std::vector<Rec> cursor;
    g_recHandler = [&](HWND h, UINT m, WPARAM wp, LPARAM lp, LRESULT* r) {
        if (h != view || (m != WM_SETCURSOR && m != WM_MOUSEMOVE)) return false;
        cursor.push_back(Rec{h, m, wp, lp});
        *r = 0;  // the page answers 0 and never calls the default procedure
        return true;
    };
    w32test::MouseMove(link, 20, 10);
    ASSERT_EQ(cursor.size(), 1u);
    EXPECT_EQ(cursor[0].msg, UINT(WM_SETCURSOR));
    EXPECT_EQ(cursor[0].wp, reinterpret_cast<WPARAM>(link));
    EXPECT_EQ(LOWORD(cursor[0].lp), HTCLIENT);
    EXPECT_EQ(HIWORD(cursor[0].lp), WM_MOUSEMOVE);
    EXPECT_EQ(w32test::CurrentCursorId(), 32512);  // the button's own arrow
    cursor.clear();
    w32test::MouseMove(edit, 5, 5);
    EXPECT_EQ(w32test::CurrentCursorId(), 32513);  // the edit's I-beam
    cursor.clear();
    w32test::MouseMove(view, 180, 150);
    ASSERT_EQ(cursor.size(), 2u);
    EXPECT_EQ(cursor[0].msg, UINT(WM_SETCURSOR));
    EXPECT_EQ(cursor[0].wp, reinterpret_cast<WPARAM>(view));
    EXPECT_EQ(cursor[1].msg, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(cursor[1].lp, MAKELPARAM(180, 150));
    EXPECT_EQ(w32test::CurrentCursorId(), 32513);  // nobody set one: the I-beam stays
    // The wheel over a child goes to the parent chain, and the page does nothing with it.
    g_recHandler = nullptr;
}

}  // namespace

namespace {

TEST_F(Paint, WindowsThatNeverPaintedHoldNoPixelsEvenWhenMovedAndScrolled) {
    HWND hidden = MakeChild(top, 0, 0, 1024, 712, 0, WS_CHILD);
    MoveWindow(hidden, 0, 40, 1024, 600, TRUE);
    ScrollWindow(hidden, -5, -7, nullptr, nullptr);
    EXPECT_EQ(w32test::BackingPixel(hidden, 0, 0), CLR_INVALID);
    ShowWindow(hidden, SW_SHOW);
    UpdateWindow(hidden);
    EXPECT_EQ(w32test::BackingPixel(hidden, 0, 0), COLORREF(0xFFFFFF));
    // Controls drawn by Qt keep no pixels of their own either.
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 500, 300, hidden,
                                reinterpret_cast<HMENU>(1), Inst(), nullptr);
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
    HDC dc = GetDC(edit);
    RECT rc{0, 0, 10, 10};
    FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(edit, dc);
    EXPECT_EQ(w32test::BackingPixel(edit, 0, 0), CLR_INVALID);
}

}  // namespace

namespace {

TEST_F(Paint, WidgetsOfDestroyedWindowsAreFreedOnceNoProcedureRuns) {
    w32test::ProcessEvents();
    auto before = QApplication::allWidgets().size();
    HWND page = MakeChild(view, 0, 0, 100, 100, 9);
    for (int i = 0; i < 5; ++i)
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, i * 20, 80, 18, page,
                        reinterpret_cast<HMENU>(intptr_t(100 + i)), Inst(), nullptr);
    EXPECT_GT(QApplication::allWidgets().size(), before);
    // Destroyed from inside its own procedure, as a tab change does.
    g_recHandler = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (h != page || m != 40012) return false;
        DestroyWindow(page);
        *r = 1;
        return true;
    };
    EXPECT_EQ(SendMessageA(page, 40012, 0, 0), 1);
    EXPECT_FALSE(IsWindow(page));
    w32test::ProcessEvents(10);
    EXPECT_EQ(QApplication::allWidgets().size(), before);
}

}  // namespace

namespace {

TEST_F(Paint, DisabledChildrenPassTheMouseToTheViewAndTheWheelScrollsNothing) {
    HWND link = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 100, 20, view,
                                reinterpret_cast<HMENU>(10781), Inst(), nullptr);
    std::vector<Rec> got;
    g_recHandler = [&](HWND h, UINT m, WPARAM wp, LPARAM lp, LRESULT* r) {
        if (m != WM_SETCURSOR && m != WM_MOUSEMOVE && m != WM_LBUTTONDOWN && m != WM_COMMAND && m != WM_MOUSEWHEEL &&
            m != WM_VSCROLL)
            return false;
        got.push_back(Rec{h, m, wp, lp});
        *r = 0;
        return true;
    };
    EnableWindow(link, FALSE);
    w32test::MouseMove(link, 5, 5);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].msg, UINT(WM_SETCURSOR));
    EXPECT_EQ(got[0].wp, reinterpret_cast<WPARAM>(view));  // the view is under the pointer
    EXPECT_EQ(got[1].msg, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(got[1].lp, MAKELPARAM(15, 15));  // in the view's coordinates
    got.clear();
    w32test::Click(link, 5, 5);
    EXPECT_EQ(Count(WM_COMMAND, view), 0);  // a disabled button reports nothing
    bool down = false;
    for (auto& r : got) down |= r.msg == WM_LBUTTONDOWN && r.hwnd == view;
    EXPECT_TRUE(down);

    // The wheel: the window gets WM_MOUSEWHEEL, nothing scrolls by itself.
    SetWindowLongPtrA(view, GWL_STYLE, GetWindowLongPtrA(view, GWL_STYLE) | WS_VSCROLL);
    MoveWindow(view, 0, 0, 400, 300, TRUE);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 712, 300, 0, 0};
    SetScrollInfo(view, SB_VERT, &si, TRUE);
    QWidget* canvas = PartOf(view);
    ASSERT_NE(canvas, nullptr);
    got.clear();
    QPoint at(200, 150);
    QWheelEvent we(QPointF(at), QPointF(canvas->mapToGlobal(at)), QPoint(), QPoint(0, -120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &we);
    w32test::ProcessEvents();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].msg, UINT(WM_MOUSEWHEEL));
    EXPECT_EQ(short(HIWORD(got[0].wp)), -120);
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 0);
}

TEST_F(Paint, AClickAfterAShiftedKeyIsAPlainClick) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 100, 20, view,
                                reinterpret_cast<HMENU>(1), Inst(), nullptr);
    SetFocus(edit);
    w32test::PressKey(VK_TAB, true);
    WPARAM keys = ~WPARAM(0);
    g_recHandler = [&](HWND h, UINT m, WPARAM wp, LPARAM, LRESULT* r) {
        if (h != view || m != WM_LBUTTONDOWN) return false;
        keys = wp;
        *r = 0;
        return true;
    };
    w32test::Click(view, 200, 200);
    EXPECT_EQ(keys, WPARAM(MK_LBUTTON));
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

}  // namespace

namespace {

TEST_F(Paint, LoadedBitmapResourcesKeepTheirRowOrderAndColours) {
    HBITMAP bmp = LoadBitmapA(Inst(), "IDB_TEST_BITMAP");
    ASSERT_NE(bmp, nullptr);
    BITMAP info{};
    GetObjectA(bmp, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmHeight, 3);
    BlitToView(bmp, 10, 20, 4, 3);
    EXPECT_EQ(At(10, 20), RGB(0xD1, 0x08, 0xCA));  // the file's first row is the picture's bottom
    EXPECT_EQ(At(13, 20), RGB(255, 0, 0));
    EXPECT_EQ(At(11, 21), RGB(0, 255, 0));
    EXPECT_EQ(At(12, 22), RGB(0, 0, 255));
    EXPECT_EQ(At(14, 20), kWhite);
    EXPECT_TRUE(DeleteObject(bmp));
}

// Rows of a width whose bytes are not a multiple of four end in padding;
// narrow and wide rows keep every pixel.
TEST_F(Paint, LoadedBitmapRowsSkipTheirPadding) {
    // Each bitmap shows at (10, y); colour(x, y) is the file's colour, y from the top.
    auto check = [&](const char* name, int width, int y0, auto colour) {
        HBITMAP bmp = LoadBitmapA(Inst(), name);
        ASSERT_NE(bmp, nullptr) << name;
        BITMAP info{};
        GetObjectA(bmp, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, width) << name;
        EXPECT_EQ(info.bmHeight, 3) << name;
        BlitToView(bmp, 10, y0, width, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x) EXPECT_EQ(At(10 + x, y0 + y), colour(x, y)) << name << " " << x << "," << y;
        EXPECT_TRUE(DeleteObject(bmp));
    };
    // Red 50x, green 100y, blue 200 - 30x.
    check("IDB_TEST_BITMAP_PADDED", 5, 20, [](int x, int y) { return RGB(50 * x, 100 * y, 200 - 30 * x); });
    // Red 12x, green 100y, blue 250 - 11x.
    check("IDB_TEST_BITMAP_WIDE", 21, 30, [](int x, int y) { return RGB(12 * x, 100 * y, 250 - 11 * x); });
}

}  // namespace

namespace {

TEST_F(Paint, SongFaceTellsTheLetterLFromTheDigitOne) {
    HDC dc = GetDC(view);
    // The ink of one character drawn black on white, as offsets from its top left.
    auto ink = [&](const char* ch, int em) {
        DrawBlackText(dc, RECT{0, 0, 60, 60}, "\xCB\xCE\xCC\xE5", em, FW_DONTCARE, ch);
        std::set<std::pair<int, int>> dots;
        int minX = 60, minY = 60;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) {
                const COLORREF c = At(x, y);
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128) {
                    dots.insert({x, y});
                    minX = std::min(minX, x);
                    minY = std::min(minY, y);
                }
            }
        std::set<std::pair<int, int>> shape;
        for (auto [x, y] : dots) shape.insert({x - minX, y - minY});
        return shape;
    };
    for (int em : {12, 13, 15}) {
        const auto l = ink("l", em), one = ink("1", em);
        ASSERT_FALSE(l.empty());
        ASSERT_FALSE(one.empty());
        std::set<std::pair<int, int>> both;
        both.insert(l.begin(), l.end());
        both.insert(one.begin(), one.end());
        size_t same = 0;
        for (const auto& d : l) same += one.count(d);
        // Most of the ink differs: the two do not read alike.
        EXPECT_GE(both.size() - same, both.size() / 2) << "em " << em;
    }
    ReleaseDC(view, dc);
}

TEST_F(Paint, SongFaceKeepsCjkAdvanceEqualToTheEmAtEverySizeAndCharset) {
    HDC dc = GetDC(view);
    // 十个汉字的宽度: ten Chinese characters.
    const char* ten = "\xCA\xAE\xB8\xF6\xBA\xBA\xD7\xD6\xB5\xC4\xBF\xED\xB6\xC8\xA3\xBA\xD6\xD0\xCE\xC4";
    for (int em : {13, 15, 21})
        for (BYTE charset : {BYTE(ANSI_CHARSET), BYTE(GB2312_CHARSET)}) {
            LOGFONTA lf{};
            lf.lfHeight = -em;
            lf.lfWeight = FW_NORMAL;
            lf.lfCharSet = charset;
            lf.lfOutPrecision = 3;
            lf.lfClipPrecision = 2;
            lf.lfQuality = 1;
            lf.lfPitchAndFamily = 2;
            strcpy(lf.lfFaceName, "\xCB\xCE\xCC\xE5");
            HFONT f = CreateFontIndirectA(&lf);
            HGDIOBJ old = SelectObject(dc, f);
            SIZE cjk{}, ascii{};
            GetTextExtentPoint32A(dc, ten, 20, &cjk);
            GetTextExtentPoint32A(dc, "0123456789", 10, &ascii);
            EXPECT_EQ(cjk.cx, 10 * em) << "em " << em << " charset " << int(charset);
            EXPECT_EQ(cjk.cy, em);
            // Latin letters and digits about half as wide (the sans face's
            // digits are a little wider, its lowercase letters a little narrower).
            EXPECT_NEAR(ascii.cx, 5 * em, em) << "em " << em;
            SelectObject(dc, old);
            DeleteObject(f);
        }
    ReleaseDC(view, dc);
}

// 宋体 at the sizes its face has drawn 1-bit glyphs for (11 to 16 pixels) is
// drawn from them, black and white only; larger text is smoothed.
TEST_F(Paint, SongTextAtItsDrawnSizesIsBlackAndWhiteAndLargerTextIsSmoothed) {
    HDC dc = GetDC(view);
    for (int em : {12, 15, 16, 24}) {
        // 宋体, 联系人客户
        DrawBlackText(dc, RECT{0, 0, 400, 300}, "\xCB\xCE\xCC\xE5", em, FW_NORMAL,
                      "\xC1\xAA\xCF\xB5\xC8\xCB\xBF\xCD\xBB\xA7");
        int black = 0, grey = 0;
        for (int y = 10; y < 10 + em; ++y)
            for (int x = 10; x < 10 + 5 * em; ++x) {
                const COLORREF c = At(x, y);
                black += c == 0;
                grey += c != 0 && c != kWhite;
            }
        EXPECT_GT(black + grey, 5 * em) << "em " << em;
        if (em <= 16)
            EXPECT_EQ(grey, 0) << "em " << em;
        else
            EXPECT_GT(grey, 0) << "em " << em;
    }
    ReleaseDC(view, dc);
}

// 宋体 at each size and weight the program uses: Chinese (the face's highest
// and lowest glyphs), Latin letters with descenders and mixed text, drawn
// with TA_TOP, keep their ink inside the cell GetTextMetrics reports and reach
// near both its edges. DrawText in a rectangle one cell high, as a static
// draws its line, puts the same pixels there; its lines are a cell high and
// as wide as GetTextExtentPoint32 says.
TEST_F(Paint, SongTextStaysInsideItsCellAtBothEdges) {
    HDC screen = GetDC(view);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 200, 60);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    SetBkMode(dc, TRANSPARENT);
    const RECT all{0, 0, 200, 60};
    constexpr int kTop = 20;
    // The picture, and its first and last rows with ink (at least half dark).
    struct Drawn {
        std::vector<COLORREF> pixels;
        int first = 60, last = -1;
    };
    auto drawn = [&] {
        Drawn d;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                d.pixels.push_back(c);
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128) {
                    d.first = std::min(d.first, y);
                    d.last = y;
                }
            }
        return d;
    };
    // 求消栏能联系人; gjpqy; Ag; 宋体gjpqy中文
    const char* const texts[] = {"\xC7\xF3\xCF\xFB\xC0\xB8\xC4\xDC\xC1\xAA\xCF\xB5\xC8\xCB", "gjpqy", "Ag",
                                 "\xCB\xCE\xCC\xE5gjpqy\xD6\xD0\xCE\xC4"};
    for (int em : {12, 13, 15, 16, 21})
        for (int weight : {FW_NORMAL, FW_BOLD}) {
            LOGFONTA lf{};
            lf.lfHeight = -em;
            lf.lfWeight = weight;
            lf.lfCharSet = GB2312_CHARSET;
            strcpy(lf.lfFaceName, "\xCB\xCE\xCC\xE5");
            HFONT f = CreateFontIndirectA(&lf);
            HGDIOBJ old = SelectObject(dc, f);
            TEXTMETRICA tm{};
            GetTextMetricsA(dc, &tm);
            EXPECT_EQ(tm.tmHeight, em);
            EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
            for (int i = 0; i < 4; ++i) {
                const char* t = texts[i];
                const int n = int(strlen(t));
                const std::string what =
                    "text " + std::to_string(i) + " at " + std::to_string(em) + " weight " + std::to_string(weight);
                FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
                TextOutA(dc, 10, kTop, t, n);
                const Drawn text = drawn();
                EXPECT_GE(text.first, kTop) << what;
                EXPECT_LE(text.last, kTop + tm.tmHeight - 1) << what;
                const int near = em / 6;
                if (i != 1) {  // gjpqy has no ascender
                    EXPECT_LE(text.first, kTop + near) << what;
                }
                EXPECT_GE(text.last, kTop + tm.tmHeight - 1 - near) << what;
                FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
                RECT line{10, kTop, 200, kTop + tm.tmHeight};
                DrawTextA(dc, t, n, &line, DT_LEFT | DT_NOPREFIX | DT_NOCLIP);
                EXPECT_TRUE(drawn().pixels == text.pixels) << what;
                SIZE extent{};
                GetTextExtentPoint32A(dc, t, n, &extent);
                RECT calc{0, 0, 0, 0};
                EXPECT_EQ(DrawTextA(dc, t, n, &calc, DT_CALCRECT | DT_NOPREFIX), tm.tmHeight);
                EXPECT_EQ(calc.right, extent.cx) << what;
                EXPECT_EQ(extent.cy, tm.tmHeight);
            }
            RECT two{0, 0, 200, 0};
            EXPECT_EQ(DrawTextA(dc, "gjpqy\r\n\xD6\xD0", -1, &two, DT_CALCRECT), 2 * tm.tmHeight);
            SelectObject(dc, old);
            DeleteObject(f);
        }
    SelectObject(dc, oldBmp);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(view, screen);
}

// DrawText's second line, after CR LF or LF, draws the same pixels as that
// line drawn alone in its place, its "&" underlining the character after it.
TEST_F(Paint, DrawTextUnderlinesThePrefixedCharacterOnALaterLine) {
    HDC screen = GetDC(view);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 100, 40);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    LOGFONTA lf{};
    lf.lfHeight = -12;
    lf.lfCharSet = GB2312_CHARSET;
    strcpy(lf.lfFaceName, "\xCB\xCE\xCC\xE5");
    HFONT f = CreateFontIndirectA(&lf);
    HGDIOBJ oldFont = SelectObject(dc, f);
    SetBkMode(dc, TRANSPARENT);
    const RECT all{0, 0, 100, 40};
    // The pixels below the first line after drawing text from the top of r.
    auto drawn = [&](const char* text, RECT r) {
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawTextA(dc, text, -1, &r, DT_LEFT);
        std::vector<COLORREF> pixels;
        for (int y = 16; y < 40; ++y)
            for (int x = 0; x < 100; ++x) pixels.push_back(GetPixel(dc, x, y));
        return pixels;
    };
    for (const char* line : {"a&b", "&ab"}) {
        const std::vector<COLORREF> alone = drawn(line, RECT{4, 16, 100, 28});
        EXPECT_NE(alone, drawn("ab", RECT{4, 16, 100, 28})) << line << ": no underline";
        for (const char* brk : {"\r\n", "\n"})
            EXPECT_TRUE(drawn(("xy" + std::string(brk) + line).c_str(), RECT{4, 4, 100, 28}) == alone)
                << line << " after " << (brk[0] == '\r' ? "CR LF" : "LF");
    }
    SelectObject(dc, oldFont);
    DeleteObject(f);
    SelectObject(dc, oldBmp);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(view, screen);
}

// Chinese text in Arial falls back to the Song face, and at 11 to 16 pixels
// takes its drawn glyphs as 宋体 does: black and white, bold ones thicker.
TEST_F(Paint, ChineseTextInArialAtTheDrawnSizesIsBlackAndWhiteInBothWeights) {
    HDC dc = GetDC(view);
    int blackOf[2] = {};
    for (int bold = 0; bold < 2; ++bold) {
        // 项目机会
        DrawBlackText(dc, RECT{0, 0, 400, 300}, "Arial", 14, bold ? FW_BOLD : FW_NORMAL,
                      "\xCF\xEE\xC4\xBF\xBB\xFA\xBB\xE1");
        int grey = 0;
        for (int y = 8; y < 30; ++y)
            for (int x = 8; x < 90; ++x) {
                const COLORREF c = At(x, y);
                blackOf[bold] += c == 0;
                grey += c != 0 && c != kWhite;
            }
        EXPECT_EQ(grey, 0) << "bold " << bold;
    }
    EXPECT_GT(blackOf[0], 40);
    EXPECT_GT(blackOf[1], blackOf[0] * 11 / 10);
    ReleaseDC(view, dc);
}

// Font files the process has mapped whose path contains `name`.
bool FontFileMapped(const char* name) {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find(name) != std::string::npos) return true;
    return false;
}

// The text of `chars` in lines of 30 characters, drawn black on white with
// `font` as the layer draws the Song face (unsmoothed at its drawn sizes).
QImage DrawLines(const QFont& font, const QString& chars) {
    const int em = font.pixelSize(), lines = int(chars.size() + 29) / 30;
    QImage img(32 * em, (lines + 1) * 2 * em, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(font);
    p.setPen(Qt::black);
    for (int i = 0; i < lines; ++i) p.drawText(QPoint(em, (i + 1) * 2 * em), chars.mid(i * 30, 30));
    return img;
}

// The family of the font a run of text is drawn from.
QString DrawnFrom(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return runs.isEmpty() ? QString() : runs.last().rawFont().familyName();
}

// song.ttf beside the program holds the Song face's glyphs for the program's
// own texts: those are drawn from it, pixel for pixel as the full face draws
// them at every size and weight; other characters still come from the full face.
TEST_F(Paint, TheProgramsCharactersComeFromTheSongFontBesideItAsTheFullFaceDrawsThem) {
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/song.ttf");
#ifdef W32TEST_SONG_FONT
    ASSERT_TRUE(QFileInfo::exists(path)) << "the build puts song.ttf beside the test";
#else
    if (!QFileInfo::exists(path)) GTEST_SKIP() << "song.ttf is not made on this machine (python3-fonttools)";
#endif
    HDC dc = GetDC(view);
    // 联系人客户, then 鼹鼠 (in no text of the program)
    DrawBlackText(dc, RECT{0, 0, 400, 300}, "\xCB\xCE\xCC\xE5", 15, FW_NORMAL,
                  "\xC1\xAA\xCF\xB5\xC8\xCB\xBF\xCD\xBB\xA7");
    EXPECT_TRUE(FontFileMapped("/song.ttf"));
    DrawBlackText(dc, RECT{0, 0, 400, 300}, "\xCB\xCE\xCC\xE5", 15, FW_NORMAL, "\xF7\xFA\xCA\xF3");
    int black = 0;
    for (int y = 8; y < 30; ++y)
        for (int x = 8; x < 45; ++x) black += At(x, y) == 0;
    EXPECT_GT(black, 40);
    ReleaseDC(view, dc);

    // Every character the small font has, from it and from the full face.
    const QRawFont raw(path, 15);
    ASSERT_TRUE(raw.isValid());
    const QString family = raw.familyName();
    EXPECT_EQ(family, QStringLiteral("AR PL UMing CN Texts"));
    QString chars;
    for (char32_t c = 0x3000; c < 0xFFF0; ++c)
        if (raw.supportsCharacter(c)) chars += QChar(c);
    EXPECT_GT(chars.size(), 400);                               // the program's texts
    const QString outside = QString::fromUtf8("\xE9\xBC\xB9");  // 鼹
    EXPECT_FALSE(raw.supportsCharacter(outside.at(0)));
    for (int em : {12, 13, 14, 15, 16, 20})
        for (bool bold : {false, true}) {
            QFont small, full;
            small.setFamilies({QStringLiteral("Liberation Sans"), family, QStringLiteral("AR PL UMing CN")});
            full.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("AR PL UMing CN")});
            for (QFont* f : {&small, &full}) {
                f->setPixelSize(em);
                f->setBold(bold);
                f->setStyleStrategy(em <= 16 ? QFont::StyleStrategy(QFont::PreferMatch | QFont::NoAntialias)
                                             : QFont::PreferMatch);
                f->setHintingPreference(QFont::PreferFullHinting);
            }
            EXPECT_EQ(DrawnFrom(small, chars.left(10)), family);
            EXPECT_EQ(DrawnFrom(full, chars.left(10)), QStringLiteral("AR PL UMing CN"));
            EXPECT_EQ(DrawnFrom(small, outside), QStringLiteral("AR PL UMing CN"));
            EXPECT_TRUE(DrawLines(small, chars) == DrawLines(full, chars)) << "em " << em << " bold " << bold;
        }
}

}  // namespace

namespace {

TEST_F(Paint, EllipsesAndRoundedRectanglesFillInsideTheirOutline) {
    HDC dc = GetDC(view);
    HBRUSH br = CreateSolidBrush(kPanel);
    HGDIOBJ old = SelectObject(dc, br);
    Ellipse(dc, 10, 10, 51, 31);
    RoundRect(dc, 100, 10, 160, 40, 10, 10);
    SelectObject(dc, old);
    DeleteObject(br);
    ReleaseDC(view, dc);
    EXPECT_EQ(At(30, 20), kPanel);        // the middle is filled
    EXPECT_EQ(At(10, 10), kWhite);        // the corner lies outside the ellipse
    EXPECT_EQ(At(10, 20), RGB(0, 0, 0));  // the outline, default pen
    EXPECT_EQ(At(51, 20), kWhite);        // right edge exclusive
    EXPECT_EQ(At(130, 25), kPanel);
    EXPECT_EQ(At(100, 10), kWhite);  // the rounded corner
    EXPECT_EQ(At(130, 10), RGB(0, 0, 0));
    EXPECT_EQ(At(130, 40), kWhite);
}

}  // namespace

namespace {

// A window that paints only in WM_PAINT keeps no image of its own: what it
// paints goes to the screen, and whatever the screen needs again (a grown
// strip, a scrolled view, an area a child uncovers) it paints again.
TEST_F(Paint, AWindowPaintingOnlyInWmPaintKeepsNoPixelsAndPaintsWhatTheScreenNeedsAgain) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = Inst();
    wc.hbrBackground = CreateSolidBrush(kPanel);
    wc.lpszClassName = "ErasedPanel";
    ASSERT_TRUE(RegisterClassA(&wc));
    HWND panel = CreateWindowExA(0, "ErasedPanel", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, view,
                                 reinterpret_cast<HMENU>(INT_PTR(1)), Inst(), nullptr);
    // The class and its brush go with the test, however it ends.
    struct Unregister {
        HWND panel;
        HBRUSH brush;
        ~Unregister() {
            DestroyWindow(panel);
            UnregisterClassA("ErasedPanel", Inst());
            DeleteObject(brush);
        }
    } unregister{panel, wc.hbrBackground};
    UpdateWindow(panel);  // the default procedure: erase, nothing else
    EXPECT_FALSE(w32test::KeepsPixels(panel));
    EXPECT_EQ(w32test::PixelAt(panel, 150, 50), kPanel);
    // Grown without a repaint: the screen shows the new strip, so the window
    // paints it.
    MoveWindow(panel, 0, 0, 300, 100, FALSE);
    ValidateRect(panel, nullptr);
    w32test::ProcessEvents();
    EXPECT_EQ(At(250, 50, panel), kPanel);
    EXPECT_FALSE(w32test::KeepsPixels(panel));
    // Drawing outside WM_PAINT keeps the pixels from then on, starting from
    // what is shown.
    HDC dc = GetDC(panel);
    RECT dot{10, 10, 20, 20};
    FillRect(dc, &dot, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(panel, dc);
    EXPECT_TRUE(w32test::KeepsPixels(panel));
    EXPECT_EQ(At(15, 15, panel), RGB(0, 0, 0));
    EXPECT_EQ(At(50, 50, panel), kPanel);
    EXPECT_EQ(At(250, 50, panel), kPanel);
    EXPECT_EQ(w32test::PixelAt(panel, 15, 15), RGB(0, 0, 0));

    // Scrolled, a window painting on screen paints all of itself again at
    // its new offsets, and its children move.
    static int s_offset;
    static std::vector<RECT> s_painted;
    s_offset = 0;
    s_painted.clear();
    g_recHandler = [](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != WM_PAINT || GetDlgCtrlID(h) != 3) return false;
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(h, &ps);
        s_painted.push_back(ps.rcPaint);
        RECT band{0, 40 + s_offset, 200, 60 + s_offset};
        FillRect(hdc, &band, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(h, &ps);
        *r = 0;
        return true;
    };
    HWND scrolled = MakeChild(view, 0, 150, 200, 100, 3, WS_CHILD | WS_VISIBLE);
    HWND button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 150, 70, 40, 20, scrolled,
                                  reinterpret_cast<HMENU>(4), Inst(), nullptr);
    UpdateWindow(scrolled);
    EXPECT_EQ(At(100, 50, scrolled), RGB(0, 0, 0));
    s_offset = -30;
    s_painted.clear();
    ScrollWindow(scrolled, 0, -30, nullptr, nullptr);
    UpdateWindow(scrolled);
    ASSERT_EQ(s_painted.size(), 1u);
    const RECT all{0, 0, 200, 100};
    EXPECT_TRUE(EqualRect(&s_painted[0], &all));
    EXPECT_EQ(At(100, 20, scrolled), RGB(0, 0, 0));
    EXPECT_EQ(At(100, 50, scrolled), kWhite);
    RECT rb{};
    GetWindowRect(button, &rb);
    MapWindowPoints(nullptr, scrolled, reinterpret_cast<POINT*>(&rb), 2);
    EXPECT_EQ(rb.top, 40);
    EXPECT_FALSE(w32test::KeepsPixels(scrolled));

    // A child hidden over it uncovers an area the window paints again.
    s_painted.clear();
    ShowWindow(button, SW_HIDE);
    w32test::ProcessEvents();
    EXPECT_FALSE(s_painted.empty());
    EXPECT_EQ(At(160, 45, scrolled), kWhite);
    g_recHandler = nullptr;
}

// UpdateWindow paints at once even before Qt has the window on screen (as
// Win32 promises); what Qt shows later is painted again then, not lost.
TEST_F(Paint, UpdateWindowPaintsAtOnceEvenBeforeTheWindowIsOnScreen) {
    static int s_paints = 0;
    g_recHandler = [](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != WM_PAINT || GetDlgCtrlID(h) != 7) return false;
        ++s_paints;
        PaintPanelCorner(h, 50);
        *r = 0;
        return true;
    };
    HWND fresh = MakeTop(300, 200);
    ShowWindow(fresh, SW_SHOW);
    HWND child = MakeChild(fresh, 0, 0, 100, 100, 7);
    s_paints = 0;
    UpdateWindow(child);
    EXPECT_EQ(s_paints, 1);
    EXPECT_TRUE(w32test::WaitFor([&] { return w32test::BackingPixel(child, 25, 25) == kPanel; }));
    EXPECT_GE(s_paints, 2);
    EXPECT_FALSE(w32test::KeepsPixels(child));
    g_recHandler = nullptr;
    DestroyWindow(fresh);
}

// A main window shown maximised as at start-up: the platform's maximised size
// comes in the one WM_SIZE of ShowWindow, which sizes the page. The page
// paints once at UpdateWindow (nowhere yet) and once on screen; the message
// loop does not paint it while Qt cannot show it, and a child that its
// parent clips paints its visible part once.
TEST_F(Paint, AMaximisedWindowSizesOnceAndItsPagesPaintOnceWhenShown) {
    static HWND s_page = nullptr;
    static int s_sizes = 0, s_pagePaints = 0, s_clippedPaints = 0;
    s_page = nullptr;
    s_sizes = s_pagePaints = s_clippedPaints = 0;
    g_recHandler = [](HWND h, UINT m, WPARAM, LPARAM lp, LRESULT* r) {
        if (m == WM_SIZE && !GetParent(h) && s_page) {
            ++s_sizes;
            UpdateWindow(s_page);
            MoveWindow(s_page, 0, 0, LOWORD(lp), HIWORD(lp), FALSE);
            *r = 0;
            return true;
        }
        if (m != WM_PAINT || (GetDlgCtrlID(h) != 21 && GetDlgCtrlID(h) != 22)) return false;
        ++(GetDlgCtrlID(h) == 21 ? s_pagePaints : s_clippedPaints);
        PaintPanelCorner(h, 50);
        *r = 0;
        return true;
    };
    HWND fresh = MakeTop(300, 200);
    s_page = MakeChild(fresh, 0, 0, 280, 180, 21);
    ShowWindow(fresh, SW_SHOWMAXIMIZED);
    EXPECT_EQ(s_sizes, 1);
    EXPECT_EQ(s_pagePaints, 1);
    RECT told{};
    GetClientRect(fresh, &told);
    // 60 pixels of it stick out past the page's right edge.
    MakeChild(s_page, told.right - 40, 0, 100, 40, 22);
    EXPECT_TRUE(w32test::WaitFor([] { return s_pagePaints >= 2 && s_clippedPaints >= 1; }));
    w32test::ProcessEvents();  // what is pending now, paints included
    RECT now{};
    GetClientRect(fresh, &now);
    EXPECT_TRUE(EqualRect(&told, &now));
    EXPECT_EQ(s_sizes, 1);
    EXPECT_EQ(s_pagePaints, 2);
    EXPECT_EQ(s_clippedPaints, 1);
    EXPECT_EQ(w32test::PixelAt(s_page, 25, 25), kPanel);
    g_recHandler = nullptr;
    DestroyWindow(fresh);
}

// Text drawn while Qt cannot show the window yet is not drawn, but moves the
// current position past it as it would on screen.
TEST_F(Paint, TextPaintedBeforeTheWindowIsOnScreenStillMovesTheCurrentPosition) {
    static int s_moved, s_width;
    s_moved = s_width = -1;
    g_recHandler = [](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != WM_PAINT || GetDlgCtrlID(h) != 10) return false;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        SetTextAlign(dc, TA_UPDATECP);
        MoveToEx(dc, 10, 20, nullptr);
        TextOutA(dc, 0, 0, "WW", 2);
        POINT after{};
        MoveToEx(dc, 0, 0, &after);
        SIZE sz{};
        GetTextExtentPoint32A(dc, "WW", 2, &sz);
        s_moved = after.x - 10;
        s_width = sz.cx;
        EndPaint(h, &ps);
        *r = 0;
        return true;
    };
    HWND fresh = MakeTop(300, 200);
    ShowWindow(fresh, SW_SHOW);
    HWND child = MakeChild(fresh, 0, 0, 100, 100, 10);
    UpdateWindow(child);
    EXPECT_GT(s_width, 10);
    EXPECT_EQ(s_moved, s_width);
    g_recHandler = nullptr;
    DestroyWindow(fresh);
}

// Paints inside a paint: a WM_PAINT that brings another window up to date
// (Qt shows that one at its next paint), and one that destroys its window.
TEST_F(Paint, APaintThatUpdatesAnotherWindowOrDestroysItsOwnLeavesTheScreenRight) {
    static HWND s_other = nullptr;
    g_recHandler = [](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
        const int id = GetDlgCtrlID(h);
        if (m != WM_PAINT || id < 8 || id > 10) return false;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT rc{0, 0, 40, 40};
        FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(id == 9 ? BLACK_BRUSH : GRAY_BRUSH)));
        EndPaint(h, &ps);
        if (id == 8) {
            InvalidateRect(s_other, nullptr, TRUE);
            UpdateWindow(s_other);
        }
        if (id == 10) DestroyWindow(h);
        *r = 0;
        return true;
    };
    w32test::ProcessEvents();
    HWND first = MakeChild(view, 0, 0, 40, 40, 8);
    s_other = MakeChild(view, 100, 0, 40, 40, 9);
    w32test::ProcessEvents();
    InvalidateRect(first, nullptr, TRUE);
    UpdateWindow(first);
    EXPECT_TRUE(w32test::WaitFor([] { return w32test::BackingPixel(s_other, 20, 20) == RGB(0, 0, 0); }));
    EXPECT_EQ(w32test::BackingPixel(first, 20, 20), COLORREF(0x808080));
    HWND doomed = MakeChild(view, 200, 0, 40, 40, 10);
    UpdateWindow(doomed);
    EXPECT_FALSE(IsWindow(doomed));
    w32test::ProcessEvents();
    EXPECT_EQ(w32test::BackingPixel(s_other, 20, 20), RGB(0, 0, 0));
    g_recHandler = nullptr;
}

// Text placed by its right end, its centre, or at the current position,
// which then moves past it.
TEST_F(Paint, AlignedTextIsPlacedByItsWidthAndTheCurrentPositionMovesPastIt) {
    HDC dc = GetDC(view);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 0, 0));
    auto redIn = [&](int x0, int x1, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += GetRValue(At(x, y)) > 200 && GetGValue(At(x, y)) < 100;
        return n;
    };
    SetTextAlign(dc, TA_RIGHT | TA_TOP);
    TextOutA(dc, 200, 20, "WWWW", 4);
    EXPECT_GT(redIn(120, 200, 20, 40), 10);
    EXPECT_EQ(redIn(200, 300, 20, 40), 0);
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    TextOutA(dc, 200, 60, "WWWW", 4);
    EXPECT_GT(redIn(170, 200, 60, 80), 5);
    EXPECT_GT(redIn(200, 230, 60, 80), 5);
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, 10, 100, nullptr);
    TextOutA(dc, 0, 0, "WW", 2);
    POINT after{};
    MoveToEx(dc, 0, 0, &after);
    EXPECT_GT(after.x, 20);
    EXPECT_EQ(after.y, 100);
    EXPECT_GT(redIn(10, after.x, 100, 120), 5);
    ReleaseDC(view, dc);
}

}  // namespace

namespace {

// A large window's pixels through resizes: kept where the window still
// covers them, white where it did not cover them just before.
TEST_F(Paint, ALargeWindowKeepsItsPixelsThroughGrowingShrinkingAndGrowingAgain) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const int w0 = sw * 3 / 5, h0 = sh * 3 / 5;
    HWND big = MakeChild(top, 0, 0, w0, h0, 9);
    ValidateRect(big, nullptr);
    HDC dc = GetDC(big);
    HBRUSH br = CreateSolidBrush(kPanel);
    RECT corner{w0 - 20, h0 - 20, w0, h0};
    FillRect(dc, &corner, br);
    ReleaseDC(big, dc);
    ASSERT_EQ(At(w0 - 10, h0 - 10, big), kPanel);
    // Growing keeps the pixels; the new strip is white.
    MoveWindow(big, 0, 0, w0 + 40, h0 + 30, FALSE);
    ValidateRect(big, nullptr);
    EXPECT_EQ(At(w0 - 10, h0 - 10, big), kPanel);
    EXPECT_EQ(At(w0 + 20, h0 + 20, big), kWhite);
    EXPECT_EQ(At(w0 + 20, 5, big), kWhite);
    // Shrunk past the corner and grown again: the corner was lost, as on Windows.
    MoveWindow(big, 0, 0, w0 / 2, h0 / 2, FALSE);
    ValidateRect(big, nullptr);
    EXPECT_EQ(At(w0 - 10, h0 - 10, big), CLR_INVALID);
    MoveWindow(big, 0, 0, w0, h0, FALSE);
    ValidateRect(big, nullptr);
    EXPECT_EQ(At(w0 - 10, h0 - 10, big), kWhite);
    // Far past the screen: still the same pixels.
    dc = GetDC(big);
    FillRect(dc, &corner, br);
    ReleaseDC(big, dc);
    MoveWindow(big, 0, 0, sw * 2, sh * 2, FALSE);
    ValidateRect(big, nullptr);
    EXPECT_EQ(At(w0 - 10, h0 - 10, big), kPanel);
    EXPECT_EQ(At(sw * 2 - 5, sh * 2 - 5, big), kWhite);
    EXPECT_EQ(w32test::PixelAt(big, w0 - 10, h0 - 10), kPanel);
    DeleteObject(br);
}

}  // namespace

namespace {

bool ImagePluginLoaded(const char* name) {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find("imageformats/") != std::string::npos && line.find(name) != std::string::npos) return true;
    return false;
}

// Loads the test's image resources and exits with 0 when they loaded and no
// plugin of another image format came with them.
[[noreturn]] void LoadImageResourcesAndExit() {
    const bool bLoaded = LoadBitmapA(Inst(), "IDB_TEST_BITMAP") != nullptr &&
                         LoadIconA(Inst(), "IDI_TEST_ICON") != nullptr &&
                         LoadIconA(Inst(), "IDI_SIZES_ICON") != nullptr &&
                         LoadIconA(nullptr, IDI_APPLICATION) != nullptr;  // drawn only when shown
    const bool bJpeg = ImagePluginLoaded("libqjpeg");
    const bool bGif = ImagePluginLoaded("libqgif");
    const bool bIco = ImagePluginLoaded("libqico");
    const bool bGood = bLoaded && !bJpeg && !bGif && !bIco;
    if (!bGood)
        std::fprintf(stderr, "loaded %d, jpeg plugin %d, gif plugin %d, icon plugin %d\n", bLoaded, bJpeg, bGif, bIco);
    std::fflush(nullptr);
    std::_Exit(bGood ? 0 : 1);
}

// Bitmaps and icons are read by the layer itself: no image plugin is
// loaded for them. In a process of its own: another test's images may load
// any plugin.
TEST_F(Paint, BitmapAndIconResourcesLoadNoImagePlugin) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LoadImageResourcesAndExit(), ::testing::ExitedWithCode(0), "");
}

// An icon file of 16, 48 and 32 pixel images (red, blue, green) shows its
// 32-pixel image, as LoadIcon takes the standard size; that image has no
// alpha, so its mask clears its top-left 8 x 8 pixels.
TEST_F(Paint, AnIconShowsItsStandardSizeImageThroughItsMask) {
    HWND icon = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 10, 10, 32, 32, top, nullptr, Inst(),
                                nullptr);
    ASSERT_NE(icon, nullptr);
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(Inst(), "IDI_SIZES_ICON")), 0);
    w32test::ProcessEvents();
    const COLORREF green = RGB(0, 160, 0);
    for (POINT pt : {POINT{8, 0}, POINT{0, 8}, POINT{16, 16}, POINT{31, 31}, POINT{31, 0}})
        EXPECT_EQ(w32test::PixelAt(icon, pt.x, pt.y), green) << pt.x << "," << pt.y;
    for (POINT pt : {POINT{0, 0}, POINT{7, 7}}) {
        const COLORREF c = w32test::PixelAt(icon, pt.x, pt.y);
        EXPECT_TRUE(c != green && c != RGB(255, 0, 0) && c != RGB(0, 0, 255)) << pt.x << "," << pt.y;
    }
}

TEST_F(Paint, ASystemIconIsDrawnWhenFirstShown) {
    HWND icon = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 10, 10, 32, 32, top, nullptr, Inst(),
                                nullptr);
    ASSERT_NE(icon, nullptr);
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_APPLICATION)), 0);
    w32test::ProcessEvents();
    const COLORREF corner = w32test::PixelAt(icon, 0, 0);
    int drawn = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) drawn += w32test::PixelAt(icon, x, y) != corner;
    EXPECT_GT(drawn, 0);
}

}  // namespace
