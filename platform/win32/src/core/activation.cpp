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
#include <QtWidgets/QApplication>

#include "core.h"

namespace w32 {

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
    if (!t || t->destroyed || !t->widget || !ReallyVisible(t) || !t->Enabled() || heldElsewhere(t->widget)) return;
    SetActiveWindow(top_);
    Window* f = FromHwnd(focus_);
    if (f && !f->destroyed && ReallyVisible(f) && !InputBlocked(f)) SetFocus(focus_);
}

}  // namespace w32
