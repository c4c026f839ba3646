// A small window on a real X server: created, painted with GDI and grabbed;
// under a window manager, its frame and the buttons it allows.
#include <gtest/gtest.h>

#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QKeyEvent>
#include <QtGui/QScreen>
#include <QtGui/QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QWidget>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/gbk/gbk.h"
#include "ServerInput.h"
#include "UserSteps.h"
#include "win32.h"
#include "win32_commctrl.h"
#include "win32_testhooks.h"

namespace {

// The shown top-level window of a Qt class (the save dialog, its question),
// asked for anew at each call.
std::function<QWidget*()> ShownOfClass(const char* cls) {
    return [cls]() -> QWidget* {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->inherits(cls)) return w;
        return nullptr;
    };
}

// The 32-bit values of a window's property (the root's for window 0): atoms,
// cardinals, windows, hints; empty when it has none.
std::vector<uint32_t> Property32(xcb_window_t window, const char* name) {
    xcb_connection_t* c = servertest::QtConnection();
    if (!c) return {};
    if (!window) window = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_property_reply_t* p = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, servertest::Atom(c, name), XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20), nullptr);
    if (!p) return {};
    const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(p));
    std::vector<uint32_t> values(v, v + xcb_get_property_value_length(p) / 4);
    std::free(p);
    return values;
}

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
    w32test::WaitFor([&] { return w32test::PixelAt(h, 50, 30) == RGB(206, 231, 255); });
    EXPECT_EQ(w32test::PixelAt(h, 50, 30), RGB(206, 231, 255));
    EXPECT_EQ(w32test::PixelAt(h, 150, 80), RGB(255, 255, 255));
    EXPECT_TRUE(w32test::GrabWindow(h, "x11_window.png"));
    DestroyWindow(h);
    EXPECT_TRUE(UnregisterClassA("X11Probe", nullptr));
}

// The Qt top-level widget of a top-level window.
QWidget* TopLevelOf(HWND h) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->property("w32hwnd").toULongLong() == reinterpret_cast<uintptr_t>(h)) return w;
    return nullptr;
}

// True once the top-level window is shown and exposed on the X server.
// A top-level window of a class of its own with this procedure and
// background, at `at` (left, top, width, height); not shown yet.
HWND MakeTopLevel(const char* cls, WNDPROC proc, const char* title, const std::array<int, 4>& at,
                  HBRUSH back = nullptr) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hbrBackground = back;
    wc.lpszClassName = cls;
    RegisterClassA(&wc);
    return CreateWindowExA(0, cls, title, WS_OVERLAPPEDWINDOW, at[0], at[1], at[2], at[3], nullptr, nullptr, nullptr,
                           nullptr);
}

bool ShownOnTheServer(HWND h) {
    QWidget* w = TopLevelOf(h);
    QWindow* window = w ? w->windowHandle() : nullptr;
    return w && w->isVisible() && window && window->isExposed();
}

// Waits for pred under a window manager that may still be starting: window h
// (when given) is shown again between tries until pred holds.
bool UntilManaged(HWND h, const std::function<bool()>& pred) {
    for (int tries = 0; tries < 30; ++tries) {
        if (w32test::WaitFor(pred, 1000)) return true;
        if (h) {
            ShowWindow(h, SW_HIDE);
            ShowWindow(h, SW_SHOW);
        }
    }
    return false;
}

// A left click that the X server hands to the widget's window (a sent event,
// which Qt takes as the user's), at a point of the widget.
void ClickThroughTheServer(QWidget* w, QPoint at) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    QWidget* top = w->window();
    if (!c || !top->windowHandle()) return;
    const QPoint global = w->mapToGlobal(at), local = top->mapFromGlobal(global);
    for (uint8_t type : {XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE}) {
        xcb_button_press_event_t e{};
        e.response_type = type;
        e.detail = 1;
        e.root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        e.event = xcb_window_t(top->winId());
        e.root_x = int16_t(global.x());
        e.root_y = int16_t(global.y());
        e.event_x = int16_t(local.x());
        e.event_y = int16_t(local.y());
        e.state = type == XCB_BUTTON_PRESS ? 0 : XCB_BUTTON_MASK_1;
        e.same_screen = 1;
        xcb_send_event(c, 0, e.event, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&e));
    }
    xcb_flush(c);
}

// The widget of a child window.
QWidget* WidgetOf(HWND h) {
    QWidget* top = TopLevelOf(GetAncestor(h, GA_ROOT));
    if (top)
        for (QWidget* w : top->findChildren<QWidget*>())
            if (w->property("w32hwnd").toULongLong() == reinterpret_cast<uintptr_t>(h)) return w;
    return nullptr;
}

// The first keycode that types the keysym unshifted (0 for none).
xcb_keycode_t KeycodeOf(xcb_connection_t* c, xcb_keysym_t key) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* map =
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, uint8_t(count)), nullptr);
    if (!map) return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    xcb_keycode_t code = 0;
    for (int i = 0; i < count && !code; ++i)
        if (syms[i * map->keysyms_per_keycode] == key) code = xcb_keycode_t(setup->min_keycode + i);
    std::free(map);
    return code;
}

// Keys pressed and released as the X server hands them to the widget's
// window (sent events), by keysym, without modifiers.
void TypeThroughTheServer(QWidget* w, std::initializer_list<xcb_keysym_t> keys) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    QWidget* top = w->window();
    if (!c || !top->windowHandle()) return;
    for (xcb_keysym_t key : keys) {
        for (uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
            xcb_key_press_event_t e{};
            e.response_type = type;
            e.detail = KeycodeOf(c, key);
            e.root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
            e.event = xcb_window_t(top->winId());
            e.same_screen = 1;
            xcb_send_event(c, 0, e.event, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&e));
        }
    }
    xcb_flush(c);
}

// What the X server shows in a screen rectangle: the root window's pixels
// (a 24-bit screen); null without them.
QImage ScreenPixels(const QRect& r) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return {};
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_image_reply_t* im =
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, int16_t(r.x()), int16_t(r.y()),
                                          uint16_t(r.width()), uint16_t(r.height()), ~0u),
                            nullptr);
    QImage out;
    if (im && im->depth == 24 && xcb_get_image_data_length(im) == r.width() * r.height() * 4)
        out = QImage(xcb_get_image_data(im), r.width(), r.height(), QImage::Format_RGB32).copy();
    std::free(im);
    return out;
}

// A page like the first-run wizard's: a white area, texts painted over it in
// transparent mode, edits beside them.
HFONT g_song = nullptr;
int g_nPaints = 0;  // the painted page's WM_PAINTs
INT_PTR CALLBACK PaintedProc(HWND h, UINT m, WPARAM, LPARAM) {
    if (m == WM_INITDIALOG) return TRUE;
    if (m != WM_PAINT) return FALSE;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, 165, 0, 581, 305);
    SelectObject(dc, oldBrush);
    HGDIOBJ oldFont = SelectObject(dc, g_song);
    SetBkMode(dc, TRANSPARENT);
    for (auto [y, utf8] : {std::pair{20, "请输入您的用户名和密码，密码需要经过二次确"},
                           {40, "认，请保管好该密码。"},
                           {80, "用户名要求3个字符以上，密码要求6个字符以上。"},
                           {174, "您的用户名："},
                           {212, "您的密码："},
                           {250, "二次确认密码："}}) {
        std::string t = gbk::FromUtf8(utf8);
        TextOutA(dc, 170, y, t.data(), int(t.size()));
    }
    SelectObject(dc, oldFont);
    EndPaint(h, &ps);
    ++g_nPaints;
    return TRUE;
}

