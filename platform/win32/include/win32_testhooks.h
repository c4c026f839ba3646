// Test hooks of the Win32 layer: answer message boxes, drive modal dialogs and
// popup menus, and drive windows through real Qt input events, so that the
// program runs headless (QT_QPA_PLATFORM=offscreen). Used only by tests.
//
// Link the test with `w32_testmain` (a GoogleTest main() that creates the Qt
// application offscreen and starts the layer). Every function here runs on
// the UI thread (the test's main thread).
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "win32.h"

namespace w32test {

// ---------------------------------------------------------------------------
// Message boxes
// ---------------------------------------------------------------------------
struct MessageBoxCall {
    HWND owner;
    std::string text;     // GBK
    std::string caption;  // GBK
    UINT flags;
};
// Answers every MessageBoxA without showing it. The hook returns IDOK, IDYES,
// IDNO, ...; without a hook (or after ClearHooks) boxes answer with their
// default button (IDOK for MB_OK, the MB_DEFBUTTONn button otherwise) while
// AutoAnswerMessageBoxes is on (the default in w32_testmain).
using MessageBoxHook = std::function<int(const MessageBoxCall&)>;
void SetMessageBoxHook(MessageBoxHook hook);
void AutoAnswerMessageBoxes(bool on);
// Every box shown (or answered) since the last ClearMessageBoxes, in order.
std::vector<MessageBoxCall> MessageBoxes();
void ClearMessageBoxes();

// ---------------------------------------------------------------------------
// Modal dialogs (DialogBoxParamA)
// ---------------------------------------------------------------------------
// Called inside the dialog's modal loop once it has been initialised and
// shown, with the template name as the program passed it ("#123" for a
// number). The hook sets fields and presses buttons (with the input functions
// below, or SendMessageA); it should end the dialog, or the loop waits for the
// user. Nested dialogs call the hook again.
using DialogHook = std::function<void(HWND hDlg, const std::string& templateName)>;
void SetDialogHook(DialogHook hook);

// ---------------------------------------------------------------------------
// Popup menus (TrackPopupMenu)
// ---------------------------------------------------------------------------
struct PopupMenuCall {
    HMENU menu;
    HWND owner;
    int x, y;
    UINT flags;
    std::vector<std::string> items;  // GBK captions of the menu's items ("" for separators)
};
// Returns the command id to choose, 0 to cancel. Without a hook menus show
// for real (they then need a user).
using PopupMenuHook = std::function<UINT(const PopupMenuCall&)>;
void SetPopupMenuHook(PopupMenuHook hook);
std::vector<PopupMenuCall> PopupMenus();

// Removes every hook above (message boxes go back to auto-answering).
void ClearHooks();

// ---------------------------------------------------------------------------
// Input through real Qt events (mouse at client coordinates of hwnd; -1, -1
// means the centre of the window)
// ---------------------------------------------------------------------------
void Click(HWND hwnd, int x = -1, int y = -1);
void DoubleClick(HWND hwnd, int x = -1, int y = -1);
void RightClick(HWND hwnd, int x = -1, int y = -1);
void MouseMove(HWND hwnd, int x, int y);
void MouseDown(HWND hwnd, int x = -1, int y = -1);
void MouseUp(HWND hwnd, int x = -1, int y = -1);
// A key press and release (VK_* code) sent where the user's key goes: to
// the open popup, else to what has the keyboard in the active window (a
// control, a box's button); or to hwnd when given. shift/ctrl are held
// during it and released after it.
void PressKey(int vk, bool shift = false, bool ctrl = false, HWND hwnd = nullptr);
// Types a GBK text where PressKey's keys go (or into hwnd), character by character.
void TypeText(const std::string& gbk, HWND hwnd = nullptr);
// Chooses item `index` of a combo box as a user would (it takes the focus,
// then arrow keys move the selection), so CBN_SELCHANGE follows.
void SelectComboItem(HWND combo, int index);
// The rows of a combo box's open list, in its viewport's coordinates, and
// the viewport's height (-1 when the list is not open).
std::vector<RECT> ComboListRows(HWND combo, int* viewportHeight);

// ---------------------------------------------------------------------------
// Pumping and looking
// ---------------------------------------------------------------------------
// Processes pending Qt events, paints and posted messages (as a message loop
// would) for at least `ms` milliseconds.
void ProcessEvents(int ms = 0);
// Pumps until pred() is true or timeoutMs passed; returns pred().
bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 5000);
// Pumps until the top-level window of hwnd is the active window, where the
// user's keys go once it is on screen (activation comes from the window
// system, after the window is shown); returns whether it is.
bool WaitForKeyboard(HWND hwnd, int timeoutMs = 5000);
// The double-click time (ms) of the process: two clicks closer than it make a
// double click, and a list starts a label edit that long after a click on its
// selected row. SetDoubleClickTime returns the time it replaces.
int SetDoubleClickTime(int ms);
// Pumps until the double-click time has passed since the call (a timer of
// that length, started now, has fired): a click after it is a click of its
// own, and whatever a click before it delayed by that time has happened.
void WaitDoubleClickTime();
// Renders the window as shown on screen (with its children) into a PNG file.
bool GrabWindow(HWND hwnd, const std::string& pngPath);
// The colour (COLORREF) of one pixel of the rendered window, client coordinates.
COLORREF PixelAt(HWND hwnd, int x, int y);
// The window's backing image pixel (what GDI drew), without children.
COLORREF BackingPixel(HWND hwnd, int x, int y);
// True when the window keeps an image of its pixels: a window that drew
// outside WM_PAINT (GetDC). Windows that paint only in WM_PAINT keep none:
// their pixels go straight to the screen.
bool KeepsPixels(HWND hwnd);
// The shape of the cursor the layer last set (the IDC_* number, e.g. 32512
// for IDC_ARROW), 0 when none.
int CurrentCursorId();

