// GBK text helpers, cursors and icons, and the default window procedure.
#include <QtCore/QPointer>
#include <QtGui/QCursor>
#include <QtGui/QGuiApplication>
#include <QtGui/QIcon>
#include <QtWidgets/QApplication>
#include <QtWidgets/QStyle>

#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "core.h"
#include "platform/gbk/gbk.h"
#include "res/resdata.h"

namespace w32 {

// ---------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------
QString ToQt(std::string_view s) {
    std::string u = gbk::ToUtf8(s);
    return QString::fromUtf8(u.data(), qsizetype(u.size()));
}

QString ToQt(const char* s, int len) {
    if (!s) return QString();
    size_t n = len < 0 ? strlen(s) : strnlen(s, size_t(len));
    return ToQt(std::string_view(s, n));
}

std::string FromQt(const QString& s) {
    QByteArray u = s.toUtf8();
    return gbk::FromUtf8(std::string_view(u.constData(), size_t(u.size())));
}

int CopyText(char* buf, int size, std::string_view text) {
    if (!buf || size <= 0) return 0;
    return int(gbk::CopyCut(buf, size_t(size), text));
}

// ---------------------------------------------------------------------------
// Cursors and icons: handles to small objects that live for the whole run.
// ---------------------------------------------------------------------------
namespace {
struct CursorObj {
    int id;
    Qt::CursorShape shape;
};
struct IconObj {
    QImage image;
    int systemId = 0;  // a system icon whose image is not made yet
};
std::mutex g_iconMutex;
std::map<int, CursorObj*>& Cursors() {
    static auto* m = new std::map<int, CursorObj*>;
    return *m;
}
std::vector<IconObj*>& Icons() {
    static auto* v = new std::vector<IconObj*>;
    return *v;
}
HCURSOR g_cursor = nullptr;

Qt::CursorShape ShapeOfId(int id) {
    switch (id) {
    case 32513: return Qt::IBeamCursor;
    case 32514: return Qt::WaitCursor;
    case 32515: return Qt::CrossCursor;
    case 32516: return Qt::UpArrowCursor;
    case 32642: return Qt::SizeFDiagCursor;
    case 32643: return Qt::SizeBDiagCursor;
    case 32644: return Qt::SizeHorCursor;
    case 32645: return Qt::SizeVerCursor;
    case 32646: return Qt::SizeAllCursor;
    case 32648: return Qt::ForbiddenCursor;
    case 32649: return Qt::PointingHandCursor;
    case 32650: return Qt::BusyCursor;
    case 32651: return Qt::WhatsThisCursor;
    }
    return Qt::ArrowCursor;
}

CursorObj* CursorOf(HCURSOR h) {
    std::lock_guard<std::mutex> lock(g_iconMutex);
    for (auto& kv : Cursors())
        if (reinterpret_cast<HCURSOR>(kv.second) == h) return kv.second;
    return nullptr;
}

IconObj* IconOf(HICON h) {
    std::lock_guard<std::mutex> lock(g_iconMutex);
    for (IconObj* i : Icons())
        if (reinterpret_cast<HICON>(i) == h) return i;
    return nullptr;
}

// The picture of a system icon (IDI_*), 32 by 32, from the style.
QImage SystemIconImage(int id) {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    if (QApplication::instance() && qApp->style()) {
        QStyle::StandardPixmap sp = QStyle::SP_DesktopIcon;
        switch (id) {
        case 32513: sp = QStyle::SP_MessageBoxCritical; break;
        case 32514: sp = QStyle::SP_MessageBoxQuestion; break;
        case 32515: sp = QStyle::SP_MessageBoxWarning; break;
        case 32516: sp = QStyle::SP_MessageBoxInformation; break;
        }
        img = qApp->style()->standardIcon(sp).pixmap(32, 32).toImage();
    }
    return img;
}

HICON AddIcon(const QImage& img) {
    auto* i = new IconObj{img};
    std::lock_guard<std::mutex> lock(g_iconMutex);
    Icons().push_back(i);
    return reinterpret_cast<HICON>(i);
}
}  // namespace

HCURSOR CursorForId(int id) {
    std::lock_guard<std::mutex> lock(g_iconMutex);
    CursorObj*& c = Cursors()[id];
    if (!c) c = new CursorObj{id, ShapeOfId(id)};
    return reinterpret_cast<HCURSOR>(c);
}

Qt::CursorShape CursorShape(HCURSOR h) {
    CursorObj* c = CursorOf(h);
    return c ? c->shape : Qt::ArrowCursor;
}

int CursorId(HCURSOR h) {
    CursorObj* c = CursorOf(h);
    return c ? c->id : 0;
}

// The widget under the pointer shows the cursor last set (Win32 keeps the
// shape until someone sets another).
QPointer<QWidget> g_cursorWidget;
void ApplyCursorTo(QWidget* widget) {
    g_cursorWidget = widget;
    if (widget && g_cursor) {
        Qt::CursorShape s = CursorShape(g_cursor);
        if (widget->cursor().shape() != s) widget->setCursor(s);
    }
}

QImage ImageOfIcon(HICON h) {
    IconObj* i = IconOf(h);
    if (!i) return QImage();
    std::lock_guard<std::mutex> lock(g_iconMutex);
    if (i->systemId) {
        i->image = SystemIconImage(i->systemId);
        i->systemId = 0;
    }
    return i->image;
}

}  // namespace w32

