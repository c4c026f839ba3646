// Registration of the common-control classes and their window procedures.
#include <QLineEdit>

#include "commctrl/Controls.h"
#include "commctrl/DateTimePicker.h"
#include "commctrl/ListView.h"
#include "commctrl/StatusBar.h"
#include "commctrl/TabControl.h"
#include "commctrl/Toolbar.h"
#include "w32_internal.h"

namespace w32::cc {
namespace {

bool IsMouse(UINT msg) { return (msg >= WM_MOUSEMOVE && msg <= 0x0209 /* WM_MBUTTONDBLCLK */) || msg == WM_MOUSEWHEEL; }
bool IsKey(UINT msg) { return msg == WM_KEYDOWN || msg == WM_KEYUP; }

// What a control does after its widget acted on an input message.
template <class Ctl>
void AfterInput(Ctl*, UINT) {}
void AfterInput(ListViewCtl* ctl, UINT msg) {
    if (msg == WM_MOUSEMOVE) ctl->UpdateCursor();  // the hot row may have changed
}

// Control procedures built on a Qt widget: input that reaches them goes on to
// the widget; Tab stays with the dialog logic of the program and the layer.
template <class Ctl>
LRESULT WidgetProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    w32::Window* w = w32::FromHwnd(h);
    auto* holder = w ? w->State<Holder<Ctl>>() : nullptr;
    Ctl* ctl = holder ? holder->ctl.data() : nullptr;
    if (!ctl) return DefWindowProcA(h, msg, wp, lp);
    if (IsMouse(msg)) {
        w32::DefaultInput(w, msg, wp, lp);
        // The widget's reaction may have notified a parent that destroyed the
        // window (and the holder with it): look the control up afresh.
        if (Ctl* still = ControlOf<Ctl>(h)) AfterInput(still, msg);
        return 0;
    }
    // Keys with Alt go to the default procedure (Alt+F4 closes the window).
    if (msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP) return DefWindowProcA(h, msg, wp, lp);
    if (IsKey(msg)) {
        if (wp != 0x09 /* VK_TAB */) w32::DefaultInput(w, msg, wp, lp);
        return 0;
    }
    if (msg == WM_CHAR) return 0;  // the key event carried its text already
    bool handled = false;
    LRESULT r = ctl->Message(msg, wp, lp, handled);
    return handled ? r : DefWindowProcA(h, msg, wp, lp);
}

// Procedures of the controls that draw themselves and take mouse input as messages.
template <class Ctl>
LRESULT SelfDrawnProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Ctl* ctl = ControlOf<Ctl>(h);
    if (!ctl) return DefWindowProcA(h, msg, wp, lp);
    bool handled = false;
    LRESULT r = ctl->Message(msg, wp, lp, handled);
    return handled ? r : DefWindowProcA(h, msg, wp, lp);
}

LRESULT CALLBACK ListViewProc(HWND h, UINT m, WPARAM wp, LPARAM lp) { return WidgetProc<ListViewCtl>(h, m, wp, lp); }
LRESULT CALLBACK TabProc(HWND h, UINT m, WPARAM wp, LPARAM lp) { return WidgetProc<TabCtl>(h, m, wp, lp); }
LRESULT CALLBACK DtpProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (DtpCtl* ctl = ControlOf<DtpCtl>(h)) {
        bool handled = false;
        LRESULT r = ctl->Input(m, wp, lp, handled);
        if (handled) return r;
    }
    LRESULT r = WidgetProc<DtpCtl>(h, m, wp, lp);
    if (DtpCtl* ctl = ControlOf<DtpCtl>(h)) ctl->AfterInput(m, wp);
    return r;
}
LRESULT CALLBACK ToolbarProc(HWND h, UINT m, WPARAM wp, LPARAM lp) { return SelfDrawnProc<ToolbarCtl>(h, m, wp, lp); }
LRESULT CALLBACK StatusProc(HWND h, UINT m, WPARAM wp, LPARAM lp) { return SelfDrawnProc<StatusCtl>(h, m, wp, lp); }

template <class Ctl>
void Keep(w32::Window* w, Ctl* ctl) {
    auto holder = std::make_unique<Holder<Ctl>>();
    holder->ctl = ctl;
    w->state = std::move(holder);
    // Controls start with the default control font until WM_SETFONT.
    ctl->Widget()->setFont(w32::DefaultControlFont());
}

void RegisterAll() {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    w32::RegisterBuiltinClass(WC_LISTVIEWA, CS_DBLCLKS, ListViewProc, arrow, nullptr,
                              [](w32::Window* w, QWidget* parent) -> QWidget* {
                                  auto* ctl = new ListViewCtl(w->hwnd, w->style, parent);
                                  Keep(w, ctl);
                                  w32::AttachInput(w, ctl->Tree()->viewport());
                                  return ctl->Widget();
                              });
    w32::RegisterBuiltinClass(WC_TABCONTROLA, CS_DBLCLKS, TabProc, arrow, nullptr,
                              [](w32::Window* w, QWidget* parent) -> QWidget* {
                                  auto* ctl = new TabCtl(w->hwnd, w->style, parent);
                                  Keep(w, ctl);
                                  w32::AttachInput(w, ctl->Tabs()->Bar());
                                  return ctl->Widget();
                              });
    w32::RegisterBuiltinClass(DATETIMEPICK_CLASSA, CS_DBLCLKS, DtpProc, arrow, nullptr,
                              [](w32::Window* w, QWidget* parent) -> QWidget* {
                                  auto* ctl = new DtpCtl(w->hwnd, w->style, parent);
                                  Keep(w, ctl);
                                  for (QLineEdit* inner : ctl->Edit()->findChildren<QLineEdit*>())
                                      w32::AttachInput(w, inner);
                                  return ctl->Edit();
                              });
    w32::RegisterBuiltinClass(TOOLBARCLASSNAMEA, CS_DBLCLKS, ToolbarProc, arrow, nullptr,
                              [](w32::Window* w, QWidget* parent) -> QWidget* {
                                  auto* ctl = new ToolbarCtl(w->hwnd, w->style, parent);
                                  Keep(w, ctl);
                                  return ctl->Widget();
                              });
    w32::RegisterBuiltinClass(STATUSCLASSNAMEA, CS_DBLCLKS, StatusProc, arrow, nullptr,
                              [](w32::Window* w, QWidget* parent) -> QWidget* {
                                  auto* ctl = new StatusCtl(w->hwnd, w->style, parent);
                                  Keep(w, ctl);
                                  return ctl->Widget();
                              });
}

}  // namespace
}  // namespace w32::cc

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
    if (!picce || picce->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
    w32::cc::RegisterAll();
    return TRUE;
}

void InitCommonControls(void) { w32::cc::RegisterAll(); }