// The page before it, ended from its own command handler, which then runs
// the painted page (as a wizard does).
INT_PTR CALLBACK FirstProc(HWND h, UINT m, WPARAM wp, LPARAM) {
    if (m == WM_INITDIALOG) return TRUE;
    if (m == WM_COMMAND && LOWORD(wp) == IDOK) {
        EndDialog(h, 0);
        DialogBoxParamA(GetModuleHandleA(nullptr), "ID_DLG_PAINTED", nullptr, PaintedProc, 0);
        return TRUE;
    }
    return FALSE;
}

// What the X server shows of a modal page: the white area stays white
// everywhere beside the texts and the edits, after the user typed into it.
TEST(X11, APaintedModalPageShowsOnlyItsOwnPixelsOnTheScreen) {
    LOGFONTA lf{};
    lf.lfHeight = -15;
    lf.lfWeight = FW_NORMAL;
    std::string song = gbk::FromUtf8("宋体");
    strcpy(lf.lfFaceName, song.c_str());
    g_song = CreateFontIndirectA(&lf);
    bool typed = false;
    QImage screen;
    RECT client{};
    POINT origin{};
    w32test::SetDialogHook([&](HWND dlg, const std::string& name) {
        if (name == "ID_DLG_FIRST") {
            EXPECT_TRUE(w32test::WaitFor([&] { return ShownOnTheServer(dlg); }));
            SendMessageA(dlg, WM_COMMAND, IDOK, 0);
            return;
        }
        for (int id : {1086, 1087, 1088, IDOK, 1090, IDCANCEL})
            SendDlgItemMessageA(dlg, id, WM_SETFONT, reinterpret_cast<WPARAM>(g_song), TRUE);
        g_nPaints = 0;
        EXPECT_TRUE(w32test::WaitFor([&] { return ShownOnTheServer(dlg) && g_nPaints > 0; }));
        GetClientRect(dlg, &client);
        ClientToScreen(dlg, &origin);
        // The user types through the X server: clicks into the name, types,
        // Tab, the password.
        if (QWidget* nameEdit = WidgetOf(GetDlgItem(dlg, 1086))) {
            servertest::TakeStep([&] { ClickThroughTheServer(nameEdit, nameEdit->rect().center()); });
            EXPECT_TRUE(w32test::WaitFor([&] { return GetFocus() == GetDlgItem(dlg, 1086); }));
            servertest::TakeStep([&] { TypeThroughTheServer(nameEdit, {'a', 'b', XK_Tab, 'c', 'd', 'e', 'f'}); });
        }
        typed = w32test::WaitFor([&] {
            char name[16] = "", pwd[16] = "";
            GetDlgItemTextA(dlg, 1086, name, sizeof name);
            GetDlgItemTextA(dlg, 1087, pwd, sizeof pwd);
            return std::string(name) == "ab" && std::string(pwd) == "cdef";
        });
        // Read once the server shows the password's dots (a caret alone has
        // few dark pixels there): the page drew the typing by then.
        RECT pwd{};
        GetWindowRect(GetDlgItem(dlg, 1087), &pwd);
        EXPECT_TRUE(w32test::WaitFor([&] {
            screen = ScreenPixels(QRect(origin.x, origin.y, client.right, client.bottom));
            int dark = 0;
            for (int y = pwd.top - origin.y + 3; !screen.isNull() && y < pwd.bottom - origin.y - 3; ++y)
                for (int x = pwd.left - origin.x + 3; x < pwd.right - origin.x - 3; ++x)
                    dark += qGray(screen.pixel(x, y)) < 96;
            return dark > 40;
        }));
        EndDialog(dlg, 0);
    });
    DialogBoxParamA(GetModuleHandleA(nullptr), "ID_DLG_FIRST", nullptr, FirstProc, 0);
    w32test::ClearHooks();
    DeleteObject(g_song);
    EXPECT_TRUE(typed);
    ASSERT_FALSE(screen.isNull());
    EXPECT_EQ(client.right, 500);
    // Button-face boxes: 2 x 2 blocks of the face colour (anti-aliased text
    // edges may hit the colour in single pixels).
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto isFace = [&](int x, int y) {
        QRgb p = screen.pixel(x, y);
        return RGB(qRed(p), qGreen(p), qBlue(p)) == face;
    };
    int grey = 0;
    std::string where;
    for (int y = 0; y + 1 < 305 && y + 1 < client.bottom; ++y)
        for (int x = 166; x + 1 < client.right; ++x) {
            bool besideEdit = x >= 270 && ((y >= 170 && y < 206) || (y >= 208 && y < 244) || (y >= 252 && y < 288));
            if (besideEdit) continue;
            if (isFace(x, y) && isFace(x + 1, y) && isFace(x, y + 1) && isFace(x + 1, y + 1) && grey++ < 8)
                where += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
        }
    EXPECT_EQ(grey, 0) << "at" << where << ", see x11_screen.png";
    if (grey) screen.save("x11_screen.png");
}

// The top-level widget shown on the server that passes pred, once there is one.
// The save dialog of an export over owner, opening in dir; true when a file
// was chosen.
bool SaveExportOver(HWND owner, const char* dir) {
    OPENFILENAMEA ofn{};
    char file[MAX_PATH] = "Export.txt";
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = dir;
    ofn.Flags = OFN_OVERWRITEPROMPT;
    return GetSaveFileNameA(&ofn);
}

QWidget* ExposedWindow(const std::function<bool(QWidget*)>& pred) {
    QWidget* found = nullptr;
    w32test::WaitFor([&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowHandle() && w->windowHandle()->isExposed() && pred(w)) found = w;
        return found != nullptr;
    });
    return found;
}

int g_ownerClicks = 0;
LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_LBUTTONDOWN) ++g_ownerClicks;
    return DefWindowProcA(h, m, wp, lp);
}

