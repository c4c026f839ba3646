// Qt input -> window messages. Every key and mouse event of a layer widget
// goes through the window's procedure chain first; the widget sees the event
// only when the built-in procedure calls DefaultInput.
#include <QtCore/QCoreApplication>
#include <QtGui/QGuiApplication>
#include <QtGui/QInputMethodEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QWheelEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <vector>

#include "core.h"

namespace w32 {

const char* const kInputProperty = "w32input";

namespace {

struct InputCtx {
    HWND hwnd;
    UINT msg;
    QEvent* ev;
    QWidget* widget;
    bool used;
};
std::vector<InputCtx> g_ctx;
QEvent* g_replayEvent = nullptr;
QWidget* g_replayWidget = nullptr;

class InputFilter : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* e) override;
};
InputFilter* g_filter = nullptr;

WPARAM KeysOf(Qt::MouseButtons b, Qt::KeyboardModifiers m) {
    WPARAM k = 0;
    if (b & Qt::LeftButton) k |= MK_LBUTTON;
    if (b & Qt::RightButton) k |= MK_RBUTTON;
    if (b & Qt::MiddleButton) k |= MK_MBUTTON;
    if (m & Qt::ShiftModifier) k |= MK_SHIFT;
    if (m & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

// The window that takes a mouse event aimed at w: disabled children pass it
// to their parent, as Win32 hit-testing skips them.
Window* MouseTarget(Window* w) {
    while (w && !w->Enabled() && w->IsChild() && w->parent) w = w->parent;
    if (!w || InputBlocked(w)) return nullptr;
    return w;
}

LRESULT SendInput(Window* w, UINT msg, WPARAM wp, LPARAM lp, QEvent* ev, QWidget* widget) {
    g_ctx.push_back(InputCtx{w->hwnd, msg, ev, widget, false});
    LRESULT r = Send(w, msg, wp, lp);
    g_ctx.pop_back();
    return r;
}

bool Mouse(Window* w, QWidget* wid, QMouseEvent* me) {
    SetCurrentModifiers(me->modifiers(), me->buttons());
    Window* t = MouseTarget(w);
    if (!t || !t->client) return true;
    HWND th = t->hwnd;
    QPoint local = t->client->mapFromGlobal(me->globalPosition().toPoint());
    UINT msg = 0;
    bool left = me->button() == Qt::LeftButton, right = me->button() == Qt::RightButton;
    switch (me->type()) {
    case QEvent::MouseMove: msg = WM_MOUSEMOVE; break;
    case QEvent::MouseButtonPress: msg = left ? WM_LBUTTONDOWN : right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN; break;
    case QEvent::MouseButtonRelease: msg = left ? WM_LBUTTONUP : right ? WM_RBUTTONUP : WM_MBUTTONUP; break;
    case QEvent::MouseButtonDblClick:
        if (t->cls->style & CS_DBLCLKS)
            msg = left ? WM_LBUTTONDBLCLK : right ? WM_RBUTTONDBLCLK : WM_MBUTTONDBLCLK;
        else
            msg = left ? WM_LBUTTONDOWN : right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
        break;
    default: return false;
    }
    bool dragging = me->type() == QEvent::MouseMove && me->buttons() != Qt::NoButton;
    if (!dragging) {
        Send(t, WM_SETCURSOR, WPARAM(th), MAKELPARAM(HTCLIENT, msg == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : msg));
        ApplyCursorTo(wid);
        t = FromHwnd(th);
        if (!t) return true;
    }
    SendInput(t, msg, KeysOf(me->buttons(), me->modifiers()), MAKELPARAM(local.x(), local.y()), me,
              t == w ? wid : nullptr);
    return true;
}

bool Wheel(Window* w, QWidget* wid, QWheelEvent* we) {
    SetCurrentModifiers(we->modifiers(), we->buttons());
    Window* t = MouseTarget(w);
    if (!t) return true;
    QPoint g = we->globalPosition().toPoint();
    int delta = we->angleDelta().y();
    WPARAM wp = MAKEWPARAM(KeysOf(we->buttons(), we->modifiers()), WORD(short(delta)));
    SendInput(t, WM_MOUSEWHEEL, wp, MAKELPARAM(g.x(), g.y()), we, t == w ? wid : nullptr);
    return true;
}

void SendChars(Window* w, const QString& text, QEvent* ev, QWidget* wid, LPARAM lp) {
    HWND h = w->hwnd;
    std::string bytes = FromQt(text);
    for (unsigned char b : bytes) {
        if (b == 0x7F) continue;
        Window* t = FromHwnd(h);
        if (!t) return;
        SendInput(t, WM_CHAR, WPARAM(b), lp, ev, wid);
    }
}

bool Key(Window* w, QWidget* wid, QKeyEvent* ke) {
    SetCurrentModifiers(ke->modifiers(), QGuiApplication::mouseButtons());
    if (InputBlocked(w)) return true;
    HWND h = w->hwnd;
    int vk = QtKeyToVk(ke->key());
    if (!vk && !ke->text().isEmpty()) vk = 0xE5;  // text from an input method
    // A key pressed or released while Alt is down is a system key (its
    // context code set), which the default procedure acts on. So is every
    // key while no window has the focus: Qt's focus is then on the active
    // window, which gets them.
    const bool alt = ke->modifiers() & Qt::AltModifier;
    const bool focused = GetFocus() != nullptr;
    const bool system = alt || !focused;
    const LPARAM context = alt ? LPARAM(1) << 29 : 0;
    if (ke->type() == QEvent::KeyPress) {
        LPARAM lp = 1 | context | (ke->isAutoRepeat() ? (LPARAM(1) << 30) : 0);
        Window* top = TopLevelOf(w);
        if (vk && focused && IsModalDialog(top) && DialogKey(w, WPARAM(vk))) return true;
        if (!(w = FromHwnd(h))) return true;
        if (vk) SendInput(w, system ? WM_SYSKEYDOWN : WM_KEYDOWN, WPARAM(vk), lp, ke, wid);
        if (!(w = FromHwnd(h))) return true;
        // What TranslateMessage does in a message loop.
        if (!ke->text().isEmpty() && !system) SendChars(w, ke->text(), ke, wid, lp);
    } else {
        if (vk) SendInput(w, system ? WM_SYSKEYUP : WM_KEYUP, WPARAM(vk), LPARAM(0xC0000001) | context, ke, wid);
    }
    return true;
}

// Delivers an input-method event the filter lets through to the widget.
void SendInputMethod(QWidget* wid, QInputMethodEvent* ev) {
    QEvent* prevEv = g_replayEvent;
    QWidget* prevW = g_replayWidget;
    g_replayEvent = ev;
    g_replayWidget = wid;
    QCoreApplication::sendEvent(wid, ev);
    g_replayEvent = prevEv;
    g_replayWidget = prevW;
}

bool InputFilter::eventFilter(QObject* obj, QEvent* e) {
    if (e == g_replayEvent) return obj != g_replayWidget;  // the replay, not its propagation
    // Most events a window's widget gets (shows, moves, paints, ...) are not
    // input: let them pass before the widget's window is looked up.
    switch (e->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
    case QEvent::FocusIn:
    case QEvent::ContextMenu: break;
    default: return false;
    }
    auto* wid = qobject_cast<QWidget*>(obj);
    if (!wid) return false;
    QVariant v = wid->property(kInputProperty);
    if (!v.isValid()) v = wid->property(kHwndProperty);
    if (!v.isValid()) return false;
    Window* w = FromHwnd(reinterpret_cast<HWND>(v.value<qulonglong>()));
    switch (e->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: return w ? Mouse(w, wid, static_cast<QMouseEvent*>(e)) : true;
    case QEvent::Wheel: return w ? Wheel(w, wid, static_cast<QWheelEvent*>(e)) : true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return w ? Key(w, wid, static_cast<QKeyEvent*>(e)) : true;
    case QEvent::InputMethod: {
        if (!w || InputBlocked(w)) return true;
        // The widget shows the composition (pre-edit) itself; committed text
        // reaches the window as WM_CHAR, so that subclasses and limits see it.
        auto* im = static_cast<QInputMethodEvent*>(e);
        if (im->commitString().isEmpty()) return false;
        QInputMethodEvent endComposition;
        SendInputMethod(wid, &endComposition);
        HWND h = w->hwnd;
        SendChars(w, im->commitString(), e, wid, 1);
        if (!FromHwnd(h) || im->preeditString().isEmpty()) return true;
        im->setCommitString(QString());
        return false;
    }
    case QEvent::FocusIn:
        if (w && !w->destroyed && !SettingQtFocus()) {
            auto reason = static_cast<QFocusEvent*>(e)->reason();
            if (reason != Qt::PopupFocusReason) SetModelFocus(w, true);
        }
        return false;
    case QEvent::ContextMenu: return true;
    case QEvent::ShortcutOverride: return false;
    default: return false;
    }
}

}  // namespace

namespace {

// Keys typed just as a popup (a combo box's list, a calendar, a menu) closes
// can reach Qt after it is hidden and still name its window: the window
// system's word that the keyboard is back comes later than the keys. They go
// where the keyboard is now, as Win32 hands keys typed ahead to the focus.
class KeysPastAPopup : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        const QEvent::Type t = e->type();
        if ((t != QEvent::KeyPress && t != QEvent::KeyRelease && t != QEvent::ShortcutOverride) || !o->isWidgetType())
            return false;
        QWidget* popup = static_cast<QWidget*>(o)->window();
        if (popup->windowType() != Qt::Popup || popup->isVisible()) return false;
        QWidget* to = KeyboardWidget();
        if (!to || to->window() == popup) return false;
        QCoreApplication::sendEvent(to, e);
        return true;
    }
};

}  // namespace

