// A small window on a real X server: created, painted with GDI and grabbed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "win32.h"
#include "win32_testhooks.h"

namespace {

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        HBRUSH br = CreateSolidBrush(RGB(206, 231, 255));
        RECT rc{10, 10, 110, 60};
        FillRect(dc, &rc, br);
        DeleteObject(br);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcA(h, m, wp, lp);
}

TEST(X11, WindowIsShownPaintedAndGrabbed) {
    ASSERT_STREQ(getenv("QT_QPA_PLATFORM"), "xcb");
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "X11Probe";
    ASSERT_TRUE(RegisterClassA(&wc));
    HWND h = CreateWindowExA(0, "X11Probe", "x11", WS_OVERLAPPEDWINDOW, 20, 20, 200, 120, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_TRUE(h);
    ShowWindow(h, SW_SHOW);
    UpdateWindow(h);
    w32test::ProcessEvents(200);
    EXPECT_EQ(w32test::PixelAt(h, 50, 30), RGB(206, 231, 255));
    EXPECT_EQ(w32test::PixelAt(h, 150, 100), RGB(255, 255, 255));
    EXPECT_TRUE(w32test::GrabWindow(h, "x11_window.png"));
    DestroyWindow(h);
}

}  // namespace
