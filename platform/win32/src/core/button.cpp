// The BUTTON class: push buttons, check boxes, radio buttons, group boxes
// (Qt widgets) and owner-drawn buttons (a canvas painted by WM_DRAWITEM).
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>

#include "core.h"

namespace w32 {
namespace {

struct ButtonState : ControlState {
    int check = BST_UNCHECKED;
    bool pressed = false;   // owner-drawn: the pressed look
    bool tracking = false;  // owner-drawn: left button went down on it
    HANDLE image = nullptr;
};

// Win32 check boxes and radio buttons take clicks anywhere in their window.
class WholeCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& p) const override { return rect().contains(p); }
};

class WholeRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& p) const override { return rect().contains(p); }
};

UINT Kind(const Window* w) { return w->style & BS_TYPEMASK; }
bool IsCheck(UINT k) { return k == BS_CHECKBOX || k == BS_AUTOCHECKBOX || k == BS_3STATE || k == BS_AUTO3STATE; }
bool IsRadio(UINT k) { return k == BS_RADIOBUTTON || k == BS_AUTORADIOBUTTON; }
bool IsOwnerDraw(UINT k) { return k == BS_OWNERDRAW || k == BS_USERBUTTON; }

ButtonState* St(Window* w) { return w ? w->State<ButtonState>() : nullptr; }

void ShowCheck(Window* w) {
    auto* b = qobject_cast<QAbstractButton*>(w->widget);
    ButtonState* s = St(w);
    if (!b || !s) return;
    QSignalBlocker block(b);
    if (auto* cb = qobject_cast<QCheckBox*>(b))
        cb->setCheckState(s->check == BST_INDETERMINATE ? Qt::PartiallyChecked
                          : s->check == BST_CHECKED     ? Qt::Checked
                                                        : Qt::Unchecked);
    else
        b->setChecked(s->check == BST_CHECKED);
}

// The other auto radio buttons of w's group lose their check.
void UncheckGroup(Window* w) {
    Window* p = w->parent;
    if (!p) return;
    auto& kids = p->children;
    auto pos = std::find(kids.begin(), kids.end(), w);
    if (pos == kids.end()) return;
    size_t start = 0, end = 0;
    GroupBounds(kids, size_t(pos - kids.begin()), &start, &end);
    for (size_t k = start; k < end; ++k) {
        Window* c = kids[k];
        if (c == w || c->cls != w->cls || Kind(c) != BS_AUTORADIOBUTTON) continue;
        if (ButtonState* s = St(c); s && s->check != BST_UNCHECKED) {
            s->check = BST_UNCHECKED;
            ShowCheck(c);
        }
    }
}

// A click of a Qt-drawn button (mouse, Space or BM_CLICK).
void OnClicked(HWND h) {
    Window* w = FromHwnd(h);
    ButtonState* s = St(w);
    if (!s) return;
    switch (Kind(w)) {
    case BS_AUTOCHECKBOX: s->check = s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED; break;
    case BS_AUTO3STATE: s->check = (s->check + 1) % 3; break;
    case BS_AUTORADIOBUTTON:
        s->check = BST_CHECKED;
        UncheckGroup(w);
        break;
    }
    ShowCheck(w);
    NotifyCommand(w, BN_CLICKED);
}

QWidget* MakeButton(Window* w, QWidget* parent) {
    w->state = std::make_unique<ButtonState>();
    UINT k = Kind(w);
    QString text = ToQt(w->text);
    HWND h = w->hwnd;
    if (IsOwnerDraw(k)) {
        QWidget* c = MakeCanvas(w, parent);
        c->setFocusPolicy(Qt::ClickFocus);
        return c;
    }
    if (k == BS_GROUPBOX) {
        auto* g = new QGroupBox(text, parent);
        g->setAttribute(Qt::WA_TransparentForMouseEvents);
        g->setFocusPolicy(Qt::NoFocus);
        return g;
    }
    QAbstractButton* b = nullptr;
    if (IsCheck(k)) {
        auto* cb = new WholeCheckBox(text, parent);
        cb->setTristate(k == BS_3STATE || k == BS_AUTO3STATE);
        b = cb;
    } else if (IsRadio(k)) {
        auto* rb = new WholeRadioButton(text, parent);
        rb->setAutoExclusive(false);
        b = rb;
    } else {
        auto* pb = new QPushButton(text, parent);
        pb->setAutoDefault(false);
        pb->setDefault(k == BS_DEFPUSHBUTTON);
        b = pb;
    }
    b->setFocusPolicy(Qt::StrongFocus);
    b->setFont(DefaultControlFont());
    QObject::connect(b, &QAbstractButton::clicked, b, [h] { OnClicked(h); });
    return b;
}

void Redraw(HWND h) {
    InvalidateRect(h, nullptr, FALSE);
    UpdateWindow(h);
}

LRESULT OwnerDrawMouse(Window* w, UINT msg, WPARAM wp, LPARAM lp) {
    ButtonState* s = St(w);
    HWND h = w->hwnd;
    switch (msg) {
    case WM_LBUTTONDOWN:
        s->tracking = true;
        s->pressed = true;
        SetFocus(h);
        Redraw(h);
        return 0;
    case WM_LBUTTONDBLCLK: NotifyCommand(w, BN_DOUBLECLICKED); return 0;
    case WM_MOUSEMOVE:
        if (s->tracking) {
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            RECT rc{0, 0, w->ClientWidth(), w->ClientHeight()};
            bool in = PtInRect(&rc, p);
            if (in != s->pressed) {
                s->pressed = in;
                Redraw(h);
            }
        }
        return DefWindowProcA(h, msg, wp, lp);
    case WM_LBUTTONUP: {
        if (!s->tracking) return 0;
        s->tracking = false;
        bool wasPressed = s->pressed;
        s->pressed = false;
        Redraw(h);
        if (wasPressed && (w = FromHwnd(h))) NotifyCommand(w, BN_CLICKED);
        return 0;
    }
    }
    return 0;
}