QWidget* KeyboardWidget() {
    if (QWidget* popup = QApplication::activePopupWidget()) return popup->focusWidget() ? popup->focusWidget() : popup;
    if (QWidget* f = QApplication::focusWidget()) return f;
    return QApplication::activeWindow();
}

void SendKeysPastAPopupOn(QApplication* app) {
    auto* keys = new KeysPastAPopup;
    keys->setParent(app);  // goes with the application
    app->installEventFilter(keys);
}

void InstallInputFilter(Window* w, QWidget* widget, bool named) {
    if (!g_filter) g_filter = new InputFilter;
    // A widget that names its window already leads its input there; any
    // other is named for the filter (a dynamic property costs a search of
    // the class's properties and an event).
    if (!named) widget->setProperty(kInputProperty, qulonglong(reinterpret_cast<uintptr_t>(w->hwnd)));
    widget->setAttribute(Qt::WA_NoMousePropagation);
    widget->setMouseTracking(true);
    widget->installEventFilter(g_filter);
}

void AttachInput(Window* w, QWidget* widget) {
    if (w && widget) InstallInputFilter(w, widget, false);
}

static bool ReplayOn(QWidget* widget, QEvent* ev) {
    QEvent* prevEv = g_replayEvent;
    QWidget* prevW = g_replayWidget;
    g_replayEvent = ev;
    g_replayWidget = widget;
    QCoreApplication::sendEvent(widget, ev);
    g_replayEvent = prevEv;
    g_replayWidget = prevW;
    return true;
}