// While the save dialog is open, and while its replace question is open over
// it, a worker's box (no owner) answers a click on its button; the dialog's
// owner takes no click until the dialog is gone. No button of the three
// carries an icon, as on Windows.
TEST(X11, AWorkersBoxAnswersAClickWhileTheSaveDialogIsOpen) {
    HWND owner = MakeTopLevel("X11SaveOwner", OwnerProc, "owner", {40, 40, 500, 400});
    ShowWindow(owner, SW_SHOW);
    ASSERT_TRUE(w32test::WaitFor([&] { return ShownOnTheServer(owner); }));
    char dir[] = "/tmp/x11saveXXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    std::ofstream(std::string(dir) + "/Export.txt") << "old";
    auto isWorkersBox = [](QWidget* w) { return qobject_cast<QMessageBox*>(w) && !w->parentWidget(); };
    w32test::AutoAnswerMessageBoxes(false);
    std::vector<std::string> withIcons;
    for (bool question : {false, true}) {
        SCOPED_TRACE(question ? "replace question open" : "dialog open");
        std::atomic<int> answer{-1};
        std::thread worker;
        bool answeredWhileOpen = false;
        auto clickTheBox = [&](QWidget* over) {
            worker = std::thread([&] { answer = MessageBoxA(nullptr, "\xCA\xA7\xB0\xDC", "Tarvel", MB_OK); });
            auto* box = static_cast<QMessageBox*>(ExposedWindow(isWorkersBox));
            if (!box) return;
            for (QWidget* w : {over, static_cast<QWidget*>(box)})
                for (QPushButton* b : w->findChildren<QPushButton*>())
                    if (!b->icon().isNull()) withIcons.push_back(b->text().toStdString());
            g_ownerClicks = 0;
            // The owner's click is handled before the box's.
            servertest::TakeStep([&] { ClickThroughTheServer(TopLevelOf(owner), QPoint(250, 200)); });
            QAbstractButton* ok = box->buttons().front();
            servertest::TakeStep([&] { ClickThroughTheServer(ok, ok->rect().center()); });
            answeredWhileOpen = w32test::WaitFor([&] { return answer != -1; }) && over->isVisible();
        };
        QTimer::singleShot(0, [&] {
            auto* dlg =
                qobject_cast<QFileDialog*>(ExposedWindow([](QWidget* w) { return qobject_cast<QFileDialog*>(w); }));
            if (!dlg) return;
            if (question) {
                // Runs inside the question's loop ("Export.txt" exists), answered 否.
                QTimer::singleShot(0, [&, dlg] {
                    auto* q = static_cast<QMessageBox*>(ExposedWindow(
                        [&](QWidget* w) { return qobject_cast<QMessageBox*>(w) && w->parentWidget() == dlg; }));
                    if (!q) return;
                    clickTheBox(q);
                    q->button(QMessageBox::No)->click();
                });
                QMetaObject::invokeMethod(dlg, "accept");
            } else {
                clickTheBox(dlg);
            }
            dlg->reject();
        });
        EXPECT_FALSE(SaveExportOver(owner, dir));
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && isWorkersBox(w)) static_cast<QMessageBox*>(w)->done(0);
        if (worker.joinable()) worker.join();
        EXPECT_TRUE(answeredWhileOpen);
        EXPECT_EQ(answer, IDOK);
        EXPECT_EQ(g_ownerClicks, 0);
    }
    w32test::AutoAnswerMessageBoxes(true);
    std::filesystem::remove_all(dir);
    EXPECT_EQ(withIcons, std::vector<std::string>{});
    // The same click reaches the owner once the dialog is gone.
    servertest::TakeStep([&] { ClickThroughTheServer(TopLevelOf(owner), QPoint(250, 200)); });
    EXPECT_TRUE(w32test::WaitFor([] { return g_ownerClicks == 1; }));
    DestroyWindow(owner);
}

// A green window that records the client size of its last WM_SIZE that says maximized.
LPARAM g_maximizedSize = 0;
LRESULT CALLBACK SizedProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_SIZE) g_maximizedSize = wp == SIZE_MAXIMIZED ? lp : 0;
    return DefWindowProcA(h, m, wp, lp);
}
HWND MakeGreenWindow(const RECT& r = {60, 50, 460, 350}) {
    static HBRUSH green = CreateSolidBrush(RGB(40, 160, 90));
    return MakeTopLevel("X11Green", SizedProc, "green", {r.left, r.top, r.right - r.left, r.bottom - r.top}, green);
}

// How many of the screen's pixels in r are not the green window's.
int NotGreen(const QRect& r) {
    const QImage shown = ScreenPixels(r);
    const auto* p = reinterpret_cast<const QRgb*>(shown.constBits());
    return shown.isNull() ? -1 : int(std::count_if(p, p + r.width() * r.height(), [](QRgb c) {
        return qRed(c) != 40 || qGreen(c) != 160 || qBlue(c) != 90;
    }));
}

// True while a window manager runs: one client redirects the requests to map
// and place the root's children.
bool AWindowManagerRuns() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11->connection();
    xcb_get_window_attributes_reply_t* root = xcb_get_window_attributes_reply(
        c, xcb_get_window_attributes(c, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root), nullptr);
    const bool runs = root && (root->all_event_masks & XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT);
    std::free(root);
    return runs;
}

// Without a window manager no one frames a maximized window: it covers the
// screen from (0,0), its client area the screen, whether maximized when shown
// or later; restored, it takes its own rectangle again. So does a window
// whose own rectangle is the screen's: only its frame comes and goes.
TEST(X11, AMaximizedWindowCoversTheScreenWithoutAWindowManager) {
    if (AWindowManagerRuns()) GTEST_SKIP() << "a window manager runs";
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const RECT whole{0, 0, screen.width(), screen.height()};
    for (const RECT& normal : {RECT{60, 50, 460, 350}, whole}) {
        HWND h = MakeGreenWindow(normal);
        for (UINT how : {UINT(SW_SHOWMAXIMIZED), UINT(SC_RESTORE), UINT(SC_MAXIMIZE)}) {
            SCOPED_TRACE(testing::Message() << how << " of a window at " << normal.right << "x" << normal.bottom);
            how == SW_SHOWMAXIMIZED ? ShowWindow(h, int(how)) : SendMessageA(h, WM_SYSCOMMAND, how, 0);
            RECT wr{}, cr{};
            POINT origin{0, 0};
            GetWindowRect(h, &wr);
            GetClientRect(h, &cr);
            ClientToScreen(h, &origin);
            const bool maximized = how != SC_RESTORE;
            EXPECT_EQ(bool(IsZoomed(h)), maximized);
            EXPECT_TRUE(EqualRect(&wr, maximized ? &whole : &normal)) << wr.left << "," << wr.top;
            EXPECT_EQ(g_maximizedSize, maximized ? MAKELPARAM(screen.width(), screen.height()) : 0);
            // The window's own pixels reach every edge of the screen; restored,
            // it shows its client area alone.
            const int outside = maximized ? 0 : screen.width() * screen.height() - cr.right * cr.bottom;
            EXPECT_TRUE(w32test::WaitFor([&] { return NotGreen(screen) == outside; }))
                << NotGreen(screen) << " pixels are not the window's, not " << outside;
            EXPECT_TRUE(!maximized || (EqualRect(&cr, &whole) && origin.x == 0 && origin.y == 0));
        }
        // A window manager that frames the maximized window keeps it inside
        // the screen: its rectangle stays the screen's, its client area
        // shrinks below the title bar. Played on a connection of its own, in
        // the order that hides the resize from the rectangle: the window, put
        // into a frame of the screen's size, learns its new place while its
        // own size is still the screen's, and only then its new size. It is
        // told its client area and shows its pixels there.
        xcb_connection_t* wm = xcb_connect(nullptr, nullptr);
        const xcb_screen_t* root = xcb_setup_roots_iterator(xcb_get_setup(wm)).data;
        const xcb_window_t frame = xcb_generate_id(wm), client = xcb_window_t(TopLevelOf(h)->winId());
        const uint16_t title = 20, width = uint16_t(screen.width()), height = uint16_t(screen.height());
        xcb_create_window(wm, XCB_COPY_FROM_PARENT, frame, root->root, 0, 0, width, height, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL, &root->black_pixel);
        xcb_map_window(wm, frame);
        xcb_reparent_window(wm, client, frame, 0, title);
        xcb_configure_notify_event_t moved{};  // where the window is now, sent as a window manager does
        moved.response_type = XCB_CONFIGURE_NOTIFY;
        moved.event = moved.window = client;
        moved.y = title;
        moved.width = width;
        moved.height = height;
        xcb_send_event(wm, 0, client, XCB_EVENT_MASK_STRUCTURE_NOTIFY, reinterpret_cast<const char*>(&moved));
        xcb_flush(wm);
        EXPECT_TRUE(w32test::WaitFor([&] { return TopLevelOf(h)->geometry().topLeft() == QPoint(0, title); }));
        const uint32_t below[] = {width, uint32_t(height - title)};
        xcb_configure_window(wm, client, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, below);
        xcb_flush(wm);
        const LPARAM framed = MAKELPARAM(width, height - title);
        EXPECT_TRUE(w32test::WaitFor([&] { return g_maximizedSize == framed; })) << "no WM_SIZE of the framed size";
        RECT cr{};
        GetClientRect(h, &cr);
        EXPECT_EQ(MAKELPARAM(cr.right, cr.bottom), framed);
        EXPECT_TRUE(w32test::WaitFor([&] { return NotGreen(QRect(0, title, width, height - title)) == 0; }));
        DestroyWindow(h);
        xcb_destroy_window(wm, frame);
        xcb_disconnect(wm);
    }
    UnregisterClassA("X11Green", nullptr);
}

