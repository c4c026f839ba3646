// Internal interface of the Win32 layer, shared by its parts (core, common
// controls, shell). Not for the program.
//
// The window model is the source of truth: every HWND is a w32::Window owned
// by the layer. A Qt widget per window renders the model and turns user input
// into window messages. All windows live on the UI thread (the thread that
// created the QApplication); other threads reach them through SendMessageA /
// PostMessageA / RunOnUiThread.
//
// Sources that include Qt headers are compiled with a UTF-8 execution
// character set (libstdc++'s <chrono> has a literal GBK cannot hold), so they
// must not hold Chinese narrow literals: use u"..." QString literals, or
// escaped GBK bytes.
#pragma once

#include <QtCore/QPointer>
#include <QtGui/QColor>
#include <QtGui/QFont>
#include <QtGui/QIcon>
#include <QtGui/QImage>
#include <QtGui/QRegion>
#include <QtWidgets/QWidget>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "win32.h"

namespace w32 {

class Window;

// ---------------------------------------------------------------------------
// Text: GBK (program) <-> QString (Qt)
// ---------------------------------------------------------------------------
QString ToQt(std::string_view gbk);
QString ToQt(const char* gbk, int len = -1);  // len < 0: up to the NUL
std::string FromQt(const QString& s);         // characters outside GBK -> '?'
// Copies a GBK text into buf (size bytes incl. NUL), never splitting a double-
// byte character; returns the bytes copied (without NUL). size <= 0: copies nothing.
int CopyText(char* buf, int size, std::string_view gbk);

// ---------------------------------------------------------------------------
// Threads
// ---------------------------------------------------------------------------
bool IsUiThread();
// Runs fn on the UI thread and waits for it. On the UI thread it runs at once.
// The UI thread serves such calls in every wait (GetMessageA, modal dialogs,
// message boxes, popup menus, file dialogs), like cross-thread SendMessageA.
void RunOnUiThread(const std::function<void()>& fn);

// The window a box or a modal dialog takes the keyboard from: its owner's
// top-level window, else the window active when it opens (a window of the
// layer, or a box or dialog of Qt's own), and the control there with the
// focus. Made before the box or dialog opens (before the owner is
// disabled); GiveBack, once it has ended and the owner is enabled again,
// makes that window active again with the focus on that control, as Win32
// activates the owner of an ended box or dialog, unless another window holds
// the keyboard by then (another thread's box the user turned to); while
// another box or dialog is still open over that window, that one is made
// active instead. UI thread.
class KeyboardReturn {
public:
    explicit KeyboardReturn(HWND owner);
    void GiveBack();

private:
    HWND top_ = nullptr;
    HWND focus_ = nullptr;
    QPointer<QWidget> foreign_;
};

// While alive, marks a Qt nested loop (QDialog::exec, QMenu::exec, ...) run on
// the UI thread: messages posted with PostMessageA are dispatched by the layer
// during it, as a Win32 modal loop would. `owner` (may be null) is the window
// whose top-level ancestor is disabled for the duration, as for a modal dialog.
// `window`: the loop runs a window that takes the keyboard (a box, a dialog),
// which goes back where it came from when the loop ends (KeyboardReturn).
class ForeignLoopScope {
public:
    explicit ForeignLoopScope(HWND owner = nullptr, bool window = false);
    ~ForeignLoopScope();
    ForeignLoopScope(const ForeignLoopScope&) = delete;
    ForeignLoopScope& operator=(const ForeignLoopScope&) = delete;
    QWidget* ParentWidget() const;  // the owner's top-level widget, for Qt parenting

private:
    KeyboardReturn back_;
    bool window_;
    HWND disabled_ = nullptr;
    QWidget* parent_ = nullptr;
};

// ---------------------------------------------------------------------------
// Window classes
// ---------------------------------------------------------------------------
// Creates the Qt widget of a built-in control: `w` is the new window (its
// style, text, id and rectangle are already set), `parent` the widget that
// holds its children. The factory may store control state in w->state. It
// runs before WM_NCCREATE/WM_CREATE reach the window procedure.
using WidgetFactory = std::function<QWidget*(Window* w, QWidget* parent)>;

struct WndClass {
    std::string name;  // GBK; compared without ASCII case
    UINT style = 0;
    WNDPROC proc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    std::string menuName;
    ATOM atom = 0;
    bool builtin = false;
    // Built-in controls: the widget factory. Null: a canvas window (backing
    // image, GDI painting, WM_PAINT), as for every class the program registers.
    WidgetFactory factory;
};

// Registers a built-in class (idempotent: a second call returns the existing
// atom). `cursor` is the class cursor used by DefWindowProcA's WM_SETCURSOR.
ATOM RegisterBuiltinClass(const char* name, UINT style, WNDPROC proc, HCURSOR cursor, HBRUSH background,
                          WidgetFactory factory);
WndClass* FindClass(const char* name);

// ---------------------------------------------------------------------------
// Window objects
// ---------------------------------------------------------------------------
// Per-window data of a built-in control (derive from it).
struct ControlState {
    virtual ~ControlState() = default;
};

struct ScrollBarState {
    int nMin = 0, nMax = 100;
    UINT nPage = 0;
    int nPos = 0, nTrackPos = 0;
    bool visible = false;
};

class Window {
public:
    HWND hwnd = nullptr;
    WndClass* cls = nullptr;
    WNDPROC proc = nullptr;  // head of the subclass chain (GWL_WNDPROC)
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;  // GWL_ID: full pointer-sized control id
    Window* parent = nullptr;
    HWND owner = nullptr;
    std::vector<Window*> children;  // z-order, top first (= creation order)
    std::string text;               // GBK
    RECT rect{};                    // window rect: parent client coords (child) or screen (top-level)
    QMargins nc;                    // top-level: the frame and caption inside rect (non-client area)
    RECT restoreRect{};             // top-level: the rectangle it had before it was last maximized
    bool unframed = false;          // top-level: maximized where no window manager frames it
    LONG_PTR userData = 0;          // GWLP_USERDATA
    std::vector<LONG_PTR> extra;    // cbWndExtra / DWLP_* slots (index / sizeof(LONG_PTR))
    HINSTANCE hInstance = nullptr;
    HFONT font = nullptr;  // WM_SETFONT (null: default control font)
    HMENU menu = nullptr;
    bool destroyed = false;
    int busy = 0;  // procedure calls on the stack

