// The STATIC class (drawn on a canvas with the colours its parent gives in
// WM_CTLCOLORSTATIC) and the registration of the standard controls.
#include <QtGui/QPainter>
#include <QtWidgets/QWidget>

#include "core.h"
#include "res/resdata.h"

namespace w32 {

void RegisterButtonClass();
void RegisterEditClass();
void RegisterComboClass();

namespace {

struct StaticState : ControlState {
    HANDLE image = nullptr;
    UINT imageType = IMAGE_BITMAP;
};

UINT Kind(const Window* w) { return w->style & SS_TYPEMASK; }

QImage ImageOf(const StaticState& s) {
    return s.imageType == IMAGE_BITMAP ? ImageOfBitmap(static_cast<HBITMAP>(s.image))
                                       : ImageOfIcon(static_cast<HICON>(s.image));
}

QWidget* MakeStatic(Window* w, QWidget* parent) {
    auto st = std::make_unique<StaticState>();
    UINT k = Kind(w);
    // Bitmap and icon statics name their resource in the text.
    if ((k == SS_BITMAP || k == SS_ICON) && !w->text.empty()) {
        if (k == SS_BITMAP) {
            st->image = LoadBitmapA(w->hInstance, w->text.c_str());
            st->imageType = IMAGE_BITMAP;
        } else {
            st->image = LoadIconA(w->hInstance, w->text.c_str());
            st->imageType = IMAGE_ICON;
        }
    }
    w->state = std::move(st);
    QWidget* c = MakeCanvas(w, parent);
    if (!(w->style & SS_NOTIFY)) c->setAttribute(Qt::WA_TransparentForMouseEvents);
    return c;
}

void FitImage(Window* w) {
    auto* s = w->State<StaticState>();
    if (!s || !s->image || (w->style & SS_CENTERIMAGE)) return;
    QImage img = ImageOf(*s);
    if (img.isNull()) return;
    SetWindowPos(w->hwnd, nullptr, 0, 0, img.width(), img.height(), SWP_NOMOVE | SWP_NOZORDER);
}

void Paint(Window* w) {
    HWND h = w->hwnd;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc{0, 0, w->ClientWidth(), w->ClientHeight()};
    UINT k = Kind(w);
    SelectObject(dc, w->font ? static_cast<HGDIOBJ>(w->font) : GetStockObject(DEFAULT_GUI_FONT));
    HBRUSH br = nullptr;
    if (w->parent)
        br = reinterpret_cast<HBRUSH>(
            Send(w->parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)));
    if (!(w = FromHwnd(h))) {
        EndPaint(h, &ps);
        return;
    }
    if (!br) br = GetSysColorBrush(COLOR_BTNFACE);
    auto* s = w->State<StaticState>();
    switch (k) {
    case SS_BLACKRECT: FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); break;
    case SS_GRAYRECT: FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH))); break;
    case SS_WHITERECT: FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))); break;
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
    case SS_ETCHEDFRAME:
    case SS_ETCHEDHORZ:
    case SS_ETCHEDVERT:
        FillRect(dc, &rc, br);
        FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(k == SS_WHITEFRAME ? WHITE_BRUSH : GRAY_BRUSH)));
        break;
    case SS_BITMAP:
    case SS_ICON: {
        FillRect(dc, &rc, br);
        if (s && s->image) {
            QImage img = ImageOf(*s);
            QPoint origin;
            if (QPaintDevice* target = DCDevice(dc, &origin); target && !img.isNull()) {
                QPainter p(target);
                p.translate(origin);
                int x = 0, y = 0;
                if (w->style & SS_CENTERIMAGE) {
                    x = (rc.right - img.width()) / 2;
                    y = (rc.bottom - img.height()) / 2;
                }
                p.drawImage(x, y, img);
            }
        }
        break;
    }
    default: {
        FillRect(dc, &rc, br);
        UINT fmt = DT_EXPANDTABS;
        if (k == SS_CENTER)
            fmt |= DT_CENTER | DT_WORDBREAK;
        else if (k == SS_RIGHT)
            fmt |= DT_RIGHT | DT_WORDBREAK;
        else if (k == SS_LEFTNOWORDWRAP || k == SS_SIMPLE)
            fmt |= DT_LEFT;
        else
            fmt |= DT_LEFT | DT_WORDBREAK;
        if (w->style & SS_NOPREFIX) fmt |= DT_NOPREFIX;
        if (!w->Enabled()) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(dc, w->text.c_str(), int(w->text.size()), &rc, fmt);
    }
    }
    EndPaint(h, &ps);
}

LRESULT CALLBACK StaticProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = FromHwnd(h);
    if (!w) return 0;
    auto* s = w->State<StaticState>();
    switch (msg) {
    case WM_CREATE: FitImage(w); return 0;
    case WM_PAINT: Paint(w); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_SETTEXT:
        DefWindowProcA(h, msg, wp, lp);
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    case STM_SETIMAGE:
    case STM_SETICON: {
        if (!s) return 0;
        HANDLE old = s->image;
        s->image = reinterpret_cast<HANDLE>(msg == STM_SETICON ? wp : lp);
        s->imageType = msg == STM_SETICON ? IMAGE_ICON : UINT(wp);
        FitImage(w);
        InvalidateRect(h, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE:
    case STM_GETICON: return s ? reinterpret_cast<LRESULT>(s->image) : 0;
    case WM_LBUTTONDOWN:
        if ((w->style & SS_NOTIFY)) NotifyCommand(w, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if ((w->style & SS_NOTIFY)) NotifyCommand(w, STN_DBLCLK);
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

}  // namespace

void RegisterStandardControls() {
    RegisterButtonClass();
    RegisterEditClass();
    RegisterComboClass();
    RegisterBuiltinClass("STATIC", CS_DBLCLKS | CS_PARENTDC, StaticProc, LoadCursorA(nullptr, IDC_ARROW), nullptr,
                         MakeStatic);
}

LRESULT NotifyCommand(Window* ctl, UINT code) {
    if (!ctl || !ctl->parent) return 0;
    return Send(ctl->parent, WM_COMMAND, MAKEWPARAM(ctl->id, code), reinterpret_cast<LPARAM>(ctl->hwnd));
}

LRESULT NotifyParent(Window* ctl, UINT code, NMHDR* hdr) {
    if (!ctl || !hdr) return 0;
    hdr->hwndFrom = ctl->hwnd;
    hdr->idFrom = UINT_PTR(ctl->id);
    hdr->code = code;
    Window* p = ctl->IsChild() ? ctl->parent : FromHwnd(ctl->owner);
    if (!p) return 0;
    return Send(p, WM_NOTIFY, WPARAM(ctl->id), reinterpret_cast<LPARAM>(hdr));
}

}  // namespace w32