using namespace w32;

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
    if (IS_INTRESOURCE(name)) return CursorForId(int(reinterpret_cast<uintptr_t>(name)));
    return CursorForId(32512);
}

HCURSOR SetCursor(HCURSOR h) {
    HCURSOR old = g_cursor;
    g_cursor = h;
    if (g_cursorWidget && h) g_cursorWidget->setCursor(CursorShape(h));
    return old;
}

HCURSOR GetCursor(void) { return g_cursor; }

BOOL GetCursorPos(LPPOINT p) {
    if (!p) return FALSE;
    QPoint q = QCursor::pos();
    *p = POINT{q.x(), q.y()};
    return TRUE;
}

BOOL SetCursorPos(int X, int Y) {
    QCursor::setPos(X, Y);
    return TRUE;
}

BOOL DestroyCursor(HCURSOR) { return TRUE; }

HICON LoadIconA(HINSTANCE, LPCSTR name) {
    static std::map<std::string, HICON>* cache = new std::map<std::string, HICON>;
    if (IS_INTRESOURCE(name) && reinterpret_cast<uintptr_t>(name) >= 32512) {
        std::string key = "#sys" + std::to_string(reinterpret_cast<uintptr_t>(name));
        auto it = cache->find(key);
        if (it != cache->end()) return it->second;
        // The picture is drawn from the style when first asked for: a class
        // icon that no window shows costs nothing.
        auto* i = new IconObj{QImage(), int(reinterpret_cast<uintptr_t>(name))};
        {
            std::lock_guard<std::mutex> lock(g_iconMutex);
            Icons().push_back(i);
        }
        HICON h = reinterpret_cast<HICON>(i);
        (*cache)[key] = h;
        return h;
    }
    const w32res::BinaryData* d = w32res::FindIcon(name);
    if (!d || !d->data) return nullptr;
    std::string key =
        IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name)) : std::string(name);
    for (auto& ch : key) ch = char(tolower((unsigned char)ch));
    auto it = cache->find(key);
    if (it != cache->end()) return it->second;
    QImage img = DecodeImage(d->data, d->size, "ICO");
    if (img.isNull()) return nullptr;
    HICON h = AddIcon(img.convertToFormat(QImage::Format_ARGB32));
    (*cache)[key] = h;
    return h;
}

BOOL DestroyIcon(HICON) { return TRUE; }

HANDLE LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int, int, UINT) {
    switch (type) {
    case IMAGE_BITMAP: return LoadBitmapA(hInst, name);
    case IMAGE_ICON: return LoadIconA(hInst, name);
    case IMAGE_CURSOR: return LoadCursorA(hInst, name);
    }
    return nullptr;
}

BOOL MessageBeep(UINT) {
    if (QApplication::instance()) QApplication::beep();
    return TRUE;
}