bool DefaultInput(Window* w, UINT msg, WPARAM wp, LPARAM lp, bool withText) {
    if (!w || !w->widget) return false;
    if (!g_ctx.empty()) {
        InputCtx& c = g_ctx.back();
        if (c.hwnd == w->hwnd && c.msg == msg && !c.used && c.widget) {
            c.used = true;
            QWidget* target = c.widget;
            if (c.ev->type() == QEvent::KeyPress || c.ev->type() == QEvent::KeyRelease) {
                auto* ke = static_cast<QKeyEvent*>(c.ev);
                // A Win32 control does nothing with Tab (the focus moves only
                // where the program or the dialog manager moves it).
                if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) return false;
                if (!withText && !ke->text().isEmpty()) {
                    QKeyEvent copy(ke->type(), ke->key(), ke->modifiers(), ke->nativeScanCode(), ke->nativeVirtualKey(),
                                   ke->nativeModifiers(), QString(), ke->isAutoRepeat(), ke->count());
                    return ReplayOn(target, &copy);
                }
            }
            if (msg == WM_CHAR) return false;  // characters are inserted by the control itself
            return ReplayOn(target, c.ev);
        }
    }
    // A message the program sent itself: make the equivalent event.
    QWidget* target = w->widget->focusProxy() ? w->widget->focusProxy() : w->widget;
    switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
        int key = VkToQtKey(int(wp));
        if (!key || key == Qt::Key_Tab) return false;
        QString text;
        if (withText && msg == WM_KEYDOWN) {
            if (wp == VK_RETURN)
                text = QStringLiteral("\r");
            else if (wp == VK_TAB)
                text = QStringLiteral("\t");
            else if (wp == VK_SPACE)
                text = QStringLiteral(" ");
        }
        QKeyEvent ev(msg == WM_KEYDOWN ? QEvent::KeyPress : QEvent::KeyRelease, key,
                     QGuiApplication::keyboardModifiers(), text);
        return ReplayOn(target, &ev);
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE: {
        QPoint local(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        QPoint global = w->client ? w->client->mapToGlobal(local) : local;
        QEvent::Type type = msg == WM_MOUSEMOVE                            ? QEvent::MouseMove
                            : (msg == WM_LBUTTONUP || msg == WM_RBUTTONUP) ? QEvent::MouseButtonRelease
                            : msg == WM_LBUTTONDBLCLK                      ? QEvent::MouseButtonDblClick
                                                                           : QEvent::MouseButtonPress;
        Qt::MouseButton button = msg == WM_MOUSEMOVE                              ? Qt::NoButton
                                 : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP) ? Qt::RightButton
                                                                                  : Qt::LeftButton;
        Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent ev(type, QPointF(local), QPointF(global), button, buttons, Qt::NoModifier);
        return ReplayOn(w->widget, &ev);
    }
    }
    return false;
}

