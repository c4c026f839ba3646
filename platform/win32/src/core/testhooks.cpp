// Test hooks (library w32_testhooks, linked by tests only): answering message
// boxes, dialogs and popup menus, driving windows through real Qt input
// events, pumping and grabbing. The layer's hook points are in hooks.cpp.
#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtCore/QEventLoop>
#include <QtCore/QPointer>
#include <QtCore/QThread>
#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QWidget>

#include <dirent.h>

#include <mutex>
#include <tuple>
#include <ostream>

#include "commctrl/ImageList.h"
#include "core.h"
#include "win32_testhooks.h"

namespace {

w32::Window* Win(HWND h) { return w32::FromHwnd(h); }

QWidget* ClientWidget(HWND h) {
    w32::Window* w = Win(h);
    return w ? w->client : nullptr;
}

QPoint At(HWND h, int x, int y) {
    w32::Window* w = Win(h);
    if (!w) return QPoint();
    if (x < 0 || y < 0) return QPoint(w->ClientWidth() / 2, w->ClientHeight() / 2);
    return QPoint(x, y);
}

// The widget of the window (or its inner widget) under a client point.
QWidget* TargetWidget(HWND h, QPoint local, QPoint* widgetPos) {
    QWidget* c = ClientWidget(h);
    if (!c) return nullptr;
    QWidget* child = c->childAt(local);
    QWidget* t = child ? child : c;
    // Stay inside the window itself: children of other windows are not ours to hit.
    if (child && w32::FromWidget(child) != Win(h)) t = c;
    *widgetPos = t->mapFrom(c, local);
    return t;
}

void SendMouse(HWND h, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, int x, int y) {
    QPoint local = At(h, x, y);
    QPoint wp;
    QWidget* t = TargetWidget(h, local, &wp);
    if (!t) return;
    QPoint global = t->mapToGlobal(wp);
    // Mouse input from the hooks is plain: no key is held (Qt keeps the
    // modifiers of the last key event sent, e.g. Shift after Shift+Tab).
    QMouseEvent ev(type, QPointF(wp), QPointF(global), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(t, &ev);
}

// The widget a key goes to: the window's own (its focus proxy) when one is
// named, else where Qt delivers a key of the window system (KeyboardWidget),
// so that a box or a dialog that holds the keyboard gets it, not the window
// under it.
QWidget* KeyTarget(HWND h) {
    if (h) {
        w32::Window* w = Win(h);
        if (!w || !w->widget) return nullptr;
        QWidget* t = w->widget->focusProxy() ? w->widget->focusProxy() : w->widget;
        return t;
    }
    return w32::KeyboardWidget();
}

}  // namespace

namespace w32test {

void SetMessageBoxHook(MessageBoxHook hook) {
    std::lock_guard<std::mutex> lock(w32::Hooks().mutex);
    w32::Hooks().boxHook = std::move(hook);
}

void AutoAnswerMessageBoxes(bool on) {
    std::lock_guard<std::mutex> lock(w32::Hooks().mutex);
    w32::Hooks().autoAnswer = on;
}

std::vector<MessageBoxCall> MessageBoxes() {
    std::lock_guard<std::mutex> lock(w32::Hooks().mutex);
    return w32::Hooks().boxCalls;
}

void ClearMessageBoxes() {
    std::lock_guard<std::mutex> lock(w32::Hooks().mutex);
    w32::Hooks().boxCalls.clear();
}

void SetDialogHook(DialogHook hook) { w32::Hooks().dialogHook = std::move(hook); }
void SetPopupMenuHook(PopupMenuHook hook) { w32::Hooks().menuHook = std::move(hook); }
std::vector<PopupMenuCall> PopupMenus() { return w32::Hooks().menuCalls; }

void ClearHooks() {
    SetMessageBoxHook(nullptr);
    w32::Hooks().dialogHook = nullptr;
    w32::Hooks().menuHook = nullptr;
    w32::Hooks().menuCalls.clear();
}

void Click(HWND h, int x, int y) {
    SendMouse(h, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, x, y);
    if (IsWindow(h)) SendMouse(h, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, x, y);
}

void DoubleClick(HWND h, int x, int y) {
    Click(h, x, y);
    if (!IsWindow(h)) return;
    SendMouse(h, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, x, y);
    if (IsWindow(h)) SendMouse(h, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, x, y);
}

void RightClick(HWND h, int x, int y) {
    SendMouse(h, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, x, y);
    if (IsWindow(h)) SendMouse(h, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, x, y);
}

void MouseMove(HWND h, int x, int y) { SendMouse(h, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, x, y); }
void MouseDown(HWND h, int x, int y) { SendMouse(h, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, x, y); }
void MouseUp(HWND h, int x, int y) { SendMouse(h, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, x, y); }

void PressKey(int vk, bool shift, bool ctrl, HWND h) {
    QWidget* t = KeyTarget(h);
    if (!t) return;
    Qt::KeyboardModifiers mods;
    if (shift) mods |= Qt::ShiftModifier;
    if (ctrl) mods |= Qt::ControlModifier;
    int key = w32::VkToQtKey(vk);
    if (vk == VK_TAB && shift) key = Qt::Key_Backtab;
    QString text;
    if (char c = ctrl ? 0 : w32::VkChar(vk, shift)) text = QString(QLatin1Char(c));
    QPointer<QWidget> guard(t);
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(t, &down);
    // Without a window named, the release goes where the keyboard is then,
    // as the user's does (the press may have moved it, or closed a box).
    if (!h || !guard) t = KeyTarget(nullptr);
    if (!t) return;
    QKeyEvent up(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(t, &up);
    // Then the modifiers go up, as the user lets them go: GetKeyState sees
    // them released afterwards.
    for (auto [on, modKey, modFlag] : {std::tuple{ctrl, Qt::Key_Control, Qt::ControlModifier},
                                       std::tuple{shift, Qt::Key_Shift, Qt::ShiftModifier}}) {
        if (!on) continue;
        if (!h || !guard) t = KeyTarget(nullptr);
        if (!t) return;
        // Made with the modifiers held before it: the event reports them
        // without its own key's.
        QKeyEvent release(QEvent::KeyRelease, modKey, mods);
        QApplication::sendEvent(t, &release);
        mods &= ~modFlag;
    }
}

void TypeText(const std::string& gbk, HWND h) {
    QString s = w32::ToQt(gbk);
    for (QChar c : s) {
        QWidget* t = KeyTarget(h);
        if (!t) return;
        int key = 0;
        ushort u = c.unicode();
        if (u >= 'a' && u <= 'z')
            key = Qt::Key_A + (u - 'a');
        else if (u >= 'A' && u <= 'Z')
            key = Qt::Key_A + (u - 'A');
        else if (u >= '0' && u <= '9')
            key = Qt::Key_0 + (u - '0');
        else if (u == ' ')
            key = Qt::Key_Space;
        else if (u < 0x80)
            key = u;
        Qt::KeyboardModifiers mods = (u >= 'A' && u <= 'Z') ? Qt::ShiftModifier : Qt::NoModifier;
        QKeyEvent down(QEvent::KeyPress, key, mods, QString(c));
        QApplication::sendEvent(t, &down);
        if ((t = KeyTarget(h))) {
            QKeyEvent up(QEvent::KeyRelease, key, mods, QString(c));
            QApplication::sendEvent(t, &up);
        }
    }
}

std::vector<RECT> ComboListRows(HWND combo, int* viewportHeight) {
    std::vector<RECT> rows;
    if (viewportHeight) *viewportHeight = -1;
    w32::Window* w = Win(combo);
    auto* b = w ? qobject_cast<QComboBox*>(w->widget) : nullptr;
    if (!b || !b->view() || !b->view()->isVisible()) return rows;
    if (viewportHeight) *viewportHeight = b->view()->viewport()->height();
    for (int i = 0; i < b->count(); ++i) {
        const QRect r = b->view()->visualRect(b->model()->index(i, b->modelColumn()));
        rows.push_back(RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    }
    return rows;
}

void SelectComboItem(HWND combo, int index) {
    SetFocus(combo);
    int cur = int(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    int n = int(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    if (index < 0 || index >= n) return;
    if (cur < 0) {
        PressKey(VK_DOWN, false, false, combo);
        cur = int(SendMessageA(combo, CB_GETCURSEL, 0, 0));
        if (cur < 0) return;
    }
    for (int guard = 0; cur != index && guard < n + 2; ++guard) {
        PressKey(index > cur ? VK_DOWN : VK_UP, false, false, combo);
        cur = int(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    }
}

void ProcessEvents(int ms) {
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        w32::FlushPaints();
        if (ms > 0) QThread::msleep(1);
    } while (t.elapsed() < ms);
}

bool WaitFor(const std::function<bool()>& pred, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > timeoutMs) return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        w32::FlushPaints();
        QThread::msleep(1);
    }
    return true;
}

bool WaitForKeyboard(HWND h, int timeoutMs) {
    w32::Window* w = Win(h);
    const QPointer<QWidget> top = w ? w32::TopLevelOf(w)->widget : nullptr;
    return top && WaitFor([top] { return top && QApplication::activeWindow() == top; }, timeoutMs);
}

int SetDoubleClickTime(int ms) {
    const int old = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(ms);
    return old;
}

void WaitDoubleClickTime() {
    // Longer by the slack Qt allows a coarse timer (5 %), so that a timer of
    // the double-click time started before this call has fired too.
    const int ms = QApplication::doubleClickInterval();
    bool fired = false;
    QObject context;
    QTimer::singleShot(ms + ms / 20 + 1, Qt::PreciseTimer, &context, [&fired] { fired = true; });
    WaitFor([&fired] { return fired; }, ms + 10000);
}

static QImage Render(HWND h) {
    w32::Window* w = Win(h);
    if (!w || !w->widget) return QImage();
    w32::FlushPaints();
    QWidget* c = w->client ? w->client : w->widget;
    QImage img(c->size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    c->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

bool GrabWindow(HWND h, const std::string& pngPath) {
    QImage img = Render(h);
    if (img.isNull()) return false;
    return img.save(QString::fromLocal8Bit(pngPath.c_str()), "PNG");
}

COLORREF PixelAt(HWND h, int x, int y) {
    QImage img = Render(h);
    if (img.isNull() || !img.rect().contains(x, y)) return CLR_INVALID;
    return w32::FromQColor(img.pixelColor(x, y));
}

COLORREF BackingPixel(HWND h, int x, int y) {
    w32::Window* w = Win(h);
    if (w && w32::PaintsOnScreen(w)) {
        if (!w32::ClientRect(w).contains(x, y)) return CLR_INVALID;
        const QImage shown = w32::ShownPixels(w, QRect(x, y, 1, 1), true);
        return shown.isNull() ? CLR_INVALID : w32::FromQColor(shown.pixelColor(0, 0));
    }
    if (w && w->backingPending) w32::EnsureBacking(w);
    if (!w || w->backing.isNull() || !w->backing.rect().contains(x, y)) return CLR_INVALID;
    return w32::FromQColor(w->backing.pixelColor(x, y));
}

bool KeepsPixels(HWND h) {
    const w32::Window* w = Win(h);
    return w && !w->painting && (!w->backing.isNull() || w->backingPending);
}

int CurrentCursorId() { return w32::CursorId(GetCursor()); }

// ---------------------------------------------------------------------------
// Live objects
// ---------------------------------------------------------------------------
namespace {

struct CountField {
    const char* name;
    int ObjectCounts::*field;
};
const CountField kCountFields[] = {
    {"fonts", &ObjectCounts::fonts},
    {"brushes", &ObjectCounts::brushes},
    {"pens", &ObjectCounts::pens},
    {"bitmaps", &ObjectCounts::bitmaps},
    {"regions", &ObjectCounts::regions},
    {"dcs", &ObjectCounts::dcs},
    {"menus", &ObjectCounts::menus},
    {"windows", &ObjectCounts::windows},
    {"timers", &ObjectCounts::timers},
    {"imageLists", &ObjectCounts::imageLists},
    {"kernelHandles", &ObjectCounts::kernelHandles},
    {"widgets", &ObjectCounts::widgets},
};

}  // namespace

bool ObjectCounts::operator==(const ObjectCounts& o) const {
    for (const CountField& f : kCountFields)
        if (this->*f.field != o.*f.field) return false;
    return true;
}

int ProcessThreads() {
    DIR* dir = opendir("/proc/self/task");
    if (!dir) return -1;
    int n = 0;
    while (const dirent* e = readdir(dir))
        if (e->d_name[0] != '.') ++n;
    closedir(dir);
    return n;
}

ObjectCounts LiveObjects() {
    // Destroyed windows free their objects and widgets once no procedure
    // runs; Qt's own deferred deletions wait for an event loop turn.
    w32::CollectDead();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ObjectCounts c;
    const w32::GdiCounts g = w32::CountGdiObjects();
    c.fonts = g.fonts;
    c.brushes = g.brushes;
    c.pens = g.pens;
    c.bitmaps = g.bitmaps;
    c.regions = g.regions;
    c.dcs = g.dcs;
    c.menus = w32::CountMenus();
    c.windows = w32::CountWindows();
    c.timers = w32::CountTimers();
    c.imageLists = w32::cc::CountImageLists();
    c.kernelHandles = w32::CountKernelHandles();
    c.widgets = int(QApplication::allWidgets().size());
    return c;
}

std::string Describe(const ObjectCounts& c) {
    std::string s;
    for (const CountField& f : kCountFields) {
        if (!s.empty()) s += ' ';
        s += std::string(f.name) + '=' + std::to_string(c.*f.field);
    }
    return s;
}

std::ostream& operator<<(std::ostream& os, const ObjectCounts& c) { return os << Describe(c); }

std::string Difference(const ObjectCounts& before, const ObjectCounts& after) {
    std::string s;
    for (const CountField& f : kCountFields) {
        if (before.*f.field == after.*f.field) continue;
        if (!s.empty()) s += ", ";
        s += std::string(f.name) + ' ' + std::to_string(before.*f.field) + " -> " + std::to_string(after.*f.field);
    }
    return s;
}

}  // namespace w32test
