// The keyboard given back to the window a box or a modal dialog came from
// when it ends.
//
// Nobody else gives it back on every display. When the window holding the
// keyboard closes, Win32 activates its owner, and so does a window manager
// with the window a closed dialog was transient for; Qt does not (a dialog
// that hides asks for no window to be activated). Without a window manager
// the X server then sends the focus of the closed window to the root window,
// where keys reach only the window under the pointer: the user's typing goes
// nowhere. Activating the window (QWidget::activateWindow) sets the X input
// focus on it when no window manager runs, with the time of the last event
// the program got, as the protocol asks.
//
// Nor does anyone keep it with a box or a modal dialog when the user clicks
// the window under it: Qt asks for the clicked window to be activated, and
// the X server or the window manager activates it, though it takes no
// input. Win32 activates the box or dialog in front instead; so does the
// layer, whenever a window it blocks becomes active (KeepWithTheWindowInFront).
// On X11 it moves the input focus to the window in front itself, whenever
// the focus comes to a window that passes it on (XKeyboard), as Qt moves it
// to a clicked window: Qt counts a window whose transient parent is active
// as active already and asks for nothing, and a window manager asked for it
// may refuse (KWin takes the window in front for the one it has just
// activated), or act late, after it has minimized the program (xfwm4), and
// show the program again without the keyboard. KWin activates the first
// modal window of a clicked one, where Win32 activates the last: a modal
// window under a later one passes the keyboard on too.
//
// Nor does every window manager minimize a window's boxes and dialogs with
// it (KWin leaves a modal dialog on the screen alone). Win32 hides a
// window's owned windows when it is minimized and shows them again when it
// is restored; so does the layer (OwnedWindowsFollow).
//
// Nor does anyone activate another window when the active one is hidden or
// destroyed without a window manager, where the keyboard again goes
// nowhere. Win32 activates the next top-level window of the thread in
// z-order; so does the layer (ActivateTheNextWindow).
#include <QtCore/QAbstractNativeEventFilter>
#include <QtCore/QPointer>
#include <QtGui/QWindow>
#include <QtGui/QWindowStateChangeEvent>
#include <QtGui/qguiapplication_platform.h>
#include <QtWidgets/QApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core.h"

namespace w32 {
namespace {

// A box or a dialog shown over its parent window: the save dialog and Qt's
// boxes are shown over the window they are parented to, the layer's dialogs
// and boxes over their owner's top-level window.
bool ShownOver(const QObject* o) {
    if (!o->isWidgetType()) return false;
    auto* w = static_cast<const QWidget*>(o);
    return w->isWindow() && w->isVisible() && (w->windowType() == Qt::Dialog || w->windowType() == Qt::Sheet);
}

// A modal box or dialog shown over its parent window.
bool ModalOver(const QObject* o) {
    return ShownOver(o) && static_cast<const QWidget*>(o)->windowModality() != Qt::NonModal;
}

// The box or dialog in front of `top`: the one shown over it last, and in
// turn the one shown over that one last (Qt keeps a widget's children in the
// order they were parented or raised); null when none is shown over it.
QWidget* InFront(QWidget* top) {
    QWidget* front = nullptr;
    for (QWidget* at = top; at;) {
        const QObjectList& children = at->children();
        auto it = std::find_if(children.rbegin(), children.rend(), ShownOver);
        at = it == children.rend() ? nullptr : static_cast<QWidget*>(*it);
        if (at) front = at;
    }
    return front;
}

// True when a box or a modal dialog keeps the keyboard from `top`: a window
// of the layer disabled, or one of Qt's (the save dialog) with a modal box
// of its own open.
bool Blocked(const QWidget* top) {
    if (const Window* w = FromWidget(top)) return !w->Enabled();
    const QObjectList& children = top->children();
    return std::any_of(children.begin(), children.end(), ModalOver);
}

// The window that takes the keyboard when `top` is activated: the box or
// dialog in front of it while `top` is blocked; when `top` is a modal one
// and another is shown over the same window after it, the one in front of
// that (a window manager may activate the first modal window of a clicked
// one, KWin does, where Win32 activates the last); else `top`.
QWidget* KeyboardTaker(QWidget* top) {
    if (QWidget* front = Blocked(top) ? InFront(top) : nullptr) return front;
    if (!ModalOver(top)) return top;
    const QObjectList& siblings = top->parentWidget()->children();
    auto* last = static_cast<QWidget*>(*std::find_if(siblings.rbegin(), siblings.rend(), ModalOver));
    if (last == top) return top;
    QWidget* front = InFront(last);
    return front ? front : last;
}

// The top-level windows in the order they were last active, the latest
// last: their z-order, as Win32 brings a window to the top when it is
// activated.
std::vector<QPointer<QWidget>>& ActivationOrder() {
    static auto* order = new std::vector<QPointer<QWidget>>;
    return *order;
}

// On X11 the program moves the keyboard (the X input focus) between its own
// windows itself, as Qt does without a window manager: whenever the focus
// comes to one of its windows, or a window of it is shown, and the window
// with the focus passes it on (KeyboardTaker), the focus goes to the taker at
// once. The focus change carries the time of the last X event that carries
// one (input, property changes, a window manager's WM_TAKE_FOCUS), as Qt's
// own requests do: one at a later time (the server's current one) would make
// the server refuse Qt's next ones as older.
class XKeyboard : public QAbstractNativeEventFilter {
public:
    explicit XKeyboard(xcb_connection_t* c) : c_(c) {
        protocols_ = XAtom(c, "WM_PROTOCOLS");
        takeFocus_ = XAtom(c, "WM_TAKE_FOCUS");
        xcb_query_extension_reply_t* xi =
            xcb_query_extension_reply(c, xcb_query_extension(c, 15, "XInputExtension"), nullptr);
        xinput_ = xi && xi->present ? xi->major_opcode : 0;
        std::free(xi);
    }