int QtKeyToVk(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Slash: return 0xBF;
    case Qt::Key_Semicolon: return 0xBA;
    case Qt::Key_Equal: return 0xBB;
    case Qt::Key_BracketLeft: return 0xDB;
    case Qt::Key_BracketRight: return 0xDD;
    case Qt::Key_Backslash: return 0xDC;
    case Qt::Key_Apostrophe: return 0xDE;
    case Qt::Key_QuoteLeft: return 0xC0;
    }
    return 0;
}

char VkChar(int vk, bool shift) {
    switch (vk) {
    case VK_RETURN: return '\r';
    case VK_TAB: return '\t';
    case VK_BACK: return '\b';
    case VK_ESCAPE: return 0x1b;
    case VK_SPACE: return ' ';
    }
    if (vk >= '0' && vk <= '9') return char(vk);
    if (vk >= 'A' && vk <= 'Z') return char(shift ? vk : vk + 32);
    return 0;
}

int VkToQtKey(int vk) {
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
    if (vk >= VK_F1 && vk <= VK_F1 + 23) return Qt::Key_F1 + (vk - VK_F1);
    switch (vk) {
    case VK_BACK: return Qt::Key_Backspace;
    case VK_TAB: return Qt::Key_Tab;
    case VK_RETURN: return Qt::Key_Return;
    case VK_SHIFT: return Qt::Key_Shift;
    case VK_CONTROL: return Qt::Key_Control;
    case VK_MENU: return Qt::Key_Alt;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_SPACE: return Qt::Key_Space;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_END: return Qt::Key_End;
    case VK_HOME: return Qt::Key_Home;
    case VK_LEFT: return Qt::Key_Left;
    case VK_UP: return Qt::Key_Up;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_DOWN: return Qt::Key_Down;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_APPS: return Qt::Key_Menu;
    }
    return 0;
}

}  // namespace w32
