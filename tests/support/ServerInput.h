// Input from the X server's own devices (XTEST), as the user's hands give
// it: the server sends it where it sends the user's (under the pointer, to a
// grab, to the input focus). Sent on Qt's own X connection, so that it comes
// after what Qt has asked of the server (a popup's grab among it).
#pragma once

#include <QtGui/QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdint>

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

}  // namespace servertest