    // The focus goes on from the window of the program that has it, if that
    // one passes it on.
    void Settle() {
        if (!LayerAlive()) return;
        xcb_get_input_focus_reply_t* focus = xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr);
        const xcb_window_t at = focus ? focus->focus : xcb_window_t(XCB_NONE);
        std::free(focus);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->internalWinId() != at) continue;
            // Checked: a window the window manager has just unmapped
            // (minimized), or not mapped yet, takes no focus, and the error
            // goes no further.
            if (QWidget* taker = KeyboardTaker(top); taker != top && taker->internalWinId())
                std::free(
                    xcb_request_check(c_, xcb_set_input_focus_checked(c_, XCB_INPUT_FOCUS_PARENT,
                                                                      xcb_window_t(taker->internalWinId()), time_)));
            return;
        }
    }

    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        const auto* e = static_cast<const xcb_generic_event_t*>(message);
        switch (e->response_type & 0x7f) {
        case XCB_KEY_PRESS:
        case XCB_KEY_RELEASE:
        case XCB_BUTTON_PRESS:
        case XCB_BUTTON_RELEASE:
        case XCB_MOTION_NOTIFY:
        case XCB_ENTER_NOTIFY:
        case XCB_LEAVE_NOTIFY: Seen(reinterpret_cast<const xcb_key_press_event_t*>(e)->time); break;
        case XCB_PROPERTY_NOTIFY: Seen(reinterpret_cast<const xcb_property_notify_event_t*>(e)->time); break;
        case XCB_CLIENT_MESSAGE: {
            const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(e);
            if (m->format == 32 && m->type == protocols_ && m->data.data32[0] == takeFocus_) Seen(m->data.data32[1]);
            break;
        }
        case XCB_GE_GENERIC: {
            // An XInput 2 key, button, motion or crossing event: its time
            // follows the event type and the device.
            const auto* g = reinterpret_cast<const xcb_ge_generic_event_t*>(e);
            if (!xinput_ || g->extension != xinput_ || g->event_type < kXIKeyPress || g->event_type > kXILeave) break;
            uint32_t time;
            std::memcpy(&time, reinterpret_cast<const char*>(g) + 12, sizeof time);
            Seen(time);
            break;
        }
        case XCB_FOCUS_IN: {
            const auto* f = reinterpret_cast<const xcb_focus_in_event_t*>(e);
            if (f->detail != XCB_NOTIFY_DETAIL_POINTER && f->mode != XCB_NOTIFY_MODE_GRAB &&
                f->mode != XCB_NOTIFY_MODE_UNGRAB)
                Settle();
            break;
        }
        case XCB_EXPOSE:
            if (reinterpret_cast<const xcb_expose_event_t*>(e)->count == 0) Settle();
            break;
        }
        return false;
    }

private:
    void Seen(xcb_timestamp_t t) {
        if (t != XCB_CURRENT_TIME && (time_ == XCB_CURRENT_TIME || int32_t(t - time_) > 0)) time_ = t;
    }
    static constexpr uint16_t kXIKeyPress = 2, kXILeave = 8;
    xcb_connection_t* c_;
    xcb_atom_t protocols_, takeFocus_;
    uint8_t xinput_ = 0;
    xcb_timestamp_t time_ = XCB_CURRENT_TIME;
};

XKeyboard* g_xKeyboard = nullptr;

