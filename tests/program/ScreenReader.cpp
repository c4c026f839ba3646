// Qt's headers come before Xlib's, whose macros clash with them.
#include <QtCore/QTimer>
#include <QtGui/QImage>
#include <QtGui/qguiapplication_platform.h>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include "ScreenReader.h"

#include "tests/support/ServerInput.h"
#include "win32_testhooks.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>

namespace screentest {

Pixels ReadRoot(int x, int y, int width, int height) {
    Pixels out;
    Display* d = XOpenDisplay(nullptr);
    if (!d) return out;
    const Window root = DefaultRootWindow(d);
    XWindowAttributes a{};
    XGetWindowAttributes(d, root, &a);
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(a.width, x + width), y1 = std::min(a.height, y + height);
    if (x1 > x0 && y1 > y0) {
        if (XImage* im = XGetImage(d, root, x0, y0, unsigned(x1 - x0), unsigned(y1 - y0), AllPlanes, ZPixmap)) {
            out.x = x0;
            out.y = y0;
            out.width = x1 - x0;
            out.height = y1 - y0;
            out.rgb.reserve(size_t(out.width) * size_t(out.height));
            out.depth = a.depth;
            // Each channel's bits as 8 (5 or 6 on a 16-bit screen: repeated, as X servers widen them).
            const auto channel = [](unsigned long pixel, unsigned long mask) {
                const int bits = __builtin_popcountl(mask);
                const auto v = uint32_t((pixel & mask) >> __builtin_ctzl(mask));
                return bits >= 8 ? v >> (bits - 8) : (v << (8 - bits) | v >> (2 * bits - 8)) & 0xFF;
            };
            for (int py = 0; py < out.height; ++py)
                for (int px = 0; px < out.width; ++px) {
                    const unsigned long p = XGetPixel(im, px, py);
                    out.rgb.push_back(channel(p, im->red_mask) << 16 | channel(p, im->green_mask) << 8 |
                                      channel(p, im->blue_mask));
                }
            XDestroyImage(im);
        }
    }
    XCloseDisplay(d);
    return out;
}

namespace {

QWidget* TopWidget(void* hwnd) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->property("w32hwnd").toULongLong() == reinterpret_cast<uintptr_t>(hwnd)) return w;
    return nullptr;
}

// True when the X server shows the top-level widget's window (and its frame)
// at the place and size Qt has for it.
bool Placed(QWidget* top) {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return false;
    const Window win = Window(top->winId());
    XWindowAttributes a{};
    int x = 0, y = 0;
    Window child = 0;
    const bool placed = XGetWindowAttributes(d, win, &a) && a.map_state == IsViewable &&
                        XTranslateCoordinates(d, win, DefaultRootWindow(d), 0, 0, &x, &y, &child) &&
                        QRect(x, y, a.width, a.height) == top->geometry();
    XCloseDisplay(d);
    return placed;
}

}  // namespace

bool ShownWhereKnown(void* hwnd) {
    QWidget* top = TopWidget(hwnd);
    if (!top || !Placed(top)) return false;
    RECT rc{};
    POINT origin{0, 0};
    GetClientRect(static_cast<HWND>(hwnd), &rc);
    ClientToScreen(static_cast<HWND>(hwnd), &origin);
    return QRect(origin.x, origin.y, rc.right, rc.bottom) == top->geometry();
}

bool WaitUntilManaged(void* hwnd, int timeoutMs) {
    QWidget* top = TopWidget(hwnd);
    Display* d = XOpenDisplay(nullptr);
    if (!top || !d) {
        if (d) XCloseDisplay(d);
        return false;
    }
    const Window root = DefaultRootWindow(d);
    const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    const auto framed = [&] {
        return w32test::WaitFor(
            [&] {
                Atom type = 0;
                int format = 0;
                unsigned long count = 0, after = 0;
                unsigned char* data = nullptr;
                const bool wm = XGetWindowProperty(d, root, check, 0, 1, False, AnyPropertyType, &type, &format, &count,
                                                   &after, &data) == Success &&
                                count == 1;
                if (data) XFree(data);
                if (!wm) return false;
                Window r = 0, parent = 0, *children = nullptr;
                unsigned n = 0;
                if (!XQueryTree(d, Window(top->winId()), &r, &parent, &children, &n)) return false;
                if (children) XFree(children);
                return parent != root;
            },
            1000);
    };
    // A window mapped while the window manager was starting may be left
    // alone: it is mapped again until it is framed.
    bool managed = framed();
    for (int waited = 1000; !managed && waited < timeoutMs; waited += 1000) {
        ShowWindow(static_cast<HWND>(hwnd), SW_HIDE);
        ShowWindow(static_cast<HWND>(hwnd), SW_SHOW);
        managed = framed();
    }
    XCloseDisplay(d);
    return managed;
}

namespace {

// Sent to the window's own client.
void Send(Display* d, XEvent* e) {
    XSendEvent(d, e->xany.window, False, NoEventMask, e);
    XSync(d, False);
}

}  // namespace

void ClickOnScreen(void* hwnd, int x, int y) {
    QWidget* top = TopWidget(hwnd);
    Display* d = XOpenDisplay(nullptr);
    if (top && d) {
        const QPoint at = top->mapFromGlobal(QPoint(x, y));
        for (int type : {ButtonPress, ButtonRelease}) {
            XEvent e{};
            XButtonEvent& b = e.xbutton;
            b.type = type;
            b.window = Window(top->winId());
            b.root = DefaultRootWindow(d);
            b.x = at.x();
            b.y = at.y();
            b.x_root = x;
            b.y_root = y;
            b.state = type == ButtonPress ? 0 : Button1Mask;
            b.button = Button1;
            b.same_screen = True;
            Send(d, &e);
        }
    }
    if (d) XCloseDisplay(d);
}