    QWidget* widget = nullptr;  // outer widget (placed in the parent's client widget)
    QWidget* client = nullptr;  // widget holding the children (== widget for controls)
    // Canvas windows paint WM_PAINT straight to the screen, inside the
    // canvas's Qt paint event (painting, paintingOnScreen), and keep no
    // pixels. A window that also draws outside WM_PAINT (GetDC, a BeginPaint
    // of its own) keeps them from then on (lasting): the client-area pixels
    // (backing), a view into an image with room to grow (backingStore), so
    // that a window growing to the screen's size on its first resizes keeps
    // its pixels where they are.
    bool lasting = false;
    bool painting = false;
    bool paintingOnScreen = false;
    // Painting while Qt cannot show the window: every drawing goes nowhere.
    bool paintingNowhere = false;
    QImage backingStore;
    QImage backing;
    // A canvas window that began painting but has not needed its image yet:
    // its pixels are white, but for solidRect in solidColour (a background
    // erase over the whole client area). The image is made at the first
    // drawing that needs it.
    bool backingPending = false;
    QRect solidRect;
    QColor solidColour;
    QRegion update;            // invalid client area
    bool eraseUpdate = false;  // the next paint erases first
    ScrollBarState hscroll, vscroll;

    std::unique_ptr<ControlState> state;  // built-in control data
    template <class T>
    T* State() const {
        // Every state type derives from ControlState directly: the exact type
        // decides, which is cheaper than a dynamic_cast on each message.
        return state && typeid(*state) == typeid(T) ? static_cast<T*>(state.get()) : nullptr;
    }

