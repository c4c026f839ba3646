// The window model: classes, handles, creation and destruction, show/hide,
// placement, styles and long values, texts, focus and window relations.
#include <QtCore/QCoreApplication>
#include <QtGui/QGuiApplication>
#include <QtGui/QIcon>
#include <QtGui/QPixmap>
#include <QtGui/QScreen>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <set>
#include <unordered_map>

#include "core.h"
#include "platform/gbk/gbk.h"

namespace w32 {
namespace {

// Recursive: Qt may call back into the layer while a lookup holds it.
std::recursive_mutex g_handleMutex;
std::unordered_map<uintptr_t, Window*>& Handles() {
    static auto* m = new std::unordered_map<uintptr_t, Window*>;
    return *m;
}
uintptr_t g_nextHandle = 0x10000;

std::vector<WndClass*>& Classes() {
    static auto* v = new std::vector<WndClass*>;
    return *v;
}

HWND g_focus = nullptr;
HWND g_active = nullptr;
HWND g_capture = nullptr;
bool g_settingQtFocus = false;

// Moves Qt's focus to the window's widget without reporting it back as a
// focus change from Qt.
void SetQtFocus(Window* w) {
    g_settingQtFocus = true;
    w->widget->setFocus(Qt::OtherFocusReason);
    g_settingQtFocus = false;
}

bool SameName(const std::string& a, const char* b) {
    if (!b) return false;
    size_t n = strlen(b);
    if (n != a.size()) return false;
    for (size_t i = 0; i < n; ++i)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i])) return false;
    return true;
}

// Bumped (under g_handleMutex) whenever the handle table changes, so that
// each thread's cache of recent lookups can tell it is still right without
// taking the lock. Handles are never reused.
std::atomic<uint64_t> g_handleGeneration{1};

// A thread's last lookups, one slot per handle (mod 8): the same few windows
// get most messages (a page, its list).
struct HandleCache {
    struct Slot {
        uintptr_t h = 0;
        Window* w = nullptr;
        uint64_t generation = 0;
    } entries[8];
};
thread_local HandleCache t_handleCache;

HWND AllocHandle(Window* w) {
    std::lock_guard<std::recursive_mutex> lock(g_handleMutex);
    g_nextHandle += 4;
    Handles()[g_nextHandle] = w;
    g_handleGeneration.fetch_add(1, std::memory_order_release);
    return reinterpret_cast<HWND>(g_nextHandle);
}

void FreeHandle(HWND h) {
    std::lock_guard<std::recursive_mutex> lock(g_handleMutex);
    Handles().erase(reinterpret_cast<uintptr_t>(h));
    g_handleGeneration.fetch_add(1, std::memory_order_release);
}

// Takes w out of its parent's child list.
void Unlink(Window* w) {
    auto& sib = w->parent->children;
    sib.erase(std::remove(sib.begin(), sib.end(), w), sib.end());
}

bool IsDescendantOrSelf(Window* w, Window* ancestor) {
    for (; w; w = w->parent)
        if (w == ancestor) return true;
    return false;
}

}  // namespace

const char* const kHwndProperty = "w32hwnd";

QRect ScreenArea() {
    if (QScreen* s = QGuiApplication::primaryScreen()) return s->availableGeometry();
    return QRect(0, 0, 1280, 1024);
}

void SendSize(Window* w) {
    WPARAM kind = SIZE_RESTORED;
    if (!w->IsChild() && w->widget && w->widget->isMaximized()) kind = SIZE_MAXIMIZED;
    Send(w, WM_SIZE, kind, MAKELPARAM(w->ClientWidth(), w->ClientHeight()));
}

// ---------------------------------------------------------------------------
// Handles and classes
// ---------------------------------------------------------------------------
int CountWindows() {
    std::lock_guard<std::recursive_mutex> lock(g_handleMutex);
    return int(Handles().size());
}

Window* FromHwnd(HWND h) {
    if (!h) return nullptr;
    const uintptr_t key = reinterpret_cast<uintptr_t>(h);
    HandleCache::Slot& slot = t_handleCache.entries[(key >> 2) & 7];
    if (slot.h == key && slot.generation == g_handleGeneration.load(std::memory_order_acquire)) return slot.w;
    std::lock_guard<std::recursive_mutex> lock(g_handleMutex);
    auto it = Handles().find(key);
    Window* w = it == Handles().end() ? nullptr : it->second;
    slot = {key, w, g_handleGeneration.load(std::memory_order_relaxed)};
    return w;
}

HWND HwndOfWidget(const QWidget* w) {
    if (!w) return nullptr;
    QVariant v = w->property(kHwndProperty);
    return v.isValid() ? reinterpret_cast<HWND>(v.value<qulonglong>()) : nullptr;
}

Window* FromWidget(const QWidget* w) {
    for (; w; w = w->parentWidget())
        if (HWND h = HwndOfWidget(w)) return FromHwnd(h);
    return nullptr;
}

Window* TopLevelOf(Window* w) {
    while (w && w->IsChild() && w->parent) w = w->parent;
    return w;
}