// Keys typed on the X server's keyboard (XTEST): they go where the server's
// input focus sends them, as the user's do. `together`: all pressed, then
// released the other way round (Alt+F4).
void TypeOnTheKeyboard(const std::vector<xcb_keysym_t>& keys, bool together = false) {
    xcb_connection_t* c = servertest::QtConnection();
    if (!c) return;
    for (xcb_keysym_t key : keys) {
        servertest::FakeInput(XCB_KEY_PRESS, KeycodeOf(c, key));
        if (!together) servertest::FakeInput(XCB_KEY_RELEASE, KeycodeOf(c, key));
    }
    for (auto key = keys.rbegin(); together && key != keys.rend(); ++key)
        servertest::FakeInput(XCB_KEY_RELEASE, KeycodeOf(c, *key));
}

// A click of the user's at a point of the screen (XTEST); the pointer is
// then moved away, to the screen's bottom right corner.
void ClickOnTheScreen(QPoint at) {
    xcb_connection_t* c = servertest::QtConnection();
    if (!c) return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    servertest::FakeInput(XCB_MOTION_NOTIFY, 0, at.x(), at.y());
    servertest::FakeInput(XCB_BUTTON_PRESS, 1);
    servertest::FakeInput(XCB_BUTTON_RELEASE, 1);
    servertest::FakeInput(XCB_MOTION_NOTIFY, 0, screen->width_in_pixels - 1, screen->height_in_pixels - 1);
}

// The window that has the X server's input focus.
xcb_window_t InputFocus() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    xcb_get_input_focus_reply_t* r = c ? xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr) : nullptr;
    const xcb_window_t focus = r ? r->focus : 0;
    std::free(r);
    return focus;
}

xcb_window_t ActiveWindow();
std::set<std::string> AllowedActions(QWidget* top);

// True when `at` has the X server's keyboard and is Qt's active window, and
// the one a window manager shows active (it takes the manager's Alt+F4).
bool HasTheKeyboard(QWidget* at) {
    return at && InputFocus() == at->winId() && QApplication::activeWindow() == at &&
           (!AWindowManagerRuns() || ActiveWindow() == at->winId());
}

// A dialog that answers Enter with a box over itself, the next Enter with a
// worker's box, and later ones with a box without owner (as the login dialog
// answers a wrong password), which leaves the dialog enabled.
HWND g_asking = nullptr;
int g_enters = 0;
std::thread g_worker;
char g_typed[16] = "";
INT_PTR CALLBACK AskingProc(HWND h, UINT m, WPARAM wp, LPARAM) {
    if (m == WM_INITDIALOG) {
        g_asking = h;
        g_enters = 0;
        SetFocus(GetDlgItem(h, 1087));
        return FALSE;
    }
    if (m != WM_COMMAND) return FALSE;
    if (LOWORD(wp) == IDOK && ++g_enters == 1)
        MessageBoxA(h, "\xC3\xDC\xC2\xEB\xB4\xED\xCE\xF3", "Tarvel", MB_OK);
    else if (LOWORD(wp) == IDOK && g_enters == 2)
        g_worker = std::thread([] { MessageBoxA(nullptr, "\xCA\xA7\xB0\xDC", "Tarvel", MB_OK); });
    else if (LOWORD(wp) == IDOK)
        MessageBoxA(nullptr, ("[L" + std::to_string(g_enters) + "]").c_str(), "Tarvel", MB_OK);
    if (LOWORD(wp) == IDCANCEL) {
        GetDlgItemTextA(h, 1087, g_typed, sizeof g_typed);
        EndDialog(h, 0);
    }
    return TRUE;
}

// Stuck steps end the asking dialog too.
void EndAsking() {
    if (IsWindow(g_asking)) EndDialog(g_asking, 0);
}

// Without a window manager, the pointer away from the windows, the user
// types on the keyboard: when a box over a dialog, a worker's box, the
// dialog over the main window (without owner, as the first-run wizard's
// pages), the save dialog and its replace question end, the X server's
// keyboard is back on the window each came from (the next keys wait for
// it), and the keys reach the field that had the focus.
TEST(X11, TheKeyboardGoesBackWhereItWasWhenABoxOrADialogEnds) {
    HWND main = MakeTopLevel("X11KeyboardOwner", DefWindowProcA, "main", {40, 40, 400, 200});
    HWND edits[2];
    for (int i = 0; i < 2; ++i)
        edits[i] = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10 + 40 * i, 200, 24, main,
                                   nullptr, nullptr, nullptr);
    ShowWindow(main, SW_SHOW);
    SetFocus(edits[1]);
    g_asking = nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x11->connection())).data;
    xcb_warp_pointer(x11->connection(), XCB_NONE, screen->root, 0, 0, 0, 0, int16_t(screen->width_in_pixels - 1),
                     int16_t(screen->height_in_pixels - 1));
    char dir[] = "/tmp/x11keysXXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    std::ofstream(std::string(dir) + "/Export.txt") << "old";

    // Each step's keys are typed once its window has the X server's keyboard.
    const std::function<QWidget*()> owner = [&] { return TopLevelOf(main); }, box = ShownOfClass("QMessageBox"),
                                    dialog = [] { return g_asking ? TopLevelOf(g_asking) : nullptr; },
                                    save = ShownOfClass("QFileDialog");
    const auto typeAt = [](const std::function<QWidget*()>& at, std::vector<xcb_keysym_t> keys) {
        return servertest::Steps::Step{[at] { return HasTheKeyboard(at()); }, [keys] { TypeOnTheKeyboard(keys); }};
    };
    const std::vector<servertest::Steps::Step> steps = {typeAt(dialog, {'a', XK_Return}), typeAt(box, {XK_Return}),
                                                        typeAt(dialog, {'b', XK_Return}), typeAt(box, {XK_Return}),
                                                        typeAt(dialog, {'c', XK_Escape}), typeAt(owner, {'d'}),
                                                        typeAt(save, {XK_Return}),        typeAt(box, {XK_Return}),
                                                        typeAt(save, {XK_Escape}),        typeAt(owner, {'e'})};
    servertest::Steps driver(steps, EndAsking);
    w32test::AutoAnswerMessageBoxes(false);
    DialogBoxParamA(GetModuleHandleA(nullptr), "ID_DLG_PAINTED", nullptr, AskingProc, 0);
    w32test::WaitFor([&] { return GetWindowTextLengthA(edits[1]) == 1; });  // 'd' reached it first
    EXPECT_FALSE(SaveExportOver(main, dir));
    char typed[16] = "";
    w32test::WaitFor([&] { return GetWindowTextA(edits[1], typed, sizeof typed) == 2; });
    w32test::AutoAnswerMessageBoxes(true);
    if (g_worker.joinable()) g_worker.join();
    std::filesystem::remove_all(dir);
    EXPECT_EQ(driver.Taken(), steps.size());
    EXPECT_STREQ(g_typed, "abc");
    EXPECT_STREQ(typed, "de");
    EXPECT_EQ(GetWindowTextLengthA(edits[0]), 0);
    DestroyWindow(main);
    UnregisterClassA("X11KeyboardOwner", nullptr);
}