    bool IsChild() const { return (style & WS_CHILD) != 0; }
    bool Visible() const { return (style & WS_VISIBLE) != 0; }
    bool Enabled() const { return (style & WS_DISABLED) == 0; }
    int ClientWidth() const;
    int ClientHeight() const;
};

// The window behind a handle; null for a handle that is not (or no longer) a window.
Window* FromHwnd(HWND h);
// The window a layer widget renders (walks up to the nearest widget that
// belongs to a window); null when none.
Window* FromWidget(const QWidget* w);
// The top-level (non-child) ancestor, or the window itself.
Window* TopLevelOf(Window* w);

// Calls the procedure chain of the window (same thread), as SendMessageA does.
LRESULT Send(Window* w, UINT msg, WPARAM wp, LPARAM lp);

// ---------------------------------------------------------------------------
// Notifications to the parent
// ---------------------------------------------------------------------------
// WM_COMMAND(MAKEWPARAM(id, code), hwnd) to the control's parent.
LRESULT NotifyCommand(Window* ctl, UINT code);
// Fills hdr->hwndFrom/idFrom/code and sends WM_NOTIFY(id, hdr) to the parent;
// returns the parent's answer (for dialogs: the DWLP_MSGRESULT value).
LRESULT NotifyParent(Window* ctl, UINT code, NMHDR* hdr);

// ---------------------------------------------------------------------------
// Input: Qt events -> window messages -> built-in behaviour
// ---------------------------------------------------------------------------
// Routes the Qt input events of `widget` (the control's widget or one of its
// inner widgets: viewport, header, inner line edit) to `w` as window messages
// (WM_SETCURSOR, WM_MOUSEMOVE, WM_xBUTTONDOWN/UP/DBLCLK, WM_MOUSEWHEEL,
// WM_KEYDOWN/UP, WM_CHAR, WM_SETFOCUS/WM_KILLFOCUS) through the procedure
// chain. The widget itself sees the event only when the chain reaches the
// built-in procedure and that calls DefaultInput. Called for the outer widget
// of every window by the layer; controls call it for their inner widgets.
void AttachInput(Window* w, QWidget* widget);

// Called by a built-in procedure for an input message it wants the widget to
// act on: replays the Qt event that produced the message (key, mouse, wheel)
// on the widget that received it. For a message the program sent itself
// (no Qt event behind it) an equivalent Qt event is made for `w->widget`.
// With `withText` false a key event goes without its text (the built-in
// procedure inserts text on WM_CHAR instead). Returns true if delivered.
bool DefaultInput(Window* w, UINT msg, WPARAM wp, LPARAM lp, bool withText = true);

// The window with the model's keyboard focus (GetFocus).
Window* FocusWindow();

// ---------------------------------------------------------------------------
// Model -> widget
// ---------------------------------------------------------------------------
// Applies the model's rectangle / visibility / enabled state to the widget.
// ShowWindow, MoveWindow, SetWindowPos, EnableWindow and ScrollWindow call
// these; a control calls them only for a widget it re-created.
void SyncGeometry(Window* w);
void SyncVisible(Window* w);
void SyncEnabled(Window* w);
// Repaints a control's widget with its inner parts (a multi-line edit's
// viewport, a combo's line edit, a picker's fields): Qt repaints no opaque
// child of a widget it repaints, and their colours follow the control's state.
void RepaintWhole(QWidget* widget);

// ---------------------------------------------------------------------------
// GDI objects for controls
// ---------------------------------------------------------------------------
QColor ToQColor(COLORREF c);
COLORREF FromQColor(const QColor& c);
// The Qt font of an HFONT (WM_SETFONT); null gives the default control font.
QFont FontOf(HFONT f);
QFont DefaultControlFont();
// The pixels of a bitmap / icon handle; null image for an invalid handle.
QImage ImageOfBitmap(HBITMAP h);
QImage ImageOfIcon(HICON h);
// The icon Windows shows for this program's executable at its largest size:
// its first icon in resource order (named ones by name, then numbered ones by
// number). A null image when it has none.
QImage ProgramIconImage();
// That icon at each of its sizes (empty when there is none).
QIcon ProgramIcon();
// The device and origin an HDC draws on (null when hdc is not a DC): an
// image, or a canvas widget inside its paint event. Draw with a QPainter on
// it, translated by the origin.
QPaintDevice* DCDevice(HDC hdc, QPoint* origin = nullptr);

}  // namespace w32