// Minimizes and restores the boxes and dialogs shown over a top-level window
// with it; each one's own state change takes those over it along.
class OwnedWindowsFollow : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::WindowStateChange || !o->isWidgetType() || !LayerAlive()) return false;
        auto* top = static_cast<QWidget*>(o);
        const bool minimized = top->isMinimized();
        if (!top->isWindow() ||
            minimized == bool(static_cast<QWindowStateChangeEvent*>(e)->oldState() & Qt::WindowMinimized))
            return false;
        for (QObject* child : top->children()) {
            if (!ShownOver(child)) continue;
            auto* w = static_cast<QWidget*>(child);
            if (w->isMinimized() != minimized)
                w->setWindowState(minimized ? w->windowState() | Qt::WindowMinimized
                                            : w->windowState() & ~Qt::WindowMinimized);
        }
        return false;
    }
};

}  // namespace

void KeepWithTheWindowInFront(QApplication* app) {
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    if (!g_xKeyboard && x11 && x11->connection()) {
        g_xKeyboard = new XKeyboard(x11->connection());  // lives as long as the program
        app->installNativeEventFilter(g_xKeyboard);
    }
    auto* follow = new OwnedWindowsFollow;
    follow->setParent(app);  // goes with the application
    app->installEventFilter(follow);
    QObject::connect(app, &QGuiApplication::focusWindowChanged, app, [](QWindow* window) {
        if (!window || !LayerAlive()) return;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->windowHandle() == window) {
                auto& order = ActivationOrder();
                order.erase(std::remove_if(order.begin(), order.end(),
                                           [top](const QPointer<QWidget>& w) { return !w || w == top; }),
                            order.end());
                order.emplace_back(top);
                // A window of Qt's own (a message box, the save dialog) has
                // the keyboard, on a part without a handle: no window of the
                // layer has the focus, as the thread's focus window loses it
                // to a box's button or to another thread's box. It has the
                // focus back when the box ends (KeyboardReturn) or when its
                // window is active again.
                if (!HwndOfWidget(top) && top->windowType() != Qt::Popup && GetFocus()) SetFocus(nullptr);
                // The window that takes the keyboard in its place gets it: on
                // X11 the input focus at once, if the window still has it.
                if (QWidget* taker = KeyboardTaker(top); taker != top && g_xKeyboard)
                    g_xKeyboard->Settle();
                else if (taker != top)
                    taker->activateWindow();
                else if (HwndOfWidget(top) && !Blocked(top) && !QApplication::focusWidget())
                    // Activated with no control focused, the window takes
                    // the focus itself, as the default procedure gives it
                    // on WM_ACTIVATE.
                    top->setFocus(Qt::ActiveWindowFocusReason);
                return;
            }
    });
}

void ActivateTheNextWindow(QWidget* leaving) {
    const auto& order = ActivationOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        QWidget* w = *it;
        if (w && w != leaving && w->isVisible() && !w->isMinimized() && w->windowType() != Qt::Popup) {
            KeyboardTaker(w)->activateWindow();
            return;
        }
    }
}

KeyboardReturn::KeyboardReturn(HWND owner) {
    Window* w = FromHwnd(owner);
    if (!w) {
        // Without owner: the window holding the keyboard now (or the modal
        // window that has just opened and is not active yet), when it is
        // one of Qt's own (a box, the save dialog), else the active window.
        QWidget* active = QApplication::activeWindow();
        if (!active) active = QApplication::activeModalWidget();
        if (active && !HwndOfWidget(active)) foreign_ = active;
        w = FromHwnd(active ? HwndOfWidget(active) : nullptr);
        if (!w) w = FromHwnd(GetActiveWindow());
    }
    if (!w) return;
    top_ = TopLevelOf(w)->hwnd;
    Window* f = FromHwnd(GetFocus());
    if (f && TopLevelOf(f)->hwnd == top_) focus_ = f->hwnd;
}

void KeyboardReturn::GiveBack() {
    if (!LayerAlive()) return;
    QWidget* const now = QApplication::activeWindow();
    auto heldElsewhere = [now](const QWidget* target) { return now && now != target && now->isVisible(); };
    if (foreign_ && foreign_->isVisible() && foreign_->isEnabled()) {
        if (!heldElsewhere(foreign_)) foreign_->activateWindow();
        return;
    }
    Window* t = FromHwnd(top_);
    if (!t || t->destroyed || !t->widget || !ReallyVisible(t) || heldElsewhere(t->widget)) return;
    // Another box or dialog still open over the window (a box of the same
    // owner under the one that ended) takes the keyboard in its place.
    if (QWidget* taker = KeyboardTaker(t->widget); taker != t->widget) {
        if (!heldElsewhere(taker)) taker->activateWindow();
        return;
    }
    if (!t->Enabled()) return;
    SetActiveWindow(top_);
    Window* f = FromHwnd(focus_);
    if (f && !f->destroyed && ReallyVisible(f) && !InputBlocked(f)) SetFocus(focus_);
}

}  // namespace w32