// A main window that opens a box (owned by it) when told to, as a message
// handled inside another box's loop does.
constexpr UINT UM_BOX = WM_APP + 31;
int g_innerBox = -1;
LRESULT CALLBACK BoxingMainProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == UM_BOX) g_innerBox = MessageBoxA(h, "[6]", "Tarvel", MB_OK);
    return DefWindowProcA(h, m, wp, lp);
}

struct CloseCount : QObject {  // the close requests and Esc presses a window gets
    int n = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        n += e->type() == QEvent::Close ||
             (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape);
        return false;
    }
};

// The functions a top-level widget's window asks the window manager for
// (_MOTIF_WM_HINTS: move 4, minimize 8, maximize 16, close 32); every one
// when the hints name none.
uint32_t AskedFunctions(QWidget* top) {
    if (!servertest::QtConnection() || !top->windowHandle()) return 0;
    const std::vector<uint32_t> v = Property32(xcb_window_t(top->winId()), "_MOTIF_WM_HINTS");
    // flags (1: functions given), functions
    return v.size() >= 2 && (v[0] & 1) && !(v[1] & 1) ? v[1] : ~0u;
}

// The user clicks the main window beside a box, a worker's box, a modal
// dialog, a box over that dialog (and that dialog itself), the save dialog
// and its replace question, and then types: the keyboard stays with the box
// or dialog in front, which answers the keys. The replace question, a Yes/No
// box, stays open on a close request, on Alt+F4 (the window manager's
// close request, or the keys themselves without one) and on Esc, and answers
// 否(N) after. A second box of the same owner (a worker's, or one opened inside
// the first box's loop) takes the keyboard, and the first one has it back
// when the second ends. Under a box
// without owner (the login's wrong password) the dialog takes the keyboard
// when clicked, and when it ends there, the box has the keyboard. The main
// window, which has no control, has it at the end itself. The X server's
// keyboard is where each step's keys go (the next keys wait for it), after
// the click moved it (the clicked window had Qt's focus).
void TheKeyboardStaysInFrontOfAClickedWindow() {
    HWND main = MakeTopLevel("X11ClickedMain", BoxingMainProc, "main", {20, 20, 1100, 900});
    ShowWindow(main, SW_SHOW);
    QWidget* mainWidget = TopLevelOf(main);
    if (AWindowManagerRuns()) {
        ASSERT_TRUE(UntilManaged(main, [&] { return !AllowedActions(mainWidget).empty(); }));
    }
    ASSERT_TRUE(w32test::WaitFor([&] { return ShownOnTheServer(main); }));
    g_asking = nullptr;
    char dir[] = "/tmp/x11clickXXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    std::ofstream(std::string(dir) + "/Export.txt") << "old";
    std::atomic<int> workers{-1};
    std::thread worker;
    // The visible window that passes pred.
    const auto shown = [](std::function<bool(QWidget*)> pred) {
        return [pred]() -> QWidget* {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && pred(w)) return w;
            return nullptr;
        };
    };
    const auto box = [&](const char* says) {
        return shown([says](QWidget* w) {
            auto* b = qobject_cast<QMessageBox*>(w);
            return b && b->text().contains(says);
        });
    };
    using Find = std::function<QWidget*()>;
    const Find dialog = [] { return g_asking && IsWindowVisible(g_asking) ? TopLevelOf(g_asking) : nullptr; };
    const Find save = shown([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; });
    const Find owner = [&] { return mainWidget; }, none;
    // A box over the dialog or the save dialog.
    const auto boxOver = [&](const Find& under) {
        return shown([under](QWidget* w) { return qobject_cast<QMessageBox*>(w) && w->parentWidget() == under(); });
    };
    const auto type = [](std::vector<xcb_keysym_t> keys) { return [keys] { TypeOnTheKeyboard(keys); }; };
    CloseCount closes;         // the replace question's, once asked to close
    uint32_t replaceAsks = 0;  // what it asks the window manager for
    const auto askToClose = [&] {
        replaceAsks = AskedFunctions(boxOver(save)());
        boxOver(save)()->installEventFilter(&closes);
        servertest::RequestClose(boxOver(save)());
        TypeOnTheKeyboard({XK_Alt_L, XK_F4}, true);
        TypeOnTheKeyboard({XK_Escape});
    };
    // Without a window manager the request and the keys reach it; a manager
    // that draws a close box all the same (openbox) passes on its own Alt+F4
    // too, one that honours the request (KWin) neither.
    const Find askedToClose = [&] {
        const int asked = !AWindowManagerRuns() ? 2 : AllowedActions(boxOver(save)()).count("CLOSE") ? 3 : 1;
        return closes.n == asked ? boxOver(save)() : nullptr;
    };
    // A point of a window's client area that no window over it covers.
    const auto besideTheOthers = [](QWidget* target) {
        const QRect r = target->geometry().adjusted(8, 8, -8, -8);
        for (QPoint at : {r.bottomLeft(), r.bottomRight(), r.topLeft(), r.topRight()}) {
            bool covered = false;
            for (QWidget* w : QApplication::topLevelWidgets()) {
                QWidget* under = target;
                while (under && under != w) under = under->parentWidget();
                covered |= !under && w->isVisible() && w->frameGeometry().contains(at);
            }
            if (!covered) return at;
        }
        return QPoint();
    };
    struct Row {
        Find front;    // the window that should have the keyboard
        Find clicked;  // the window clicked first, if any
        std::function<void()> then;
    };
    const std::function<void()> nothing = [] {};
    const std::vector<Row> rows = {
        {box("[1]"), owner, type({XK_Return})},
        {box("[2]"), owner, type({XK_Return})},
        {dialog, owner, type({XK_Return})},
        {boxOver(dialog), owner, nothing},
        {boxOver(dialog), dialog, type({XK_Return})},
        {dialog, none, type({XK_Return})},
        {box("失败"), none, type({XK_Return})},
        {dialog, none, type({XK_Return})},
        {box("[L3]"), none, [&] { ClickOnTheScreen(besideTheOthers(dialog())); }},
        {dialog, none, type({XK_Return})},
        {box("[L4]"), none, type({XK_Return})},
        {dialog, none, type({XK_Escape})},
        {box("[L3]"), none, type({XK_Return})},
        {save, owner, type({XK_Return})},
        {boxOver(save), owner, askToClose},
        {askedToClose, none, type({'n'})},
        {save, owner, type({XK_Escape})},
        {box("[3]"), none, [&] { worker = std::thread([&] { workers = MessageBoxA(main, "[5]", "Tarvel", MB_OK); }); }},
        {box("[5]"), owner, type({XK_Return})},
        {box("[3]"), none, type({XK_Return})},
        {box("[4]"), none, [&] { PostMessageA(main, UM_BOX, 0, 0); }},
        {box("[6]"), owner, type({XK_Return})},
        {box("[4]"), none, type({XK_Return})},
        {owner, none, nothing},
    };
    // A row's click, then its action once the clicked window had Qt's focus
    // and the keyboard is with the front one.
    QPointer<QWidget> clicked;
    bool clickedFocused = false;
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, mainWidget,
                     [&](QWindow* w) { clickedFocused |= clicked && w && w == clicked->windowHandle(); });
    std::vector<servertest::Steps::Step> steps;
    for (const Row& r : rows) {
        const auto holds = [front = r.front] { return HasTheKeyboard(front()); };
        if (r.clicked)
            steps.push_back({holds, [&, on = r.clicked] {
                                 clickedFocused = false;
                                 clicked = on();
                                 ClickOnTheScreen(besideTheOthers(clicked));
                             }});
        steps.push_back({[&, holds, on = r.clicked] { return holds() && (!on || clickedFocused); }, r.then});
    }
    servertest::Steps driver(steps, EndAsking);
    w32test::AutoAnswerMessageBoxes(false);
    // "确认删除", 否 the default.
    EXPECT_EQ(MessageBoxA(main, "[1]", "Tarvel", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), IDNO);
    worker = std::thread([&] { workers = MessageBoxA(main, "[2]", "Tarvel", MB_OK); });
    w32test::WaitFor([&] { return workers != -1; }, 60000);
    worker.join();
    EXPECT_EQ(workers, IDOK);
    DialogBoxParamA(GetModuleHandleA(nullptr), "ID_DLG_PAINTED", main, AskingProc, 0);
    EXPECT_FALSE(SaveExportOver(main, dir));
    workers = -1;
    EXPECT_EQ(MessageBoxA(main, "[3]", "Tarvel", MB_OKCANCEL), IDOK);
    EXPECT_EQ(MessageBoxA(main, "[4]", "Tarvel", MB_OKCANCEL), IDOK);
    w32test::WaitFor([&] { return driver.Taken() == steps.size(); });
    w32test::AutoAnswerMessageBoxes(true);
    if (worker.joinable()) worker.join();
    if (g_worker.joinable()) g_worker.join();
    std::filesystem::remove_all(dir);
    EXPECT_EQ(driver.Taken(), steps.size()) << "stuck at step " << driver.Taken();
    EXPECT_EQ(replaceAsks & (4 | 32), 4u) << "the replace question asks for a close box";
    EXPECT_EQ(workers, IDOK);
    EXPECT_EQ(g_innerBox, IDOK);
    DestroyWindow(main);
    UnregisterClassA("X11ClickedMain", nullptr);
}

