// Private parts of the USER32/GDI32 core shared by its source files.
#pragma once

#include <QtCore/QEvent>
#include <QtCore/QMargins>
#include <QtCore/QObject>
#include <QtWidgets/QWidget>

#include <xcb/xcb.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "w32_internal.h"
#include "win32_testhooks.h"

class QApplication;

namespace w32 {

// ---- geometry -------------------------------------------------------------
inline QRect ToQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }
inline RECT ToRECT(const QRect& r) { return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
inline QRect ClientRect(const Window* w) { return QRect(0, 0, w->ClientWidth(), w->ClientHeight()); }

// ---- layer state -----------------------------------------------------------
// The QApplication with the process settings the program relies on, and the
// layer started (forTests: no display needed unless QT_QPA_PLATFORM asks).
QApplication* StartApplication(int& argc, char** argv, bool forTests);
// Whether the display the program's windows go to can be opened; says why
// not on stderr (`program`: how it was started, for the hint).
bool CanOpenADisplay(const char* program);
void StopApplication(QApplication* app);
void InitLayer();      // after the QApplication exists, on the UI thread
void ShutdownLayer();  // before the QApplication goes: widgets deleted, no messages
bool LayerAlive();     // QApplication exists and the layer is started
void MarkLayerDead();  // the end of ShutdownLayer: later calls do nothing
// On X11: dialogs and boxes shown without minimize and maximize buttons
// under a window manager that ignores Qt's hints for them.
void WatchDialogDecorations(QApplication* app);
// On a 16-bit screen widgets paint through 32-bit images (Qt draws
// unsmoothed text wrongly into 16-bit pixels).
void PaintInTrueColour(QApplication* app);
// Keys that reach a popup once it is hidden go where the keyboard is.
void SendKeysPastAPopupOn(QApplication* app);
// Where Qt delivers a key of the window system: the open popup's focus
// widget (or the popup), else the active window's focus widget, else the
// active window.
QWidget* KeyboardWidget();
// A window that a box or a modal dialog blocks passes the keyboard on to
// the box or dialog in front of it whenever it becomes active (a click on
// it), as Win32 activates the window in front; and the boxes and dialogs
// shown over a window are minimized and restored with it.
void KeepWithTheWindowInFront(QApplication* app);
// An X atom by name, asked for once (the UI thread's connection).
xcb_atom_t XAtom(xcb_connection_t* c, const char* name);
// Qt's own context menus (a scroll bar's, ...) open at their point as a
// popup menu does (TrackPopupMenu), kept on the screen as it is.
void PlaceQtMenus(QApplication* app);
// The active top-level widget `leaving` has been hidden: the window active
// before it (or the box or dialog in front of that one) is activated.
void ActivateTheNextWindow(QWidget* leaving);
// False on an X display no window manager runs on (none places or frames the
// top-level window `top`); true on other platforms.
bool WindowManagerRuns(QWidget* top);

// ---- canvas widgets ----------------------------------------------------------
// The outer widget of a canvas window: frame, window scroll bars and, for a
// top-level window, the Qt window.
QWidget* MakeFrame(Window* w, QWidget* parent);
// The client widget of a canvas window: the window paints on it in its
// paint event, or it shows w->backing (a window that keeps its pixels).
QWidget* MakeCanvas(Window* w, QWidget* parent);
// True when the window shows its backing image (GDI drawing is visible);
// controls drawn by Qt get no backing image unless asked for one.
bool IsCanvas(const Window* w);
// Makes sure the backing image matches the client size (keeps old pixels;
// a pending backing is made with its white and solid pixels).
void EnsureBacking(Window* w);
// Keeps an existing backing image at the client size (windows that never
// painted have none; a pending one keeps its pixels where they are).
void ResizeBacking(Window* w);
// The window's pixels are wanted outside its paint event (GetDC, a
// BeginPaint of its own): a canvas window keeps its pixels from then on, and
// gets a pending backing (made at the first drawing that needs the image).
void WantBacking(Window* w);
// A canvas window that paints straight to the screen (keeps no pixels).
bool PaintsOnScreen(const Window* w);
// From now on the window keeps its pixels, starting from those shown.
void KeepPixels(Window* w);
// The client-area pixels now on screen (null when the window is not
// shown). `alone`: without children drawn over them, which may take a paint
// of the window alone (a WM_PAINT).
QImage ShownPixels(Window* w, const QRect& area, bool alone);
// The window's invalid area goes to the screen now: its canvas paints it,
// sending WM_PAINT, at once when Qt can paint, else at Qt's next paint.
// `promised` (UpdateWindow): the window paints at once all the same, its
// drawing going nowhere while Qt cannot show it; otherwise (the message
// loop's paint) the area waits for Qt to show the window.
void RepaintOnScreen(Window* w, bool promised);
// A fill of `area` (client coordinates) in one colour on a window whose
// backing is pending: true when it covers the whole client area, which is
// then that colour without an image being made.
bool FillPendingBacking(Window* w, const QRegion& area, const QColor& colour);
// Places the client widget and window scroll bars inside the outer widget.
void LayoutFrame(Window* w);
// Makes the scroll bars a shown framed window's styles ask for and it lacks.
void MakeShownScrollBars(Window* w);
void SyncScrollBar(Window* w, int bar);
// The highest position the thumb can reach: nMax less a page, at least nMin.
int MaxScrollPos(const ScrollBarState& s);

// ---- painting ----------------------------------------------------------------
void InvalidateClient(Window* w, const QRegion& r, bool erase);
void SchedulePaint();
void FlushPaints();  // WM_PAINT for every visible invalid window (the message loop's)
// WM_PAINT if invalid: at once (UpdateWindow, `promised`), or as the message
// loop paints, which waits for a window Qt does not show yet.
void PaintNow(Window* w, bool promised = true);
bool ReallyVisible(const Window* w);  // the window and all ancestors visible

// ---- messages ------------------------------------------------------------------
LRESULT SendToHwnd(HWND h, UINT msg, WPARAM wp, LPARAM lp);
void WakeLoops();       // makes a waiting loop look at its queue again
void DispatchPosted();  // dispatches queued posted messages (foreign loops)
bool InLayerWait();     // innermost wait belongs to a layer loop
struct LayerWaitScope {
    LayerWaitScope();
    ~LayerWaitScope();
};
// One turn of a modal loop: dispatches one posted message or waits for events.
void ModalLoopTurn();
void FreeLater(Window* w);
// Deletes a destroyed window's widget when no window procedure runs.
void DeleteWidgetLater(QWidget* widget);
void CollectDead();

// ---- windows -------------------------------------------------------------------
Window* CreateWindowObject(DWORD exStyle, const char* cls, const char* text, DWORD style, int x, int y, int cx, int cy,
                           HWND parent, HMENU menu, HINSTANCE inst, void* param);
void SetModelFocus(Window* w, bool fromQt);
bool SettingQtFocus();               // the layer itself is moving Qt's focus
bool InputBlocked(const Window* w);  // the window or an ancestor is disabled
// WM_SIZE with the client size (SIZE_MAXIMIZED for a maximized frame).
void SendSize(Window* w);
QRect ScreenArea();  // the primary screen's available area
// The non-client area (frame and caption) a top-level window of these styles
// has; none for a child.
QMargins StyleMargins(DWORD style, DWORD exStyle);
// The window's non-client area: the window manager's real frame once the
// window is mapped under one, else StyleMargins.
QMargins NcMargins(const Window* w);
// Re-reads a top-level window's rectangle from its widget's client geometry
// and frame (withSize false: the model keeps its client size).
void SyncFrameFromQt(Window* w, bool withSize);
// The same from client geometry `g` the platform gave the top-level window.
void SyncFrameFromQt(Window* w, bool withSize, const QRect& g);
void OnQtResize(Window* w, const QSize& clientSize);
void OnQtClose(Window* w);
HWND HwndOfWidget(const QWidget* w);
extern const char* const kHwndProperty;
// The window input to a widget goes to, where the widget does not name it.
extern const char* const kInputProperty;

// ---- input -----------------------------------------------------------------------
// Input to `widget` goes to the window (`named`: the widget carries the
// window's handle as kHwndProperty).
void InstallInputFilter(Window* w, QWidget* widget, bool named);
void SetCurrentModifiers(Qt::KeyboardModifiers m, Qt::MouseButtons b);
int QtKeyToVk(int key);
int VkToQtKey(int vk);
// The character a key types (Shift held or not); 0 for a key that types none.
char VkChar(int vk, bool shift);
void ApplyCursorTo(QWidget* widget);

// ---- dialogs ------------------------------------------------------------------------
// The dialog manager's keyboard handling for a WM_KEYDOWN aimed at `target`
// inside a modal dialog; true when it consumed the key.
bool DialogKey(Window* target, WPARAM vk);
bool IsModalDialog(const Window* w);
// The group of sibling kids[i]: from the last WS_GROUP control at or before
// it up to (not including) the next one, as [*first, *last).
void GroupBounds(const std::vector<Window*>& kids, size_t i, size_t* first, size_t* last);
void RegisterDialogClass();
void RegisterStandardControls();

// ---- GDI ------------------------------------------------------------------------------
// An image resource of a known format ("BMP", "ICO") decoded by that format's
// reader alone: no image plugin is loaded to probe the data.
QImage DecodeImage(const void* data, size_t size, const char* format);
// An icon file's image nearest `pixels` square (see DecodeImage).
QImage DecodeIconAt(const void* data, size_t size, int pixels);
HDC CreateWindowDC(Window* w, bool paint, const QRegion& clip);
void DestroyWindowDC(HDC dc);
HBRUSH SysBrush(int index);
COLORREF SysColor(int index);
QFont QFontFromLogFont(const LOGFONTA& lf);

// ---- cursors/icons ------------------------------------------------------------------
Qt::CursorShape CursorShape(HCURSOR h);
int CursorId(HCURSOR h);

// ---- queues of threads other than the UI thread ----------------------------------------
// `wake` runs (on the posting thread, the queues locked) with every message
// posted to the calling thread with PostThreadMessageA; null stops it.
void SetThreadQueueWake(std::function<void(UINT)> wake);
// A WM_QUIT waits in the calling thread's queue (it is left there).
bool ThreadQuitPosted();

// ---- message boxes and menus ---------------------------------------------------------
// The id of the button a box of this type answers by default.
int DefaultBoxAnswer(UINT flags);
// Ends the message boxes shown over this top-level window (answer 0).
void EndBoxesOf(HWND top);
// Ends every message box still open (answer 0): the layer shuts down.
void EndOpenBoxes();
std::vector<std::string> MenuCaptions(HMENU h);  // the texts of a menu's items
// Closes the popup menus tracked for `owner` (it is being destroyed).
void ClosePopupMenusOf(HWND owner);

// ---- live objects (counted by the test hooks) -------------------------------------
struct GdiCounts {
    int fonts = 0, brushes = 0, pens = 0, bitmaps = 0, regions = 0, dcs = 0;
};
GdiCounts CountGdiObjects();  // made by the program or the layer; stock objects left out
int CountMenus();             // every menu handle, submenus included
int CountWindows();           // live window handles
int CountTimers();
void KillTimersOf(HWND h);  // a window's timers go with it (UI thread)
int CountKernelHandles();   // threads and files not yet closed (kernel/handles.cpp)

// ---- hooks (hooks.cpp; set through the test hooks library) ------------------------------
// What the tests have asked for and what was recorded. Boxes may come from
// any thread: boxHook, autoAnswer and boxCalls are guarded by mutex; the
// dialog and menu hooks are used on the UI thread only.
struct TestHookState {
    std::mutex mutex;
    w32test::MessageBoxHook boxHook;
    bool autoAnswer = false;
    std::vector<w32test::MessageBoxCall> boxCalls;
    w32test::DialogHook dialogHook;
    w32test::PopupMenuHook menuHook;
    std::vector<w32test::PopupMenuCall> menuCalls;
};
TestHookState& Hooks();
bool HookMessageBox(HWND owner, const char* text, const char* caption, UINT flags, int* result);
void RunDialogHook(HWND dlg, const std::string& name);
bool HookPopupMenu(HMENU m, HWND owner, int x, int y, UINT flags, UINT* id);

// ---- UI-thread dispatcher events --------------------------------------------------------
enum EventType {
    kCallEvent = QEvent::User + 731,
    kWakeEvent,
    kPaintEvent,
    kFreeEvent,
};

}  // namespace w32