QMargins StyleMargins(DWORD style, DWORD exStyle) {
    if (style & WS_CHILD) return QMargins();
    // Overlapped windows always have a caption and a border.
    bool caption = (style & WS_CAPTION) == WS_CAPTION || !(style & WS_POPUP);
    int b = 0;
    if (style & WS_THICKFRAME)
        b = GetSystemMetrics(SM_CXFRAME);
    else if (caption || (style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        b = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER)
        b = GetSystemMetrics(SM_CXBORDER);
    return QMargins(b, b + (caption ? GetSystemMetrics(SM_CYCAPTION) : 0), b, b);
}

// The real frame a window manager put around a mapped window, if any (the
// offscreen platform's pretend frame does not count).
static bool RealFrame(const Window* w, QMargins* m) {
    QWidget* wid = w->widget;
    if (!wid || !wid->isWindow() || !wid->isVisible()) return false;
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return false;
    QRect f = wid->frameGeometry(), g = wid->geometry();
    if (f == g) return false;
    *m = QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
    return true;
}

QMargins NcMargins(const Window* w) {
    if (w->IsChild()) return QMargins();
    QMargins m;
    if (RealFrame(w, &m)) return m;
    // Maximized with no window manager: nothing frames it.
    if (w->unframed && w->widget && w->widget->isMaximized()) return QMargins();
    return StyleMargins(w->style, w->exStyle);
}

void SyncFrameFromQt(Window* w, bool withSize) {
    if (!w || w->IsChild() || !w->widget || !w->widget->isWindow()) return;
    SyncFrameFromQt(w, withSize, w->widget->geometry());
}

void SyncFrameFromQt(Window* w, bool withSize, const QRect& g) {
    // Without the size, the model keeps its client size; the frame may change
    // (the window manager's real one replaces the styles' once mapped).
    QSize client = withSize ? g.size()
                            : QSize(w->rect.right - w->rect.left - w->nc.left() - w->nc.right(),
                                    w->rect.bottom - w->rect.top - w->nc.top() - w->nc.bottom());
    QMargins m = NcMargins(w);
    w->nc = m;
    w->rect = RECT{g.left() - m.left(), g.top() - m.top(), g.left() + client.width() + m.right(),
                   g.top() + client.height() + m.bottom()};
}

int Window::ClientWidth() const {
    int width = rect.right - rect.left - nc.left() - nc.right();
    if (widget && client && widget != client && vscroll.visible) width -= GetSystemMetrics(SM_CXVSCROLL);
    return std::max(0, width);
}

int Window::ClientHeight() const {
    int height = rect.bottom - rect.top - nc.top() - nc.bottom();
    if (widget && client && widget != client && hscroll.visible) height -= GetSystemMetrics(SM_CYHSCROLL);
    return std::max(0, height);
}

WndClass* FindClass(const char* name) {
    if (!name) return nullptr;
    if (IS_INTRESOURCE(name)) {
        ATOM a = ATOM(reinterpret_cast<uintptr_t>(name));
        for (WndClass* c : Classes())
            if (c->atom == a) return c;
        return nullptr;
    }
    for (WndClass* c : Classes())
        if (SameName(c->name, name)) return c;
    return nullptr;
}

static ATOM AddClass(WndClass* c) {
    static ATOM next = 0xC000;
    c->atom = next++;
    Classes().push_back(c);
    return c->atom;
}

ATOM RegisterBuiltinClass(const char* name, UINT style, WNDPROC proc, HCURSOR cursor, HBRUSH background,
                          WidgetFactory factory) {
    if (WndClass* c = FindClass(name)) return c->atom;
    auto* c = new WndClass;
    c->name = name;
    c->style = style | CS_GLOBALCLASS;
    c->proc = proc;
    c->hCursor = cursor;
    c->hbrBackground = background;
    c->builtin = true;
    c->factory = std::move(factory);
    return AddClass(c);
}

// ---------------------------------------------------------------------------
// Model -> widget
// ---------------------------------------------------------------------------
void SyncGeometry(Window* w) {
    if (!w || !w->widget) return;
    QRect r = ToQRect(w->rect);
    if (r.width() < 0) r.setWidth(0);
    if (r.height() < 0) r.setHeight(0);
    if (w->IsChild()) {
        w->widget->setGeometry(r);
    } else {
        // The widget is the client area: the window rectangle less its frame.
        QRect client = r.marginsRemoved(w->nc);
        if (client.width() < 0) client.setWidth(0);
        if (client.height() < 0) client.setHeight(0);
        // Frames without a sizing border (dialogs) keep the size the program gives.
        if (!(w->style & WS_THICKFRAME) && w->widget->isWindow()) w->widget->setFixedSize(client.size());
        w->widget->setGeometry(client);
    }
    if (w->widget != w->client) LayoutFrame(w);
    ResizeBacking(w);
}

void SyncVisible(Window* w) {
    if (!w || !w->widget) return;
    MakeShownScrollBars(w);
    w->widget->setVisible(w->Visible());
}

void SyncEnabled(Window* w) {
    if (!w || !w->widget) return;
    // Only controls look disabled; a disabled frame or view just takes no input.
    if (w->cls && w->cls->factory) w->widget->setEnabled(w->Enabled());
}

void RepaintWhole(QWidget* widget) {
    widget->update();
    for (QWidget* part : widget->findChildren<QWidget*>()) part->update();
}

bool ReallyVisible(const Window* w) {
    for (; w; w = w->parent)
        if (!w->Visible()) return false;
    return true;
}

bool InputBlocked(const Window* w) {
    for (; w; w = w->parent)
        if (!w->Enabled()) return true;
    return false;
}

// ---------------------------------------------------------------------------
// Creation
// ---------------------------------------------------------------------------
Window* CreateWindowObject(DWORD exStyle, const char* clsName, const char* text, DWORD style, int x, int y, int cx,
                           int cy, HWND hParent, HMENU hMenu, HINSTANCE inst, void* param) {
    if (!LayerAlive() || !IsUiThread()) return nullptr;
    WndClass* cls = FindClass(clsName);
    if (!cls) return nullptr;
    Window* parent = nullptr;
    HWND owner = nullptr;
    if (style & WS_CHILD) {
        parent = FromHwnd(hParent);
        if (!parent || parent->destroyed) return nullptr;
    } else if (hParent) {
        if (Window* o = FromHwnd(hParent)) owner = TopLevelOf(o)->hwnd;
    }

    auto* w = new Window;
    w->cls = cls;
    w->proc = cls->proc;
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    w->text = text && !IS_INTRESOURCE(text) ? text : "";
    w->hInstance = inst;
    w->owner = owner;
    w->parent = parent;
    w->extra.assign(size_t(std::max(cls->cbWndExtra, 0) + 7) / 8 + 3, 0);
    if (style & WS_CHILD)
        w->id = reinterpret_cast<LONG_PTR>(hMenu);
    else
        w->menu = hMenu;

    if (!(style & WS_CHILD)) {
        QRect area = ScreenArea();
        if (x == CW_USEDEFAULT) {
            x = area.left() + 40;
            y = area.top() + 30;
        }
        if (cx == CW_USEDEFAULT) {
            cx = std::min(1024, area.width() - 80);
            cy = std::min(768, area.height() - 60);
        }
    } else {
        if (x == CW_USEDEFAULT) x = y = 0;
        if (cx == CW_USEDEFAULT) cx = cy = 0;
    }
    w->rect = RECT{x, y, x + std::max(cx, 0), y + std::max(cy, 0)};
    w->nc = StyleMargins(style, exStyle);
    // The window's own scroll bars take their room from the start.
    w->hscroll.visible = (style & WS_HSCROLL) != 0;
    w->vscroll.visible = (style & WS_VSCROLL) != 0;
    w->hwnd = AllocHandle(w);
    if (parent) parent->children.push_back(w);

    // The widget: a control's own, or a canvas inside a frame.
    QWidget* pw = parent ? parent->client : nullptr;
    if (cls->factory) {
        w->widget = cls->factory(w, pw);
        w->client = w->widget;
    } else {
        w->widget = MakeFrame(w, pw);
        w->client = MakeCanvas(w, w->widget);
    }
    if (w->widget) {
        w->widget->setProperty(kHwndProperty, qulonglong(reinterpret_cast<uintptr_t>(w->hwnd)));
        if (w->client && w->client != w->widget)
            w->client->setProperty(kHwndProperty, qulonglong(reinterpret_cast<uintptr_t>(w->hwnd)));
        w->widget->hide();
        if (parent) w->widget->lower();
        SyncGeometry(w);
        SyncEnabled(w);
        InstallInputFilter(w, w->widget, true);
        if (w->client && w->client != w->widget) InstallInputFilter(w, w->client, true);
        if (!w->IsChild() && !w->text.empty()) w->widget->setWindowTitle(ToQt(w->text));
        if (!w->IsChild() && cls->hIcon) {
            QImage icon = ImageOfIcon(cls->hIcon);
            if (!icon.isNull()) w->widget->setWindowIcon(QIcon(QPixmap::fromImage(icon)));
        }
    }

    HWND h = w->hwnd;
    CREATESTRUCTA cs{};
    cs.lpCreateParams = param;
    cs.hInstance = inst;
    cs.hMenu = hMenu;
    cs.hwndParent = hParent;
    cs.cx = cx;
    cs.cy = cy;
    cs.x = x;
    cs.y = y;
    cs.style = LONG(style);
    cs.lpszName = text;
    cs.lpszClass = clsName;
    cs.dwExStyle = exStyle;
    if (!Send(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        DestroyWindow(h);
        return nullptr;
    }
    if (!FromHwnd(h)) return nullptr;
    if (Send(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(h);
        return nullptr;
    }
    w = FromHwnd(h);
    if (!w || w->destroyed) return nullptr;
    SendSize(w);
    if (!FromHwnd(h)) return nullptr;
    Send(w, WM_MOVE, 0, MAKELPARAM(w->rect.left, w->rect.top));
    InvalidateClient(w, ClientRect(w), true);
    if (style & WS_VISIBLE) ShowWindow(h, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW);
    return FromHwnd(h);
}

// ---------------------------------------------------------------------------
// Focus
// ---------------------------------------------------------------------------
void SetModelFocus(Window* w, bool fromQt) {
    HWND h = w ? w->hwnd : nullptr;
    HWND old = g_focus;
    if (old == h) {
        if (w && !fromQt && w->widget && ReallyVisible(w) && !w->widget->hasFocus()) SetQtFocus(w);
        return;
    }
    g_focus = h;
    if (Window* o = FromHwnd(old)) Send(o, WM_KILLFOCUS, WPARAM(h), 0);
    w = FromHwnd(h);
    if (!w || g_focus != h) return;
    Send(w, WM_SETFOCUS, WPARAM(old), 0);
    w = FromHwnd(h);
    if (!fromQt && w && w->widget && ReallyVisible(w) && g_focus == h) SetQtFocus(w);
}

bool SettingQtFocus() { return g_settingQtFocus; }

// The focus leaves `w` and the windows inside it (disabled or destroyed):
// no window has it, and keys reach the active window as system keys. Qt's
// focus goes to the top-level window itself before Qt could leave it on a
// disabled control or move it on to another one; `tell`: the window that
// had it gets WM_KILLFOCUS.
static void DropFocusWithin(Window* w, bool tell) {
    Window* f = FromHwnd(g_focus);
    if (!f || !IsDescendantOrSelf(f, w)) return;
    g_focus = nullptr;
    if (QWidget* top = TopLevelOf(w)->widget) {
        g_settingQtFocus = true;
        top->setFocus(Qt::OtherFocusReason);
        g_settingQtFocus = false;
    }
    if (tell) Send(f, WM_KILLFOCUS, 0, 0);
}

Window* FocusWindow() { return FromHwnd(g_focus); }

// Re-applies the model focus to Qt after a window became visible.
void RestoreQtFocus(Window* shown) {
    Window* f = FromHwnd(g_focus);
    if (f && IsDescendantOrSelf(f, shown) && ReallyVisible(f) && f->widget) SetQtFocus(f);
}

// Hides a window's widget; when it was the active window, the next one is
// activated.
static void HideWidget(QWidget* widget) {
    const bool active = widget->isWindow() && QApplication::activeWindow() == widget;
    widget->hide();
    if (active) ActivateTheNextWindow(widget);
}

// ---------------------------------------------------------------------------
// Destruction
// ---------------------------------------------------------------------------
// Windows inside DestroyWindow: they still take messages (IsWindow is true
// during WM_DESTROY, as in Win32) but cannot be destroyed a second time.
static std::set<HWND>& Dying() {
    static auto* s = new std::set<HWND>;
    return *s;
}

static void DestroyTree(Window* w, bool top) {
    HWND h = w->hwnd;
    Dying().insert(h);
    if (top) WakeLoops();  // a modal loop waiting on this window looks again
    DropFocusWithin(w, false);
    if (g_capture == h) g_capture = nullptr;
    if (g_active == h) g_active = nullptr;
    ClosePopupMenusOf(h);
    Send(w, WM_DESTROY, 0, 0);
    std::vector<HWND> kids;
    for (Window* c : w->children) kids.push_back(c->hwnd);
    for (HWND k : kids)
        if (Window* c = FromHwnd(k); c && !c->destroyed) DestroyTree(c, false);
    if (!(w = FromHwnd(h))) return;
    {
        std::lock_guard<std::recursive_mutex> lock(g_handleMutex);
        w->destroyed = true;  // no further messages but the last one
    }
    Send(w, WM_NCDESTROY, 0, 0);
    KillTimersOf(h);
    // A top-level window's menu goes with it (a child keeps its id there).
    if (!w->IsChild() && w->menu) {
        DestroyMenu(w->menu);
        w->menu = nullptr;
    }
    Dying().erase(h);
    FreeHandle(h);
    if (top && w->parent) Unlink(w);
    w->children.clear();
    w->state.reset();
    if (w->widget && top) {
        QWidget* wid = w->widget;
        wid->hide();
        // It names its window no more, but its input still goes there (to
        // nobody now) until the widget goes.
        wid->setProperty(kInputProperty, wid->property(kHwndProperty));
        wid->setProperty(kHwndProperty, QVariant());
        if (LayerAlive())
            DeleteWidgetLater(wid);
        else
            delete wid;
    }
    w->widget = nullptr;
    w->client = nullptr;
    w->backing = QImage();
    w->backingStore = QImage();
    w->backingPending = false;
    FreeLater(w);
}

}  // namespace w32

using namespace w32;

BOOL DestroyWindow(HWND hWnd) {
    Window* w = FromHwnd(hWnd);
    if (!w || w->destroyed || Dying().count(hWnd)) return FALSE;
    if (!IsUiThread()) {
        BOOL r = FALSE;
        RunOnUiThread([&] { r = DestroyWindow(hWnd); });
        return r;
    }
    // Owned top-level windows go first.
    std::vector<HWND> owned;
    {
        std::lock_guard<std::recursive_mutex> lock(g_handleMutex);
        for (auto& kv : Handles())
            if (kv.second->owner == hWnd && !kv.second->destroyed) owned.push_back(kv.second->hwnd);
    }
    std::sort(owned.begin(), owned.end());
    for (HWND o : owned) DestroyWindow(o);
    w = FromHwnd(hWnd);
    if (!w || w->destroyed) return FALSE;
    // So are the message boxes shown over a top-level window.
    if (!w->IsChild()) EndBoxesOf(hWnd);
    if (w->Visible() && !w->IsChild()) {
        w->style &= ~WS_VISIBLE;
        if (w->widget) HideWidget(w->widget);
    }
    DestroyTree(w, true);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Classes
// ---------------------------------------------------------------------------
ATOM RegisterClassA(const WNDCLASSA* wc) {
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return 0;
    if (FindClass(wc->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto* c = new WndClass;
    c->name = IS_INTRESOURCE(wc->lpszClassName) ? "" : wc->lpszClassName;
    c->style = wc->style;
    c->proc = wc->lpfnWndProc;
    c->cbClsExtra = wc->cbClsExtra;
    c->cbWndExtra = wc->cbWndExtra;
    c->hInstance = wc->hInstance;
    c->hIcon = wc->hIcon;
    c->hCursor = wc->hCursor;
    c->hbrBackground = wc->hbrBackground;
    if (wc->lpszMenuName && !IS_INTRESOURCE(wc->lpszMenuName)) c->menuName = wc->lpszMenuName;
    return AddClass(c);
}

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc) return 0;
    WNDCLASSA a{wc->style, wc->lpfnWndProc, wc->cbClsExtra,    wc->cbWndExtra,   wc->hInstance,
                wc->hIcon, wc->hCursor,     wc->hbrBackground, wc->lpszMenuName, wc->lpszClassName};
    return RegisterClassA(&a);
}

BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
    WndClass* c = FindClass(lpClassName);
    if (!c) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (c->builtin) return FALSE;  // the system's classes stay
    {
        std::lock_guard<std::recursive_mutex> lock(g_handleMutex);
        for (auto& kv : Handles())
            if (kv.second->cls == c && !kv.second->destroyed) {
                SetLastError(ERROR_CLASS_HAS_WINDOWS);
                return FALSE;
            }
    }
    auto& v = Classes();
    v.erase(std::remove(v.begin(), v.end(), c), v.end());
    // Gone by name and atom; the object stays, as destroyed windows not yet
    // freed may still point at it.
    static auto* retired = new std::vector<WndClass*>;
    retired->push_back(c);
    return TRUE;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR lpClassName, LPWNDCLASSA wc) {
    WndClass* c = FindClass(lpClassName);
    if (!c || !wc) return FALSE;
    wc->style = c->style;
    wc->lpfnWndProc = c->proc;
    wc->cbClsExtra = c->cbClsExtra;
    wc->cbWndExtra = c->cbWndExtra;
    wc->hInstance = c->hInstance;
    wc->hIcon = c->hIcon;
    wc->hCursor = c->hCursor;
    wc->hbrBackground = c->hbrBackground;
    wc->lpszMenuName = c->menuName.empty() ? nullptr : c->menuName.c_str();
    wc->lpszClassName = c->name.c_str();
    return TRUE;
}

int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
    Window* w = FromHwnd(hWnd);
    if (!w || !lpClassName || nMaxCount <= 0) return 0;
    return CopyText(lpClassName, nMaxCount, w->cls->name);
}

ULONG_PTR GetClassLongPtrA(HWND hWnd, int nIndex) {
    Window* w = FromHwnd(hWnd);
    if (!w) return 0;
    WndClass* c = w->cls;
    switch (nIndex) {
    case GCL_HICON: return reinterpret_cast<ULONG_PTR>(c->hIcon);
    case GCL_HCURSOR: return reinterpret_cast<ULONG_PTR>(c->hCursor);
    case GCL_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c->hbrBackground);
    case GCL_STYLE: return c->style;
    case GCL_WNDPROC: return reinterpret_cast<ULONG_PTR>(c->proc);
    }
    return 0;
}

