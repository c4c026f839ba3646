// What the X server shows: pixels read from the root window (XGetImage), as
// a monitor or a VNC viewer shows them, whatever the windows believe they drew;
// and the windows Qt shows for the layer (message boxes, popup menus, the save
// dialog), found while they are open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace screentest {

struct Pixels {
    int x = 0, y = 0, width = 0, height = 0;  // screen rectangle
    std::vector<uint32_t> rgb;                // 0xRRGGBB, row by row
    int depth = 0;                            // the screen's colour depth in bits
    bool empty() const { return rgb.empty(); }
    uint32_t at(int sx, int sy) const { return rgb[std::size_t(sy - y) * std::size_t(width) + std::size_t(sx - x)]; }
    bool contains(int sx, int sy) const { return sx >= x && sy >= y && sx < x + width && sy < y + height; }
};

// The root window's pixels over a screen rectangle (clipped to the screen);
// empty without an X display.
Pixels ReadRoot(int x, int y, int width, int height);

// Waits (pumping) until a window manager runs on the display and has framed
// the layer's top-level window `hwnd` (the window is a child of its frame
// instead of the root window); false after timeoutMs.
bool WaitUntilManaged(void* hwnd, int timeoutMs);

// True when the X server shows the layer's top-level window `hwnd` (one
// without a menu bar) where the layer has it: mapped, its client area at the
// screen place and size the layer gives. A window manager frames, places and
// maximizes a window in its own time, and the program hears of it later.
bool ShownWhereKnown(void* hwnd);

// Input as the X server hands it to the program (sent events, which Qt takes
// as the user's): a left click at a screen point of the layer's top-level
// window `hwnd`, and a request to close that window: WM_DELETE_WINDOW, or
// under a window manager _NET_CLOSE_WINDOW, on which the manager asks it.
void ClickOnScreen(void* hwnd, int x, int y);
void RequestClose(void* hwnd);

// Input from the X server's own devices (XTEST), as the user's hands give
// it: the pointer moved to a screen point and a button pressed and released
// there; keys (keysyms, unshifted) pressed and released. The server sends
// them where it sends the user's (under the pointer, to a grab, to the focus).
void ClickWithTheServer(int x, int y, int button = 1);
// The pointer moved to (x, y), no button pressed.
void MoveWithTheServer(int x, int y);
// A left-button drag: pressed at (x0, y0), moved to (x1, y1), released there.
void DragWithTheServer(int x0, int y0, int x1, int y1);
void TypeWithTheServer(const std::vector<unsigned>& keysyms);
// Keys held down together (pressed in order, released in reverse): Alt+F4.
void ChordWithTheServer(const std::vector<unsigned>& keysyms);
// The left button pressed at (x, y) and held until released.
void PressWithTheServer(int x, int y);
void ReleaseWithTheServer();
// Gives the X server's keyboard to the layer's top-level window `hwnd`, as a
// window manager does when the user picks it; true once Qt has it active.
bool GiveTheKeyboardTo(void* hwnd);

// Writes the pixels as a PNG file (for a failing test's output).
bool SavePng(const Pixels& pixels, const std::string& path);

// A screen rectangle.
struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
    bool contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

// The windows the layer shows through Qt.
enum class Shown { MessageBox, PopupMenu, SaveDialog };

// A window of that kind is shown now.
bool IsShown(Shown kind);

// The popup menu open now, once the X server shows it where Qt has it: its
// screen rectangle (empty when none), and the screen point at the centre of
// its item whose underlined letter is `letter` ({-1, -1} when none).
Rect ShownMenu();
std::pair<int, int> MenuItemCentre(char letter);

// Once a window of that kind is shown, and on the X server where Qt has it
// (looked for from a timer, inside whatever modal loop runs then), calls look
// with its screen rectangle, then closes it as the user would: a box by its
// last button (否, 取消 or the only one), a menu without a choice, the save
// dialog cancelled.
void WhenShown(Shown kind, std::function<void(const Rect&)> look);

}  // namespace screentest
