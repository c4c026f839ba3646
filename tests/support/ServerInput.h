// Input from the X server's own devices (XTEST), as the user's hands give
// it: the server sends it where it sends the user's (under the pointer, to a
// grab, to the input focus); and a window's close request. Sent on Qt's own
// X connection, so that it comes after what Qt has asked of the server (a
// popup's grab among it) and before input faked later.
#pragma once

#include <QtGui/QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <QtWidgets/QWidget>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace servertest {

// Qt's connection to the X server; null on another platform.
inline xcb_connection_t* QtConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// A key or button pressed or released (detail: its keycode or button), or
// the pointer moved to the screen point (x, y) (XCB_MOTION_NOTIFY).
inline void FakeInput(uint8_t type, uint8_t detail, int x = 0, int y = 0) {
    xcb_connection_t* c = QtConnection();
    if (!c) return;
    xcb_test_fake_input(c, type, detail, XCB_CURRENT_TIME, XCB_NONE, int16_t(x), int16_t(y), 0);
    xcb_flush(c);
}

// An X atom by name.
inline xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}

// A message about the top-level widget's window to the window manager, sent
// to the root as a pager, a task bar or the window's title bar buttons send
// it (_NET_ACTIVE_WINDOW, WM_CHANGE_STATE, ...), or (toTheWindow) to the
// window itself.
inline void ClientMessage(QWidget* top, const char* type, uint32_t d0, uint32_t d1 = 0, bool toTheWindow = false) {
    xcb_connection_t* c = QtConnection();
    if (!c || !top) return;
    xcb_client_message_event_t e{};
    e.response_type = XCB_CLIENT_MESSAGE;
    e.format = 32;
    e.window = xcb_window_t(top->winId());
    e.type = Atom(c, type);
    e.data.data32[0] = d0;
    e.data.data32[1] = d1;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_send_event(c, 0, toTheWindow ? e.window : root,
                   toTheWindow ? XCB_EVENT_MASK_NO_EVENT
                               : XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&e));
    xcb_flush(c);
}

// A request to close the top-level widget's window, as its close button
// gives it: under a window manager _NET_CLOSE_WINDOW, on which the manager
// asks the window, else WM_DELETE_WINDOW to the window itself.
inline void RequestClose(QWidget* top) {
    xcb_connection_t* c = QtConnection();
    if (!c || !top) return;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, Atom(c, "WM_S0")), nullptr);
    const bool wm = owner && owner->owner != XCB_NONE;
    std::free(owner);
    if (wm)
        ClientMessage(top, "_NET_CLOSE_WINDOW", 0, 2);  // 2: asked for by the user (a pager, a task bar)
    else
        ClientMessage(top, "WM_PROTOCOLS", Atom(c, "WM_DELETE_WINDOW"), 0, true);
}

}  // namespace servertest