void RequestClose(void* hwnd) { servertest::RequestClose(TopWidget(hwnd)); }

using servertest::FakeInput;

void ClickWithTheServer(int x, int y, int button) {
    FakeInput(XCB_MOTION_NOTIFY, 0, x, y);
    FakeInput(XCB_BUTTON_PRESS, uint8_t(button));
    FakeInput(XCB_BUTTON_RELEASE, uint8_t(button));
}

void MoveWithTheServer(int x, int y) { FakeInput(XCB_MOTION_NOTIFY, 0, x, y); }

void DragWithTheServer(int x0, int y0, int x1, int y1) {
    FakeInput(XCB_MOTION_NOTIFY, 0, x0, y0);
    FakeInput(XCB_BUTTON_PRESS, 1);
    FakeInput(XCB_MOTION_NOTIFY, 0, x1, y1);
    FakeInput(XCB_BUTTON_RELEASE, 1);
}

void PressWithTheServer(int x, int y) {
    FakeInput(XCB_MOTION_NOTIFY, 0, x, y);
    FakeInput(XCB_BUTTON_PRESS, 1);
}

void ReleaseWithTheServer() { FakeInput(XCB_BUTTON_RELEASE, 1); }

bool GiveTheKeyboardTo(void* hwnd) {
    QWidget* top = TopWidget(hwnd);
    Display* d = XOpenDisplay(nullptr);
    if (top && d) {
        XSetInputFocus(d, Window(top->winId()), RevertToParent, CurrentTime);
        XSync(d, False);
    }
    if (d) XCloseDisplay(d);
    return top && w32test::WaitFor([top] { return top->isActiveWindow(); }, 10000);
}

void TypeWithTheServer(const std::vector<unsigned>& keysyms) {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return;
    for (unsigned k : keysyms)
        for (uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) FakeInput(type, uint8_t(XKeysymToKeycode(d, k)));
    XCloseDisplay(d);
}

void ChordWithTheServer(const std::vector<unsigned>& keysyms) {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return;
    for (unsigned k : keysyms) FakeInput(XCB_KEY_PRESS, uint8_t(XKeysymToKeycode(d, k)));
    for (auto k = keysyms.rbegin(); k != keysyms.rend(); ++k)
        FakeInput(XCB_KEY_RELEASE, uint8_t(XKeysymToKeycode(d, *k)));
    XCloseDisplay(d);
}

bool SavePng(const Pixels& pixels, const std::string& path) {
    if (pixels.empty()) return false;
    QImage image(pixels.width, pixels.height, QImage::Format_RGB32);
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            image.setPixel(x, y, 0xFF000000u | pixels.rgb[std::size_t(y) * std::size_t(pixels.width) + std::size_t(x)]);
    return image.save(QString::fromStdString(path));
}

namespace {

QWidget* Find(Shown kind) {
    if (kind == Shown::PopupMenu) return QApplication::activePopupWidget();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible()) continue;
        if (kind == Shown::MessageBox && qobject_cast<QMessageBox*>(w)) return w;
        if (kind == Shown::SaveDialog && qobject_cast<QFileDialog*>(w)) return w;
    }
    return nullptr;
}

void Close(Shown kind, QWidget* w) {
    switch (kind) {
    case Shown::MessageBox: {
        QPushButton* last = nullptr;
        for (QPushButton* b : w->findChildren<QPushButton*>())
            if (b->isVisible() && (!last || b->mapToGlobal(QPoint(0, 0)).x() > last->mapToGlobal(QPoint(0, 0)).x()))
                last = b;
        if (last) last->click();
        break;
    }
    case Shown::PopupMenu: w->close(); break;
    case Shown::SaveDialog: static_cast<QFileDialog*>(w)->reject(); break;
    }
}

}  // namespace

bool IsShown(Shown kind) { return Find(kind) != nullptr; }

Rect ShownMenu() {
    QWidget* w = Find(Shown::PopupMenu);
    if (!w || !w->isVisible() || !Placed(w)) return Rect();
    return Rect{w->x(), w->y(), w->width(), w->height()};
}

std::pair<int, int> MenuItemCentre(char letter) {
    auto* menu = qobject_cast<QMenu*>(Find(Shown::PopupMenu));
    const QString key = QStringLiteral("&") + QChar(QLatin1Char(letter));
    if (menu)
        for (QAction* a : menu->actions())
            if (a->text().contains(key, Qt::CaseInsensitive)) {
                const QPoint c = menu->mapToGlobal(menu->actionGeometry(a).center());
                return {c.x(), c.y()};
            }
    return {-1, -1};
}

void WhenShown(Shown kind, std::function<void(const Rect&)> look) {
    auto* timer = new QTimer(qApp);  // goes with the application if nothing shows
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, [timer, kind, look] {
        // Looked at once the X server shows it where Qt has it (a window
        // manager may place it elsewhere than asked).
        QWidget* w = Find(kind);
        if (!w || !w->isVisible() || !Placed(w)) return;
        timer->stop();
        timer->deleteLater();
        const QPoint at = w->mapToGlobal(QPoint(0, 0));
        look(Rect{at.x(), at.y(), w->width(), w->height()});
        if ((w = Find(kind))) Close(kind, w);
    });
    timer->start();
}

}  // namespace screentest