TEST(X11, TheKeyboardStaysInFrontOfAClickedWindow) { TheKeyboardStaysInFrontOfAClickedWindow(); }
TEST(X11UnderAWindowManager, TheKeyboardStaysInFrontOfAClickedWindow) { TheKeyboardStaysInFrontOfAClickedWindow(); }

// Alt+F4 on the X server's keyboard once `at` has it; false if it never does.
bool AltF4On(QWidget* at) {
    const auto altF4 = [] { TypeOnTheKeyboard({XK_Alt_L, XK_F4}, true); };
    return servertest::TakeSteps({{[at] { return HasTheKeyboard(at); }, altF4}}) == 1;
}

int g_closes = 0, g_systemKeys = 0;
LRESULT CALLBACK ClosingProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    g_closes += m == WM_CLOSE;
    g_systemKeys += m == WM_SYSKEYDOWN && wp == 'X' && !(lp & (LPARAM(1) << 29));
    if (m == WM_DESTROY) PostQuitMessage(0);  // as a program's main window
    return DefWindowProcA(h, m, wp, lp);
}
INT_PTR CALLBACK AnsweringProc(HWND h, UINT m, WPARAM wp, LPARAM) {
    if (m == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) EndDialog(h, LOWORD(wp));
    return m == WM_INITDIALOG || m == WM_COMMAND;
}

// Alt+F4 typed by the user, once each: a dialog, with or without a system
// menu, gets 取消; an OK box answers 确定, an OK/Cancel box 取消; a Yes/No box
// stays (its close is refused) and answers 否 after; the main window, once
// its list that had the keyboard is disabled (no window has the focus: keys
// come to it as system keys), closes and the program's loop ends. Under a
// window manager it is the manager's Alt+F4.
void AltF4ClosesTheWindowThatHasTheKeyboard(bool managed) {
    InitCommonControls();
    HWND main = MakeTopLevel("X11Closing", ClosingProc, "main", {40, 40, 400, 300});
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10, 300, 200, main,
                                nullptr, nullptr, nullptr);
    ShowWindow(main, SW_SHOW);
    SetFocus(list);
    QWidget* top = TopLevelOf(main);
    if (managed) {
        ASSERT_TRUE(UntilManaged(main, [&] { return top->frameGeometry() != top->geometry(); }));
    }

    w32test::SetDialogHook([](HWND dlg, const std::string&) {
        if (!AltF4On(TopLevelOf(dlg)) || !w32test::WaitFor([&] { return !IsWindowVisible(dlg); })) EndDialog(dlg, 0);
    });
    for (const char* name : {"ID_DLG_FIRST", "ID_DLG_PAINTED"})
        EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), name, main, AnsweringProc, 0), IDCANCEL) << name;
    w32test::ClearHooks();

    w32test::AutoAnswerMessageBoxes(false);
    for (auto [type, answer] : {std::pair{MB_OK, IDOK}, {MB_OKCANCEL, IDCANCEL}, {MB_YESNO, IDNO}}) {
        CloseCount closes;
        bool stayed = false;
        QTimer::singleShot(0, [&, type = type] {
            auto* box = static_cast<QMessageBox*>(
                ExposedWindow([](QWidget* w) { return qobject_cast<QMessageBox*>(w) && w->isVisible(); }));
            if (!box) return;
            box->installEventFilter(&closes);
            if (AltF4On(box) && type == MB_YESNO) {
                stayed = w32test::WaitFor([&] { return closes.n == 1; }) && box->isVisible();
                servertest::TakeStep([] { TypeOnTheKeyboard({'n'}); });
            }
            if (!w32test::WaitFor([&] { return !box->isVisible(); })) box->done(0);
        });
        EXPECT_EQ(MessageBoxA(main, "text", "caption", type), answer) << type;
        EXPECT_EQ(closes.n, 1) << type;
        EXPECT_EQ(stayed, type == MB_YESNO) << type;
    }
    w32test::AutoAnswerMessageBoxes(true);

    g_closes = g_systemKeys = 0;
    servertest::TakeSteps({{[&] { return HasTheKeyboard(top); }, [&] { EnableWindow(list, FALSE); }},
                           {nullptr, [] { TypeOnTheKeyboard({'x'}); }}});
    const bool closed = AltF4On(top) && w32test::WaitFor([&] { return !IsWindow(main); });
    if (!closed) DestroyWindow(main);
    MSG m{};
    while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
    EXPECT_TRUE(closed);
    EXPECT_EQ(g_closes, 1);
    EXPECT_EQ(g_systemKeys, 1);
    EXPECT_EQ(m.wParam, 0u);
    UnregisterClassA("X11Closing", nullptr);
}

TEST(X11, AltF4ClosesTheWindowThatHasTheKeyboard) {
    if (AWindowManagerRuns()) GTEST_SKIP() << "a window manager runs";
    AltF4ClosesTheWindowThatHasTheKeyboard(false);
}