LRESULT CALLBACK ButtonProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = FromHwnd(h);
    ButtonState* s = St(w);
    if (!w || !s) return DefWindowProcA(h, msg, wp, lp);
    UINT k = Kind(w);
    switch (msg) {
    case WM_GETDLGCODE:
        if (k == BS_GROUPBOX) return DLGC_STATIC;
        if (IsRadio(k)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
        if (IsCheck(k)) return DLGC_BUTTON;
        if (k == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BM_GETCHECK: return IsCheck(k) || IsRadio(k) ? s->check : BST_UNCHECKED;
    case BM_SETCHECK:
        if (IsCheck(k) || IsRadio(k)) {
            int v = int(wp);
            if (v == BST_INDETERMINATE && !(k == BS_3STATE || k == BS_AUTO3STATE)) v = BST_CHECKED;
            s->check = v == BST_UNCHECKED ? BST_UNCHECKED : v;
            ShowCheck(w);
        }
        return 0;
    case BM_GETSTATE: {
        LRESULT r = s->check;
        if (s->pressed || (w->widget && qobject_cast<QAbstractButton*>(w->widget) &&
                           static_cast<QAbstractButton*>(w->widget)->isDown()))
            r |= BST_PUSHED;
        if (GetFocus() == h) r |= BST_FOCUS;
        return r;
    }
    case BM_SETSTATE:
        if (IsOwnerDraw(k)) {
            s->pressed = wp != 0;
            Redraw(h);
        } else if (auto* b = qobject_cast<QAbstractButton*>(w->widget)) {
            b->setDown(wp != 0);
        }
        return 0;
    case BM_SETSTYLE: {
        DWORD ns = (w->style & ~0xFFFF) | DWORD(wp & 0xFFFF);
        w->style = ns;
        if (auto* pb = qobject_cast<QPushButton*>(w->widget)) pb->setDefault((ns & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        return 0;
    }
    case BM_CLICK:
        if (!w->Enabled()) return 0;
        if (auto* b = qobject_cast<QAbstractButton*>(w->widget))
            b->click();
        else if (IsOwnerDraw(k))
            NotifyCommand(w, BN_CLICKED);
        return 0;
    case BM_SETIMAGE: {
        HANDLE old = s->image;
        s->image = reinterpret_cast<HANDLE>(lp);
        if (auto* b = qobject_cast<QAbstractButton*>(w->widget)) {
            QImage img = wp == IMAGE_ICON ? ImageOfIcon(reinterpret_cast<HICON>(lp))
                                          : ImageOfBitmap(reinterpret_cast<HBITMAP>(lp));
            b->setIcon(QIcon(QPixmap::fromImage(img)));
            b->setIconSize(img.size());
        }
        return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE: return reinterpret_cast<LRESULT>(s->image);
    case WM_SETTEXT: {
        DefWindowProcA(h, msg, wp, lp);
        if (auto* b = qobject_cast<QAbstractButton*>(w->widget)) b->setText(ToQt(w->text));
        if (auto* g = qobject_cast<QGroupBox*>(w->widget)) g->setTitle(ToQt(w->text));
        if (IsOwnerDraw(k)) InvalidateRect(h, nullptr, FALSE);
        return TRUE;
    }
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wp);
        if (w->widget && !IsOwnerDraw(k)) w->widget->setFont(FontOf(w->font));
        if (lp) InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND:
        if (IsOwnerDraw(k)) return 1;
        break;
    case WM_PAINT:
        if (IsOwnerDraw(k)) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_BUTTON;
            dis.CtlID = UINT(w->id);
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState =
                (s->pressed ? ODS_SELECTED : 0) | (w->Enabled() ? 0 : ODS_DISABLED) | (GetFocus() == h ? ODS_FOCUS : 0);
            dis.hwndItem = h;
            dis.hDC = dc;
            dis.rcItem = RECT{0, 0, w->ClientWidth(), w->ClientHeight()};
            if (w->parent) Send(w->parent, WM_DRAWITEM, WPARAM(w->id), reinterpret_cast<LPARAM>(&dis));
            EndPaint(h, &ps);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        if (IsOwnerDraw(k)) InvalidateRect(h, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
        if (IsOwnerDraw(k)) return OwnerDrawMouse(w, msg, wp, lp);
        // A click gives the button the focus.
        if ((msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) && k != BS_GROUPBOX && GetFocus() != h) {
            SetFocus(h);
            if (!(w = FromHwnd(h))) return 0;
        }
        DefaultInput(w, msg, wp, lp);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (IsOwnerDraw(k)) {
            // Space clicks an owner-drawn button.
            if (wp == VK_SPACE && msg == WM_KEYUP) NotifyCommand(w, BN_CLICKED);
            return 0;
        }
        DefaultInput(w, msg, wp, lp);
        return 0;
    case WM_CHAR: return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

}  // namespace

void RegisterButtonClass() {
    RegisterBuiltinClass("BUTTON", CS_DBLCLKS | CS_PARENTDC, ButtonProc, LoadCursorA(nullptr, IDC_ARROW), nullptr,
                         MakeButton);
}

}  // namespace w32