ULONG_PTR SetClassLongPtrA(HWND hWnd, int nIndex, LONG_PTR v) {
    Window* w = FromHwnd(hWnd);
    if (!w) return 0;
    WndClass* c = w->cls;
    ULONG_PTR old = GetClassLongPtrA(hWnd, nIndex);
    switch (nIndex) {
    case GCL_HICON: {
        c->hIcon = reinterpret_cast<HICON>(v);
        QImage img = ImageOfIcon(c->hIcon);
        if (!img.isNull()) {
            QIcon icon(QPixmap::fromImage(img));
            std::vector<QWidget*> frames;
            {
                std::lock_guard<std::recursive_mutex> lock(g_handleMutex);
                for (auto& kv : Handles())
                    if (kv.second->cls == c && kv.second->widget && !kv.second->IsChild())
                        frames.push_back(kv.second->widget);
            }
            // Qt calls back into the layer (event filters) while setting it.
            for (QWidget* f : frames) f->setWindowIcon(icon);
        }
        break;
    }
    case GCL_HCURSOR: c->hCursor = reinterpret_cast<HCURSOR>(v); break;
    case GCL_HBRBACKGROUND: c->hbrBackground = reinterpret_cast<HBRUSH>(v); break;
    case GCL_STYLE: c->style = UINT(v); break;
    case GCL_WNDPROC: c->proc = reinterpret_cast<WNDPROC>(v); break;
    default: return 0;
    }
    return old;
}