// Under a window manager (run with one): the frame it puts around a window
// moves the client area, and screen coordinates follow it, so that a popup
// anchored at a child opens right at the child.
TEST(X11UnderAWindowManager, ScreenCoordinatesFollowTheRealFrame) {
    HWND top = MakeTopLevel("X11Framed", DefWindowProcA, "framed", {100, 100, 400, 300},
                            static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ASSERT_TRUE(top);
    HWND child =
        CreateWindowExA(0, "BUTTON", "anchor", WS_CHILD | WS_VISIBLE, 30, 40, 80, 24, top, nullptr, nullptr, nullptr);
    ShowWindow(top, SW_SHOW);
    QWidget* frame = TopLevelOf(top);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(UntilManaged(top, [&] { return frame->frameGeometry() != frame->geometry(); }))
        << "no window manager frame";
    QWidget* button = nullptr;
    for (QWidget* w : frame->findChildren<QWidget*>())
        if (w->property("w32hwnd").toULongLong() == reinterpret_cast<uintptr_t>(child)) button = w;
    ASSERT_NE(button, nullptr);
    // The frame's placement reaches the layer's screen coordinates.
    w32test::WaitFor([&] {
        POINT q{0, 0};
        ClientToScreen(child, &q);
        const QPoint r = button->mapToGlobal(QPoint(0, 0));
        return q.x == r.x() && q.y == r.y();
    });
    POINT p{0, 0};
    ClientToScreen(child, &p);
    QPoint real = button->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(p.x, real.x());
    EXPECT_EQ(p.y, real.y());
    RECT wr{};
    GetWindowRect(top, &wr);
    QRect f = frame->frameGeometry();
    EXPECT_EQ(wr.left, f.left());
    EXPECT_EQ(wr.top, f.top());
    EXPECT_EQ(wr.right, f.right() + 1);
    EXPECT_EQ(wr.bottom, f.bottom() + 1);
    RECT cr{};
    GetClientRect(top, &cr);
    EXPECT_EQ(cr.right, frame->width());
    EXPECT_EQ(cr.bottom, frame->height());
    DestroyWindow(top);
}

}  // namespace

namespace {

// What the window manager lets the user do with a top-level widget's window
// (_NET_WM_ALLOWED_ACTIONS, without the "_NET_WM_ACTION_" prefix); empty
// until the window is managed.
std::set<std::string> AllowedActions(QWidget* top) {
    std::set<std::string> actions;
    xcb_connection_t* c = servertest::QtConnection();
    if (!c || !top->windowHandle()) return actions;
    for (uint32_t atom : Property32(xcb_window_t(top->winId()), "_NET_WM_ALLOWED_ACTIONS")) {
        xcb_get_atom_name_reply_t* n = xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atom), nullptr);
        if (!n) continue;
        std::string s(xcb_get_atom_name_name(n), size_t(xcb_get_atom_name_name_length(n)));
        std::free(n);
        if (s.rfind("_NET_WM_ACTION_", 0) == 0) actions.insert(s.substr(15));
    }
    return actions;
}

// The sizes of the images of the icon a top-level widget's window shows the
// window manager (_NET_WM_ICON: each image's width, height and pixels).
std::set<uint32_t> IconSizes(QWidget* top) {
    std::set<uint32_t> sizes;
    if (!top->windowHandle()) return sizes;
    const std::vector<uint32_t> v = Property32(xcb_window_t(top->winId()), "_NET_WM_ICON");
    const size_t n = v.size();
    for (size_t i = 0; i + 2 <= n && size_t(v[i]) * v[i + 1] <= n - i - 2; i += 2 + size_t(v[i]) * v[i + 1])
        sizes.insert(v[i]);
    return sizes;
}

// The window the window manager says is active (_NET_ACTIVE_WINDOW).
xcb_window_t ActiveWindow() {
    const std::vector<uint32_t> v = Property32(0, "_NET_ACTIVE_WINDOW");
    return v.empty() ? 0 : v[0];
}

// True once the window manager makes the widget's window the active one.
bool BecomesActive(QWidget* top) {
    return w32test::WaitFor([&] { return ActiveWindow() == xcb_window_t(top->winId()); });
}

// The window manager's actions once it manages the window (it may still be
// starting: the window is shown again until it is).
std::set<std::string> ManagedActions(QWidget* top, HWND h) {
    std::set<std::string> actions;
    UntilManaged(h, [&] { return !(actions = AllowedActions(top)).empty(); });
    return actions;
}

// The X server's time now: that of a property change, seen on a connection
// of its own.
xcb_timestamp_t ServerTime() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_window_t w = xcb_generate_id(c);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, 0, w, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    xcb_change_property(c, XCB_PROP_MODE_APPEND, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(c);
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    while (xcb_generic_event_t* e = xcb_wait_for_event(c)) {
        const bool changed = (e->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
        if (changed) time = reinterpret_cast<xcb_property_notify_event_t*>(e)->time;
        std::free(e);
        if (changed) break;
    }
    xcb_disconnect(c);
    return time;
}

}  // namespace

// The user clicks the minimize button of the main window while the save
// dialog's replace question is open over it (the click, then the request to
// minimize the window), and later restores the window from a task bar: the
// save dialog and the question go with the main window and come back with
// it, the question holding the keyboard, which answers 否; Esc then closes
// the save dialog.
TEST(X11UnderAWindowManager, TheBoxesAndDialogsOverAWindowGoAndComeBackWithIt) {
    HWND main = MakeTopLevel("X11Minimized", DefWindowProcA, "main", {40, 40, 1000, 800});
    ShowWindow(main, SW_SHOW);
    QWidget* mainWidget = TopLevelOf(main);
    ASSERT_FALSE(ManagedActions(mainWidget, main).empty());
    char dir[] = "/tmp/x11minimizedXXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    std::ofstream(std::string(dir) + "/Export.txt") << "old";
    const std::function<QWidget*()> save = ShownOfClass("QFileDialog"), question = ShownOfClass("QMessageBox");
    const auto all = [&](bool minimized) {
        for (QWidget* w : {mainWidget, save(), question()})
            if (!w || w->isMinimized() != minimized || w->windowHandle()->isExposed() == minimized) return false;
        return true;
    };
    const auto type = [](std::vector<xcb_keysym_t> keys) { return [keys] { TypeOnTheKeyboard(keys); }; };
    servertest::Steps driver(
        {{[&] { return HasTheKeyboard(save()); }, type({XK_Return})},
         {[&] { return HasTheKeyboard(question()); },
          [&] {
              ClickOnTheScreen(mainWidget->mapToGlobal(QPoint(8, mainWidget->height() - 8)));
              servertest::ClientMessage(mainWidget, "WM_CHANGE_STATE", 3);  // iconic
          }},
         {[&] { return all(true); },
          [&] { servertest::ClientMessage(mainWidget, "_NET_ACTIVE_WINDOW", 2, ServerTime()); }},  // as a task bar
         {[&] { return all(false) && HasTheKeyboard(question()); }, type({'n'})},
         {[&] { return !question() && HasTheKeyboard(save()); }, type({XK_Escape})}});
    EXPECT_FALSE(SaveExportOver(main, dir));
    std::filesystem::remove_all(dir);
    EXPECT_EQ(driver.Taken(), 5u);
    DestroyWindow(main);
    UnregisterClassA("X11Minimized", nullptr);
}

