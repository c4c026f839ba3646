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
//
// Nor does anyone activate another window when the active one is hidden or
// destroyed without a window manager, where the keyboard again goes
// nowhere. Win32 activates the next top-level window of the thread in
// z-order; so does the layer (ActivateTheNextWindow).
#include <QtCore/QPointer>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>

#include <algorithm>
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
    return std::any_of(children.begin(), children.end(), [](const QObject* o) {
        return ShownOver(o) && static_cast<const QWidget*>(o)->windowModality() != Qt::NonModal;
    });
}

// The window that takes the keyboard when `top` is activated: the box or
// dialog in front of it while `top` is blocked, else `top`.
QWidget* KeyboardTaker(QWidget* top) {
    QWidget* front = Blocked(top) ? InFront(top) : nullptr;
    return front ? front : top;
}

// The top-level windows in the order they were last active, the latest
// last: their z-order, as Win32 brings a window to the top when it is
// activated.
std::vector<QPointer<QWidget>>& ActivationOrder() {
    static auto* order = new std::vector<QPointer<QWidget>>;
    return *order;
}

}  // namespace

void KeepWithTheWindowInFront(QApplication* app) {
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
                if (QWidget* taker = KeyboardTaker(top); taker != top)
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