ULONG_PTR GetClassLongA(HWND hWnd, int nIndex) { return GetClassLongPtrA(hWnd, nIndex); }
ULONG_PTR SetClassLongA(HWND hWnd, int nIndex, LONG_PTR v) { return SetClassLongPtrA(hWnd, nIndex, v); }

// ---------------------------------------------------------------------------
// Windows
// ---------------------------------------------------------------------------
HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y, int nWidth,
                     int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
    if (!IsUiThread() && LayerAlive()) {
        HWND r = nullptr;
        RunOnUiThread([&] {
            r = CreateWindowExA(dwExStyle, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight, hWndParent, hMenu,
                                hInstance, lpParam);
        });
        return r;
    }
    Window* w = CreateWindowObject(dwExStyle, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight, hWndParent,
                                   hMenu, hInstance, lpParam);
    return w ? w->hwnd : nullptr;
}

BOOL IsWindow(HWND hWnd) {
    // Called from other threads (PostMessageA): the window's state is read
    // under the lock it is found with, which DestroyTree takes to change it.
    if (!hWnd) return FALSE;
    std::lock_guard<std::recursive_mutex> lock(g_handleMutex);
    auto it = Handles().find(reinterpret_cast<uintptr_t>(hWnd));
    return it != Handles().end() && !it->second->destroyed;
}