// A window with minimize and maximize boxes can be minimized and maximized;
// a dialog and a message box only closed: the window manager shows no other
// button on them (KWin lets any window be minimized; a dialog takes its main
// window along). Both take the focus when they open, and show the window
// manager the program's icon (its first icon resource, at each of its sizes),
// whose classes have none. The save dialog's replace question is a 是/否 box
// as the others are.
TEST(X11UnderAWindowManager, OnlyWindowsWithTheBoxesCanBeMinimizedOrMaximized) {
    const bool minimizable =
        std::string(getenv("TARVEL_WINDOW_MANAGER") ? getenv("TARVEL_WINDOW_MANAGER") : "") == "kwin";
    HWND top = MakeTopLevel("X11Boxes", DefWindowProcA, "boxes", {100, 100, 400, 300},
                            static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ASSERT_TRUE(top);
    ShowWindow(top, SW_SHOW);
    QWidget* frame = TopLevelOf(top);
    ASSERT_NE(frame, nullptr);
    const std::set<std::string> main = ManagedActions(frame, top);
    ASSERT_FALSE(main.empty()) << "not managed";
    EXPECT_TRUE(main.count("MINIMIZE"));
    EXPECT_TRUE(main.count("MAXIMIZE_HORZ"));
    // The window is active: a dialog or a box opened over it takes the focus from it.
    frame->activateWindow();
    ASSERT_TRUE(BecomesActive(frame));

    // A dialog of a template with a system menu (DS_MODALFRAME | WS_POPUP |
    // WS_CAPTION | WS_SYSMENU) asks to be moved and closed; one without
    // (DS_MODALFRAME | WS_POPUP | WS_CAPTION) only to be moved: no button at
    // all. (Openbox keeps its close box whatever a window asks; window
    // managers that follow the hints draw none.)
    std::map<std::string, std::set<std::string>> actions;
    std::map<std::string, uint32_t> asked;
    std::map<std::string, bool> active;
    std::map<std::string, std::set<uint32_t>> icons;
    w32test::SetDialogHook([&](HWND dlg, const std::string& name) {
        icons[name] = IconSizes(TopLevelOf(dlg));
        actions[name] = ManagedActions(TopLevelOf(dlg), nullptr);
        active[name] = BecomesActive(TopLevelOf(dlg));
        asked[name] = AskedFunctions(TopLevelOf(dlg));
        EndDialog(dlg, 0);
    });
    DialogBoxParamA(GetModuleHandleA(nullptr), "ID_DLG_FIRST", top, nullptr, 0);
    DialogBoxParamA(GetModuleHandleA(nullptr), "ID_DLG_PAINTED", top, nullptr, 0);
    w32test::ClearHooks();
    for (const char* name : {"ID_DLG_FIRST", "ID_DLG_PAINTED"}) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(actions[name].empty()) << "not managed";
        EXPECT_EQ(actions[name].count("MINIMIZE"), minimizable);
        EXPECT_FALSE(actions[name].count("MAXIMIZE_HORZ"));
        EXPECT_TRUE(active[name]);
        EXPECT_EQ(icons[name], (std::set<uint32_t>{16, 32, 48, 128}));
    }
    EXPECT_TRUE(actions["ID_DLG_FIRST"].count("CLOSE"));
    EXPECT_EQ(asked["ID_DLG_FIRST"] & (4 | 8 | 16 | 32), 4u | 32u);
    EXPECT_EQ(asked["ID_DLG_PAINTED"] & (4 | 8 | 16 | 32), 4u);

    // Message boxes over the window: one with 取消 asks for a close box, a
    // 是/否 box, which a close request leaves open, for none.
    std::set<std::string> box;
    bool boxActive = false;
    uint32_t boxAsks = 0;
    std::set<uint32_t> boxIcon;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* b = qobject_cast<QMessageBox*>(w);
            if (!b || !b->isVisible()) continue;
            poll.stop();
            box = ManagedActions(b, nullptr);
            boxActive = BecomesActive(b);
            boxAsks = AskedFunctions(b);
            boxIcon = IconSizes(b);
            b->buttons().front()->click();
            return;
        }
    });
    w32test::AutoAnswerMessageBoxes(false);
    for (UINT type : {MB_OKCANCEL, MB_YESNO}) {
        SCOPED_TRACE(type);
        box.clear();
        poll.start(50);
        MessageBoxA(top, "text", "caption", type);
        EXPECT_FALSE(box.empty()) << "not managed";
        EXPECT_TRUE(type == MB_YESNO || box.count("CLOSE"));  // openbox lets both close
        EXPECT_EQ(box.count("MINIMIZE"), minimizable);
        EXPECT_FALSE(box.count("MAXIMIZE_HORZ"));
        EXPECT_TRUE(boxActive);
        EXPECT_EQ(boxAsks & (4 | 8 | 16 | 32), type == MB_YESNO ? 4u : 4u | 32u);
        EXPECT_EQ(boxIcon, (std::set<uint32_t>{16, 32, 48, 128}));
    }
    w32test::AutoAnswerMessageBoxes(true);

    char dir[] = "/tmp/x11replaceXXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    std::ofstream(std::string(dir) + "/Export.txt") << "old";
    std::set<std::string> question;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(ExposedWindow([](QWidget* w) { return qobject_cast<QFileDialog*>(w); }));
        if (!dlg) return;
        QTimer::singleShot(0, [&, dlg] {  // inside the question's loop
            if (auto* q = static_cast<QMessageBox*>(ExposedWindow(
                    [&](QWidget* w) { return qobject_cast<QMessageBox*>(w) && w->parentWidget() == dlg; }))) {
                question = ManagedActions(q, nullptr);
                q->button(QMessageBox::No)->click();
            }
        });
        QMetaObject::invokeMethod(dlg, "accept");
        dlg->reject();
    });
    EXPECT_FALSE(SaveExportOver(top, dir));
    std::filesystem::remove_all(dir);
    EXPECT_FALSE(question.empty()) << "not managed";
    EXPECT_EQ(question, box);  // the 是/否 box's
    DestroyWindow(top);
}

// Under a window manager a maximized window is maximized by it, inside the
// frame and title bar it draws: the client area is all the window has inside
// the frame, the window was told its size and shows its own pixels there.
TEST(X11UnderAWindowManager, AMaximizedWindowIsMaximizedInsideTheFrameOfTheWindowManager) {
    // Openbox still starting may leave a window mapped meanwhile unhandled
    // until the server tells it more: a probe, shown again between tries,
    // tells when it handles windows.
    HWND probe = MakeGreenWindow();
    ShowWindow(probe, SW_SHOW);
    ASSERT_TRUE(UntilManaged(probe, [&] {
        return TopLevelOf(probe)->frameGeometry() != TopLevelOf(probe)->geometry();
    })) << "no window manager frames windows";
    DestroyWindow(probe);
    HWND h = MakeGreenWindow();
    ShowWindow(h, SW_SHOWMAXIMIZED);
    QWidget* top = TopLevelOf(h);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_TRUE(UntilManaged(nullptr, [&] {
        return top->isMaximized() && top->frameGeometry().width() == area.width() &&
               top->geometry().top() > area.top() && g_maximizedSize == MAKELPARAM(top->width(), top->height());
    })) << "not maximized by the window manager";
    RECT cr{};
    GetClientRect(h, &cr);
    EXPECT_EQ(QSize(cr.right, cr.bottom), top->size());
    EXPECT_TRUE(w32test::WaitFor([&] { return NotGreen(top->geometry()) == 0; }));
    EXPECT_GT(NotGreen(QRect(area.x(), area.y(), area.width(), top->geometry().top() - area.y())), 0) << "no title bar";
    DestroyWindow(h);
    UnregisterClassA("X11Green", nullptr);
}

TEST(X11UnderAWindowManager, AltF4ClosesTheWindowThatHasTheKeyboardOnce) {
    AltF4ClosesTheWindowThatHasTheKeyboard(true);
}