// ---------------------------------------------------------------------------
// SHORT GetKeyState: the state at the time of the message being processed.
// ---------------------------------------------------------------------------
namespace w32 {
Qt::KeyboardModifiers g_mods;
Qt::MouseButtons g_buttons;
bool g_modsKnown = false;
void SetCurrentModifiers(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
    g_mods = m;
    g_buttons = b;
    g_modsKnown = true;
}
}  // namespace w32

SHORT GetKeyState(int vk) {
    Qt::KeyboardModifiers m = g_modsKnown ? g_mods : QGuiApplication::keyboardModifiers();
    Qt::MouseButtons b = g_modsKnown ? g_buttons : QGuiApplication::mouseButtons();
    bool down = false;
    switch (vk) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT: down = m & Qt::ShiftModifier; break;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL: down = m & Qt::ControlModifier; break;
    case VK_MENU: down = m & Qt::AltModifier; break;
    case VK_LBUTTON: down = b & Qt::LeftButton; break;
    case VK_RBUTTON: down = b & Qt::RightButton; break;
    case VK_MBUTTON: down = b & Qt::MiddleButton; break;
    }
    return down ? SHORT(0x8000) : 0;
}

SHORT GetAsyncKeyState(int vKey) { return GetKeyState(vKey); }

// ---------------------------------------------------------------------------
// DefWindowProcA
// ---------------------------------------------------------------------------
LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FromHwnd(hWnd);
    if (!w) return 0;
    switch (Msg) {
    case WM_NCCREATE: return TRUE;
    case WM_CLOSE: DestroyWindow(hWnd); return 0;
    case WM_ERASEBKGND: {
        HBRUSH br = w->cls->hbrBackground;
        if (!br) return 0;
        RECT rc{0, 0, w->ClientWidth(), w->ClientHeight()};
        FillRect(reinterpret_cast<HDC>(wParam), &rc, br);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hWnd, &ps);
        EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_SETCURSOR: {
        if (w->IsChild() && w->parent) {
            if (Send(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
            w = FromHwnd(hWnd);
            if (!w) return TRUE;
        }
        short hit = short(LOWORD(lParam));
        if (hit == HTCLIENT) {
            if (w->cls->hCursor) SetCursor(w->cls->hCursor);
            return TRUE;
        }
        if (hit != HTERROR) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        return FALSE;
    }
    case WM_MOUSEWHEEL:
        if (w->IsChild() && w->parent) return Send(w->parent, Msg, wParam, lParam);
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        if (Msg == WM_CTLCOLOREDIT || Msg == WM_CTLCOLORLISTBOX) {
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_GETTEXT: {
        char* buf = reinterpret_cast<char*>(lParam);
        return CopyText(buf, int(wParam), w->text);
    }
    case WM_GETTEXTLENGTH: return LRESULT(w->text.size());
    case WM_SETTEXT: {
        const char* t = reinterpret_cast<const char*>(lParam);
        w->text = t ? t : "";
        if (!w->IsChild() && w->widget) w->widget->setWindowTitle(ToQt(w->text));
        return TRUE;
    }
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wParam);
        if (lParam) InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(w->font);
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE: Send(w, WM_CLOSE, 0, 0); return 0;
        case SC_MAXIMIZE: ShowWindow(hWnd, SW_SHOWMAXIMIZED); return 0;
        case SC_MINIMIZE: ShowWindow(hWnd, SW_MINIMIZE); return 0;
        case SC_RESTORE: ShowWindow(hWnd, SW_RESTORE); return 0;
        }
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 asks the top-level window to close.
        if (wParam == VK_F4 && (lParam & (LPARAM(1) << 29))) {
            Send(TopLevelOf(w), WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        }
        [[fallthrough]];
    case WM_SYSKEYUP:
        // Other keys with Alt reach a control's widget as its plain keys do,
        // without text (Alt types no character).
        if (w->cls->builtin) DefaultInput(w, Msg, wParam, lParam, false);
        return 0;
    case WM_MOUSEACTIVATE: return 1;  // MA_ACTIVATE
    case WM_SETICON: return 0;
    }
    return 0;
}