BOOL IsWindowVisible(HWND hWnd) {
    Window* w = FromHwnd(hWnd);
    return w && ReallyVisible(w);
}

BOOL IsWindowEnabled(HWND hWnd) {
    Window* w = FromHwnd(hWnd);
    return w && w->Enabled();
}

BOOL IsChild(HWND hWndParent, HWND hWnd) {
    Window* p = FromHwnd(hWndParent);
    Window* w = FromHwnd(hWnd);
    if (!p || !w) return FALSE;
    for (w = w->IsChild() ? w->parent : nullptr; w; w = w->IsChild() ? w->parent : nullptr)
        if (w == p) return TRUE;
    return FALSE;
}

BOOL IsIconic(HWND hWnd) {
    Window* w = FromHwnd(hWnd);
    return w && w->widget && w->widget->isMinimized();
}

BOOL IsZoomed(HWND hWnd) {
    Window* w = FromHwnd(hWnd);
    return w && w->widget && w->widget->isMaximized();
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    Window* w = FromHwnd(hWnd);
    if (!w || w->destroyed) return FALSE;
    if (!IsUiThread()) {
        BOOL r = FALSE;
        RunOnUiThread([&] { r = ShowWindow(hWnd, nCmdShow); });
        return r;
    }
    bool wasVisible = w->Visible();
    if (nCmdShow == SW_HIDE) {
        if (!wasVisible) return FALSE;
        Send(w, WM_SHOWWINDOW, FALSE, 0);
        w = FromHwnd(hWnd);
        if (!w || w->destroyed) return TRUE;
        w->style &= ~WS_VISIBLE;
        Window* f = FocusWindow();
        if (f && IsDescendantOrSelf(f, w)) SetFocus(w->IsChild() && w->parent ? w->parent->hwnd : nullptr);
        if (g_active == hWnd) g_active = nullptr;
        if (w->widget) HideWidget(w->widget);
        return TRUE;
    }
    if (!wasVisible) {
        Send(w, WM_SHOWWINDOW, TRUE, 0);
        w = FromHwnd(hWnd);
        if (!w || w->destroyed) return FALSE;
        w->style |= WS_VISIBLE;
    }
    if (!w->widget) return wasVisible;
    MakeShownScrollBars(w);
    // The client size tells whether the window was resized: its frame can
    // come or go (none frames a window maximized where no window manager
    // runs) while its rectangle stays.
    const QSize clientBefore(w->ClientWidth(), w->ClientHeight());
    bool sizeChanged = false;
    if (!w->IsChild()) {
        if (nCmdShow == SW_SHOWMAXIMIZED || nCmdShow == SW_MAXIMIZE) {
            const QRect area = ScreenArea();
            if (!w->widget->isMaximized()) w->restoreRect = w->rect;
            w->unframed = !WindowManagerRuns(w->widget);
            if (w->unframed) {
                // Without a window manager the layer maximizes the window
                // itself: it covers the screen, its client area all of it.
                w->widget->setWindowState((w->widget->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
                w->nc = QMargins();
            }
            w->rect = RECT{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
            SyncGeometry(w);
            w->widget->showMaximized();
            // A platform that places a maximised window at once (the offscreen
            // one) has its geometry already: the window takes it now, so that
            // the one WM_SIZE tells the final size and Qt's resize event, when
            // it comes, changes nothing.
            if (const QWindow* win = w->widget->windowHandle(); win && win->geometry() != w->widget->geometry()) {
                SyncFrameFromQt(w, true, win->geometry());
                LayoutFrame(w);
                ResizeBacking(w);
            }
            sizeChanged = QSize(w->ClientWidth(), w->ClientHeight()) != clientBefore;
        } else if (nCmdShow == SW_MINIMIZE || nCmdShow == SW_SHOWMINIMIZED || nCmdShow == SW_SHOWMINNOACTIVE) {
            w->widget->showMinimized();
        } else if (nCmdShow == SW_RESTORE && w->widget->isMaximized() && !w->widget->isMinimized() &&
                   !IsRectEmpty(&w->restoreRect) && !WindowManagerRuns(w->widget)) {
            // Nor does anyone else give it back the rectangle it had.
            w->unframed = false;
            w->widget->setWindowState(w->widget->windowState() & ~Qt::WindowMaximized);
            w->rect = w->restoreRect;
            w->nc = NcMargins(w);
            SyncGeometry(w);
            w->widget->showNormal();
            sizeChanged = QSize(w->ClientWidth(), w->ClientHeight()) != clientBefore;
        } else if (nCmdShow == SW_RESTORE && (w->widget->isMaximized() || w->widget->isMinimized())) {
            w->widget->showNormal();
        } else {
            w->widget->show();
        }
        if (nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE && nCmdShow != SW_SHOWMINNOACTIVE) {
            g_active = hWnd;
            if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
                w->widget->raise();
                w->widget->activateWindow();
            }
        }
    } else {
        w->widget->show();
    }
    if (sizeChanged) {
        InvalidateClient(w, ClientRect(w), true);
        SendSize(w);
    }
    w = FromHwnd(hWnd);
    if (!w) return wasVisible;
    if (!wasVisible) {
        RestoreQtFocus(w);
        SchedulePaint();
    }
    return wasVisible;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
    Window* w = FromHwnd(hWnd);
    if (!w) return FALSE;
    if (!IsUiThread()) {
        BOOL r = FALSE;
        RunOnUiThread([&] { r = EnableWindow(hWnd, bEnable); });
        return r;
    }
    bool wasDisabled = !w->Enabled();
    if (bool(bEnable) == !wasDisabled) return wasDisabled;
    if (bEnable)
        w->style &= ~WS_DISABLED;
    else
        w->style |= WS_DISABLED;
    if (!bEnable) DropFocusWithin(w, true);
    if (!(w = FromHwnd(hWnd))) return wasDisabled;
    SyncEnabled(w);
    Send(w, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    if (w->cls && !w->cls->factory) InvalidateRect(hWnd, nullptr, TRUE);
    return wasDisabled;
}

BOOL UpdateWindow(HWND hWnd) {
    Window* w = FromHwnd(hWnd);
    if (!w) return FALSE;
    if (!IsUiThread()) {
        RunOnUiThread([&] { UpdateWindow(hWnd); });
        return TRUE;
    }
    PaintNow(w);
    return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    Window* w = FromHwnd(hWnd);
    if (!w || w->destroyed) return FALSE;
    if (!IsUiThread()) {
        BOOL r = FALSE;
        RunOnUiThread([&] { r = SetWindowPos(hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags); });
        return r;
    }
    RECT old = w->rect;
    RECT r = old;
    if (!(uFlags & SWP_NOMOVE)) {
        OffsetRect(&r, X - r.left, Y - r.top);
    }
    if (!(uFlags & SWP_NOSIZE)) {
        r.right = r.left + std::max(cx, 0);
        r.bottom = r.top + std::max(cy, 0);
    }
    bool hadH = w->hscroll.visible, hadV = w->vscroll.visible;
    w->rect = r;
    // The scroll-bar style bits take effect with a move/size.
    w->hscroll.visible = (w->style & WS_HSCROLL) != 0;
    w->vscroll.visible = (w->style & WS_VSCROLL) != 0;
    if (!(uFlags & SWP_NOZORDER) && w->parent) {
        auto& sib = w->parent->children;
        if (hWndInsertAfter == HWND_TOP || hWndInsertAfter == HWND_TOPMOST) {
            Unlink(w);
            sib.insert(sib.begin(), w);
            if (w->widget) w->widget->raise();
        } else if (hWndInsertAfter == HWND_BOTTOM) {
            Unlink(w);
            sib.push_back(w);
            if (w->widget) w->widget->lower();
        } else if (Window* after = FromHwnd(hWndInsertAfter); after && after->parent == w->parent && after != w) {
            Unlink(w);
            auto it = std::find(sib.begin(), sib.end(), after);
            sib.insert(it == sib.end() ? sib.end() : it + 1, w);
            if (w->widget && after->widget) w->widget->stackUnder(after->widget);
        }
    }
    bool moved = old.left != r.left || old.top != r.top;
    bool sized = (old.right - old.left) != (r.right - r.left) || (old.bottom - old.top) != (r.bottom - r.top) ||
                 hadH != w->hscroll.visible || hadV != w->vscroll.visible;
    SyncGeometry(w);
    if (uFlags & SWP_SHOWWINDOW) ShowWindow(hWnd, SW_SHOWNA);
    if (uFlags & SWP_HIDEWINDOW) ShowWindow(hWnd, SW_HIDE);
    w = FromHwnd(hWnd);
    if (!w) return TRUE;
    if (sized) {
        bool whole = (w->cls->style & (CS_HREDRAW | CS_VREDRAW)) != 0;
        if (whole || !(uFlags & SWP_NOREDRAW)) InvalidateClient(w, ClientRect(w), true);
        SendSize(w);
        w = FromHwnd(hWnd);
        if (!w) return TRUE;
    }
    if (moved) Send(w, WM_MOVE, 0, MAKELPARAM(w->rect.left, w->rect.top));
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    Window* w = FromHwnd(hWnd);
    if (!w) return FALSE;
    BOOL ok = SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
                           SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
    if (bRepaint && (w = FromHwnd(hWnd))) InvalidateRect(hWnd, nullptr, TRUE);
    return ok;
}

BOOL BringWindowToTop(HWND hWnd) { return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    Window* w = FromHwnd(hWnd);
    if (!w || !lpRect) return FALSE;
    *lpRect = RECT{0, 0, w->ClientWidth(), w->ClientHeight()};
    return TRUE;
}

// The screen position of the window's rectangle (child: of its client area,
// which is its rectangle) and of its client area.
static POINT WindowOrigin(Window* w);
static POINT ClientOrigin(Window* w) {
    POINT p = WindowOrigin(w);
    if (w && !w->IsChild()) {
        p.x += w->nc.left();
        p.y += w->nc.top();
    }
    return p;
}

static POINT WindowOrigin(Window* w) {
    if (!w) return POINT{0, 0};
    if (!w->IsChild()) {
        // Once mapped, the window manager's frame decides where the client is.
        SyncFrameFromQt(w, false);
        return POINT{w->rect.left, w->rect.top};
    }
    POINT p = w->parent ? ClientOrigin(w->parent) : POINT{0, 0};
    p.x += w->rect.left;
    p.y += w->rect.top;
    return p;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    Window* w = FromHwnd(hWnd);
    if (!w || !lpRect) return FALSE;
    POINT o = WindowOrigin(w);
    *lpRect = RECT{o.x, o.y, o.x + (w->rect.right - w->rect.left), o.y + (w->rect.bottom - w->rect.top)};
    return TRUE;
}

BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL, DWORD dwExStyle) {
    if (!lpRect) return FALSE;
    QMargins m = StyleMargins(dwStyle, dwExStyle);
    lpRect->left -= m.left();
    lpRect->top -= m.top();
    lpRect->right += m.right();
    lpRect->bottom += m.bottom();
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu) {
    return AdjustWindowRectEx(lpRect, dwStyle, bMenu, 0);
}

BOOL ClientToScreen(HWND hWnd, LPPOINT p) {
    Window* w = FromHwnd(hWnd);
    if (!w || !p) return FALSE;
    POINT o = ClientOrigin(w);
    p->x += o.x;
    p->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT p) {
    Window* w = FromHwnd(hWnd);
    if (!w || !p) return FALSE;
    POINT o = ClientOrigin(w);
    p->x -= o.x;
    p->y -= o.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT pts, UINT n) {
    POINT a{0, 0}, b{0, 0};
    if (from) ClientToScreen(from, &a);
    if (to) ClientToScreen(to, &b);
    for (UINT i = 0; i < n; ++i) {
        pts[i].x += a.x - b.x;
        pts[i].y += a.y - b.y;
    }
    return MAKELONG(a.x - b.x, a.y - b.y);
}

HWND GetParent(HWND hWnd) {
    Window* w = FromHwnd(hWnd);
    if (!w) return nullptr;
    if (w->IsChild()) return w->parent ? w->parent->hwnd : nullptr;
    return w->owner;
}

HWND SetParent(HWND hWndChild, HWND hWndNewParent) {
    Window* w = FromHwnd(hWndChild);
    Window* p = FromHwnd(hWndNewParent);
    if (!w || !w->IsChild() || !p || !w->parent) return nullptr;
    HWND old = w->parent->hwnd;
    Unlink(w);
    w->parent = p;
    p->children.push_back(w);
    if (w->widget) {
        w->widget->setParent(p->client);
        SyncGeometry(w);
        SyncVisible(w);
    }
    return old;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    Window* w = FromHwnd(hwnd);
    if (!w) return nullptr;
    if (flags == GA_PARENT) return w->IsChild() && w->parent ? w->parent->hwnd : nullptr;
    Window* top = TopLevelOf(w);
    if (flags == GA_ROOTOWNER)
        while (top && top->owner && FromHwnd(top->owner)) top = TopLevelOf(FromHwnd(top->owner));
    return top ? top->hwnd : nullptr;
}

HWND GetWindow(HWND hWnd, UINT uCmd) {
    Window* w = FromHwnd(hWnd);
    if (!w) return nullptr;
    switch (uCmd) {
    case GW_CHILD: return w->children.empty() ? nullptr : w->children.front()->hwnd;
    case GW_OWNER: return w->owner;
    case GW_HWNDFIRST:
    case GW_HWNDLAST:
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
        if (!w->parent) return nullptr;
        auto& sib = w->parent->children;
        if (uCmd == GW_HWNDFIRST) return sib.front()->hwnd;
        if (uCmd == GW_HWNDLAST) return sib.back()->hwnd;
        auto it = std::find(sib.begin(), sib.end(), w);
        if (it == sib.end()) return nullptr;
        if (uCmd == GW_HWNDNEXT) return (it + 1) == sib.end() ? nullptr : (*(it + 1))->hwnd;
        return it == sib.begin() ? nullptr : (*(it - 1))->hwnd;
    }
    }
    return nullptr;
}

HWND GetTopWindow(HWND hWnd) { return hWnd ? GetWindow(hWnd, GW_CHILD) : GetActiveWindow(); }

HWND GetDesktopWindow(void) { return nullptr; }

HWND FindWindowA(LPCSTR cls, LPCSTR title) {
    std::lock_guard<std::recursive_mutex> lock(g_handleMutex);
    HWND best = nullptr;
    for (auto& kv : Handles()) {
        Window* w = kv.second;
        if (w->IsChild() || w->destroyed) continue;
        if (cls && !SameName(w->cls->name, cls)) continue;
        if (title && w->text != title) continue;
        if (!best || w->hwnd < best) best = w->hwnd;
    }
    return best;
}

static Window* ChildAt(Window* w, POINT p, bool skipHiddenDisabled) {
    for (Window* c : w->children) {
        if (skipHiddenDisabled && (!c->Visible() || !c->Enabled())) continue;
        if (p.x >= c->rect.left && p.x < c->rect.right && p.y >= c->rect.top && p.y < c->rect.bottom) return c;
    }
    return nullptr;
}

HWND ChildWindowFromPoint(HWND hWndParent, POINT pt) {
    Window* w = FromHwnd(hWndParent);
    if (!w) return nullptr;
    if (pt.x < 0 || pt.y < 0 || pt.x >= w->ClientWidth() || pt.y >= w->ClientHeight()) return nullptr;
    Window* c = ChildAt(w, pt, false);
    return c ? c->hwnd : hWndParent;
}

HWND WindowFromPoint(POINT pt) {
    QWidget* wid = QApplication::widgetAt(QPoint(pt.x, pt.y));
    Window* w = FromWidget(wid);
    // Hidden and disabled children are passed over: their parent answers.
    while (w && w->IsChild() && w->parent && (!w->Enabled() || !w->Visible())) w = w->parent;
    return w ? w->hwnd : nullptr;
}

LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex) {
    Window* w = FromHwnd(hWnd);
    if (!w) return 0;
    switch (nIndex) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->hInstance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(GetParent(hWnd));
    case GWLP_ID: return w->id;
    case GWL_STYLE: return LONG_PTR(LONG(w->style));
    case GWL_EXSTYLE: return LONG_PTR(LONG(w->exStyle));
    case GWLP_USERDATA: return w->userData;
    }
    if (nIndex >= 0) {
        size_t slot = size_t(nIndex) / sizeof(LONG_PTR);
        return slot < w->extra.size() ? w->extra[slot] : 0;
    }
    return 0;
}

LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR v) {
    Window* w = FromHwnd(hWnd);
    if (!w) return 0;
    LONG_PTR old = GetWindowLongPtrA(hWnd, nIndex);
    switch (nIndex) {
    case GWLP_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(v); return old;
    case GWLP_HINSTANCE: w->hInstance = reinterpret_cast<HINSTANCE>(v); return old;
    case GWLP_HWNDPARENT:
        if (!w->IsChild()) w->owner = reinterpret_cast<HWND>(v);
        return old;
    case GWLP_ID: w->id = v; return old;
    case GWL_STYLE: {
        DWORD ns = DWORD(v);
        ns = (ns & ~WS_VISIBLE) | (w->style & WS_VISIBLE);  // visibility changes through ShowWindow
        bool enableChanged = ((ns ^ w->style) & WS_DISABLED) != 0;
        w->style = ns;
        if (enableChanged) SyncEnabled(w);
        return old;
    }
    case GWL_EXSTYLE: w->exStyle = DWORD(v); return old;
    case GWLP_USERDATA: w->userData = v; return old;
    }
    if (nIndex >= 0) {
        size_t slot = size_t(nIndex) / sizeof(LONG_PTR);
        if (slot >= w->extra.size()) w->extra.resize(slot + 1, 0);
        w->extra[slot] = v;
    }
    return old;
}