// ---------------------------------------------------------------------------
// Live objects: what the layer has handed out and not yet taken back
// ---------------------------------------------------------------------------
// GDI objects count those made by CreateFont*, CreateSolidBrush, CreatePen,
// CreateRectRgn, CreateCompatibleBitmap/LoadBitmap, CreateCompatibleDC and the
// DCs of GetDC/BeginPaint (stock objects and system-colour brushes are not
// counted). Menus count every menu handle, each submenu on its own. Icons and
// cursors are shared (one per resource or system id, like LR_SHARED) and are
// not counted. Widgets are the application's Qt widgets.
struct ObjectCounts {
    int fonts = 0, brushes = 0, pens = 0, bitmaps = 0, regions = 0, dcs = 0;
    int menus = 0;
    int windows = 0;
    int timers = 0;
    int imageLists = 0;
    int kernelHandles = 0;  // threads and files (CreateThread, CreateFileA) not closed
    int widgets = 0;
    bool operator==(const ObjectCounts& o) const;
    bool operator!=(const ObjectCounts& o) const { return !(*this == o); }
};
// Frees what destroyed windows left for later (their objects and widgets),
// then counts. Call it at the same loop level each time (e.g. not once inside
// a modal dialog and once outside): Qt frees some widgets only at the level
// that deleted them.
ObjectCounts LiveObjects();
// The threads the process runs now, the layer's and Qt's included (painting
// can make Qt start a pool of threads).
int ProcessThreads();
// "fonts=3 menus=2 ..." (every count), for test messages.
std::string Describe(const ObjectCounts& c);
// The counts that differ, as "fonts 3 -> 5, menus 2 -> 4"; "" when equal.
std::string Difference(const ObjectCounts& before, const ObjectCounts& after);
// Writes Describe(c) (GoogleTest prints counts with it).
std::ostream& operator<<(std::ostream& os, const ObjectCounts& c);

}  // namespace w32test
