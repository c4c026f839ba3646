// The program's entry as the program uses it: main() from the layer calls
// WinMain and returns its result; global objects destroyed after the GUI is
// gone still call GDI and USER32 harmlessly. Exit code 3 means every check
// inside passed.
#include <atomic>
#include <clocale>
#include <thread>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <cstdlib>

#include "win32.h"

typedef int(WINAPI* W32WinMainFn)(HINSTANCE, HINSTANCE, LPSTR, int);
int w32_main(int argc, char** argv, W32WinMainFn winMain);

namespace {

HFONT g_font = nullptr;
HBITMAP g_bitmap = nullptr;
HBRUSH g_brush = nullptr;
HWND g_leftOpen = nullptr;

// Destroyed after main() returned, like the program's views and ODBC object.
struct LateCleanup {
    ~LateCleanup() {
        DeleteObject(g_font);
        DeleteObject(g_bitmap);
        DeleteObject(g_brush);
        DeleteObject(GetStockObject(WHITE_BRUSH));
        DestroyWindow(g_leftOpen);
        SendMessageA(g_leftOpen, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x"));
        InvalidateRect(g_leftOpen, nullptr, TRUE);
        // A worker still sending after the GUI is gone gets 0 and goes on.
        std::atomic<LRESULT> r{1};
        std::thread t([&] { r = SendMessageA(g_leftOpen, WM_GETTEXTLENGTH, 0, 0); });
        t.join();
        if (r != 0) abort();
    }
} g_late;

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_DESTROY) PostQuitMessage(3);
    return DefWindowProcA(h, m, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    int failures = 0;
    auto check = [&](bool ok, const char* what) {
        if (!ok) {
            fprintf(stderr, "failed: %s\n", what);
            ++failures;
        }
    };
    check(inst != nullptr, "instance handle");
    char buf[32];
    snprintf(buf, sizeof buf, "%f", 1.5);
    check(strcmp(buf, "1.500000") == 0, "C numeric locale");
    check(atof("12.5") == 12.5, "decimal point read back");
    // The check above means something only if the environment's locale took
    // effect elsewhere: its money format keeps the decimal comma.
    if (const char* all = getenv("LC_ALL"); all && strncmp(all, "de_DE", 5) == 0)
        check(strcmp(localeconv()->mon_decimal_point, ",") == 0, "environment locale applied");
    // In a Wayland session the program runs on X11 (absolute window positions).
    if (getenv("WAYLAND_DISPLAY") && getenv("DISPLAY")) {
        const char* platform = getenv("QT_QPA_PLATFORM");
        check(platform && strcmp(platform, "xcb") == 0, "X11 under Wayland");
    }
    struct sigaction sa;
    sigaction(SIGPIPE, nullptr, &sa);
    check(sa.sa_handler == SIG_IGN, "SIGPIPE ignored");
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "EntryProbe";
    check(RegisterClassA(&wc) != 0, "register");
    HWND main = CreateWindowExA(0, "EntryProbe", "probe", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, inst, nullptr);
    check(main != nullptr, "main window");
    g_leftOpen = CreateWindowExA(0, "EntryProbe", "other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, inst, nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -15;
    strcpy(lf.lfFaceName, "Arial");
    g_font = CreateFontIndirectA(&lf);
    HDC dc = GetDC(main);
    g_bitmap = CreateCompatibleBitmap(dc, 8, 8);
    ReleaseDC(main, dc);
    g_brush = CreateSolidBrush(RGB(1, 2, 3));
    ShowWindow(main, SW_SHOWMAXIMIZED);
    UpdateWindow(main);
    // A quit posted before the loop ends its first turn, with its code.
    if (failures)
        PostQuitMessage(1);
    else
        SendMessageA(main, WM_CLOSE, 0, 0);
    MSG msg;
    int turns = 0;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        ++turns;
    }
    if (turns != 0) return 2;
    return int(msg.wParam);
}

int main(int argc, char** argv) { return w32_main(argc, argv, &WinMain); }