LONG_PTR GetWindowLongA(HWND hWnd, int nIndex) { return GetWindowLongPtrA(hWnd, nIndex); }
LONG_PTR SetWindowLongA(HWND hWnd, int nIndex, LONG_PTR v) { return SetWindowLongPtrA(hWnd, nIndex, v); }

int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    if (!lpString || nMaxCount <= 0) return 0;
    lpString[0] = '\0';
    if (!IsWindow(hWnd)) return 0;
    return int(SendMessageA(hWnd, WM_GETTEXT, WPARAM(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthA(HWND hWnd) {
    if (!IsWindow(hWnd)) return 0;
    return int(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    if (!IsWindow(hWnd)) return FALSE;
    return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString ? lpString : "")) != CB_ERR;
}

int GetDlgCtrlID(HWND hWnd) {
    Window* w = FromHwnd(hWnd);
    return w ? int(w->id) : 0;
}

// ---------------------------------------------------------------------------
// Focus, activation, capture
// ---------------------------------------------------------------------------
HWND SetFocus(HWND hWnd) {
    if (!IsUiThread()) {
        HWND r = nullptr;
        RunOnUiThread([&] { r = SetFocus(hWnd); });
        return r;
    }
    Window* w = FromHwnd(hWnd);
    if (hWnd && (!w || w->destroyed)) return nullptr;
    HWND old = g_focus;
    SetModelFocus(w, false);
    return FromHwnd(old) ? old : nullptr;
}

HWND GetFocus(void) { return FromHwnd(g_focus) ? g_focus : nullptr; }

HWND GetActiveWindow(void) {
    if (FromHwnd(g_active)) return g_active;
    if (QWidget* a = QApplication::activeWindow())
        if (Window* w = FromWidget(a)) return TopLevelOf(w)->hwnd;
    return nullptr;
}

HWND SetActiveWindow(HWND hWnd) {
    HWND old = GetActiveWindow();
    Window* w = FromHwnd(hWnd);
    if (w && !w->IsChild()) {
        g_active = hWnd;
        if (w->widget) w->widget->activateWindow();
    }
    return old;
}

BOOL SetForegroundWindow(HWND hWnd) { return SetActiveWindow(hWnd) != nullptr || IsWindow(hWnd); }
HWND GetForegroundWindow(void) { return GetActiveWindow(); }

HWND SetCapture(HWND hWnd) {
    HWND old = g_capture;
    g_capture = hWnd;
    if (Window* w = FromHwnd(hWnd); w && w->client) w->client->grabMouse();
    return old;
}

BOOL ReleaseCapture(void) {
    if (Window* w = FromHwnd(g_capture); w && w->client) w->client->releaseMouse();
    g_capture = nullptr;
    return TRUE;
}

HWND GetCapture(void) { return FromHwnd(g_capture) ? g_capture : nullptr; }

// ---------------------------------------------------------------------------
// Shutdown: widgets go before the QApplication, without messages.
// ---------------------------------------------------------------------------
namespace w32 {
void ShutdownLayer() {
    EndOpenBoxes();
    CollectDead();
    std::vector<Window*> tops;
    {
        std::lock_guard<std::recursive_mutex> lock(g_handleMutex);
        for (auto& kv : Handles())
            if (!kv.second->IsChild()) tops.push_back(kv.second);
    }
    for (Window* w : tops) {
        if (w->widget) {
            w->widget->setProperty(kHwndProperty, QVariant());
            delete w->widget;
        }
    }
    {
        std::lock_guard<std::recursive_mutex> lock(g_handleMutex);
        for (auto& kv : Handles()) {
            kv.second->widget = nullptr;
            kv.second->client = nullptr;
            kv.second->destroyed = true;
        }
    }
    MarkLayerDead();
}
}  // namespace w32
