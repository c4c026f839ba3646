// Widgets of canvas windows: the frame (outer widget, window scroll bars,
// top-level window behaviour) and the canvas, on which the window paints
// WM_PAINT in Qt's paint event (or which shows the pixels it keeps).
#include <algorithm>

#include <QtCore/QCoreApplication>
#include <QtGui/QBackingStore>
#include <QtGui/QCloseEvent>
#include <QtGui/QGuiApplication>
#include <QtGui/QPainter>
#include <QtGui/qguiapplication_platform.h>
#include <QtGui/QPaintEngine>
#include <QtGui/QResizeEvent>
#include <QtGui/QScreen>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "core.h"

namespace w32 {
namespace {

// The window whose invalid area RepaintOnScreen is painting now (its paint
// keeps the erase the invalidation asked for; any other paint Qt makes is of
// uncovered pixels, erased first), how deep WM_PAINTs of canvases nest, and
// how many were sent.
HWND g_repainting = nullptr;
int g_paintDepth = 0;
unsigned g_paintsSent = 0;

// Where a paint that Qt cannot show draws: one pixel, with every drawing
// clipped away.
QImage& Nowhere() {
    static QImage* image = new QImage(1, 1, QImage::Format_RGB32);
    return *image;
}

// WM_PAINT for `region` of a window that paints on screen: inside the
// canvas's paint event it draws on the widget itself (onScreen); elsewhere
// its drawing goes nowhere, and Qt asks for the area again when it can show
// it. The rest of the window's invalid area, and what was invalidated while
// painting, waits for a paint of its own.
void PaintOnce(Window* w, const QRegion& region, bool erase, bool onScreen) {
    const HWND h = w->hwnd;
    QRegion rest = w->update - region;
    // Qt does not ask for what shown children cover; as BeginPaint does for
    // a window that clips its children, the paint validates it too, so that
    // neither the window nor its children are painted again for it.
    if (onScreen && !rest.isEmpty())
        for (const Window* c : w->children)
            if (c->widget && c->Visible() && c->widget->isVisible() && c->widget->parentWidget() == w->client)
                rest -= c->widget->geometry();
    // Nor for what its ancestors clip away or its siblings cover: none of it
    // can show.
    if (onScreen && !rest.isEmpty() && w->client) rest &= w->client->visibleRegion();
    const bool restErase = w->eraseUpdate;
    w->update = region;
    if (erase) w->eraseUpdate = true;
    w->backing = onScreen ? QImage() : Nowhere();
    w->painting = true;
    w->paintingOnScreen = onScreen;
    w->paintingNowhere = !onScreen;
    ++g_paintDepth;
    ++g_paintsSent;
    Send(w, WM_PAINT, 0, 0);
    --g_paintDepth;
    if (!(w = FromHwnd(h))) return;
    w->painting = false;
    w->paintingOnScreen = false;
    w->paintingNowhere = false;
    w->backing = QImage();
    // A procedure that neither painted nor validated is not asked again.
    if (w->update == region) {
        w->update = QRegion();
        w->eraseUpdate = false;
    }
    const QRegion again = w->update + rest;
    const bool eraseAgain = w->eraseUpdate || (!rest.isEmpty() && restErase);
    w->update = QRegion();
    if (!again.isEmpty()) InvalidateClient(w, again, eraseAgain);
}

class CanvasWidget : public QWidget {
public:
    CanvasWidget(HWND h, QWidget* parent) : QWidget(parent), hwnd_(h) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        Window* w = FromHwnd(hwnd_);
        if (w && PaintsOnScreen(w)) {
            PaintThroughProcedure(w, e->region());
            return;
        }
        QPainter p(this);
        // Pixels come from the backing image, made by the first drawing.
        if (!w || w->backing.isNull()) {
            const bool solid = w && w->backingPending && !w->solidRect.isEmpty();
            if (!solid || !w->solidRect.contains(e->rect())) p.fillRect(e->rect(), Qt::white);
            if (solid) p.fillRect(e->rect() & w->solidRect, w->solidColour);
            return;
        }
        // One rectangle of the area at a time: through an area of several
        // (the window less its children) Qt composes the image span by span
        // and, for a tall area, on a pool of threads it starts for it.
        const QRegion& area = e->region();
        if (area.rectCount() <= 1) {
            p.drawImage(e->rect(), w->backing, e->rect());
            return;
        }
        for (const QRect& r : area) {
            p.setClipRect(r);
            p.drawImage(r, w->backing, r);
        }
    }

private:
    // The area Qt paints is the window's to paint, through WM_PAINT. Qt shows
    // every pixel it asks for as it is left, so none is left unpainted: what
    // Qt's image held there before (black in a new image) would show.
    void PaintThroughProcedure(Window* w, const QRegion& asked) {
        const QRect client = ClientRect(w);
        const QRegion region = asked & client;
        // Beyond the client area the layer knows (a size Qt gave the widget
        // first): white until the resize reaches the window.
        QRegion white = asked - QRegion(client);
        if (w->painting) {
            // Asked again while inside its own WM_PAINT: white now, painted
            // once this paint is over.
            white += region;
            if (!region.isEmpty()) InvalidateClient(w, region, true);
        } else if (g_repainting != hwnd_) {
            // Pixels Qt asks for on its own may be new: white until painted.
            white += region;
        } else {
            // Repainting the invalid area, Qt may add pixels the window did
            // not invalidate (just shown or uncovered): those are new too.
            white += region - w->update;
        }
        if (!white.isEmpty()) {
            QPainter p(this);
            for (const QRect& r : white) p.fillRect(r, Qt::white);
        }
        if (w->painting || region.isEmpty()) return;
        PaintOnce(w, region, !(white & region).isEmpty(), true);
    }

    HWND hwnd_;
};

class FrameWidget : public QWidget {
public:
    FrameWidget(HWND h, QWidget* parent, Qt::WindowFlags f) : QWidget(parent, f), hwnd_(h) {
        setMouseTracking(true);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    // Tab and Shift+Tab move the focus only where the program (or the dialog
    // manager) says: Qt never moves it on its own between layer windows.
    bool focusNextPrevChild(bool) override { return true; }
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        if (!isWindow()) return;
        if (Window* w = FromHwnd(hwnd_)) OnQtResize(w, e->size());
    }
    void moveEvent(QMoveEvent* e) override {
        QWidget::moveEvent(e);
        if (!isWindow()) return;
        if (Window* w = FromHwnd(hwnd_)) SyncFrameFromQt(w, false);
    }
    bool event(QEvent* e) override {
        // The window manager's frame becomes known once the window is mapped.
        if (isWindow() && (e->type() == QEvent::Show || e->type() == QEvent::WindowActivate))
            if (Window* w = FromHwnd(hwnd_)) SyncFrameFromQt(w, false);
        return QWidget::event(e);
    }
    void closeEvent(QCloseEvent* e) override {
        Window* w = FromHwnd(hwnd_);
        if (!w || w->destroyed) {
            e->accept();
            return;
        }
        e->ignore();
        OnQtClose(w);
    }

private:
    HWND hwnd_;
};

void OnScrollAction(HWND h, int bar, QScrollBar* sb, int action) {
    Window* w = FromHwnd(h);
    if (!w) return;
    ScrollBarState& s = bar == SB_HORZ ? w->hscroll : w->vscroll;
    int code = -1;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove:
        s.nTrackPos = sb->sliderPosition();
        code = SB_THUMBTRACK;
        break;
    default: return;
    }
    int pos = code == SB_THUMBTRACK ? s.nTrackPos : s.nPos;
    Send(w, bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(code, pos), 0);
    // The window decides the position; the bar shows the model.
    if (FromHwnd(h)) SyncScrollBar(FromHwnd(h), bar);
}

}  // namespace

xcb_atom_t XAtom(xcb_connection_t* c, const char* name) {
    static auto* known = new std::map<std::string, xcb_atom_t>;
    if (auto it = known->find(name); it != known->end()) return it->second;
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    if (atom != XCB_ATOM_NONE) (*known)[name] = atom;
    return atom;
}

namespace {

// The value of a window property (empty when it has none).
std::string XProperty(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type) {
    xcb_get_property_reply_t* r = xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 256), nullptr);
    std::string value;
    if (r && r->type == type)
        value.assign(static_cast<const char*>(xcb_get_property_value(r)), size_t(xcb_get_property_value_length(r)));
    std::free(r);
    return value;
}

// True when Openbox manages the screen (the window manager's check window
// names it).
bool UnderOpenbox(xcb_connection_t* c, xcb_window_t root) {
    const std::string check = XProperty(c, root, XAtom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
    if (check.size() != sizeof(xcb_window_t)) return false;
    xcb_window_t wm;
    std::memcpy(&wm, check.data(), sizeof wm);
    return XProperty(c, wm, XAtom(c, "_NET_WM_NAME"), XAtom(c, "UTF8_STRING")) == "Openbox";
}

}  // namespace

bool WindowManagerRuns(QWidget* top) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return true;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return true;
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, xcb_window_t(top->winId())), nullptr);
    if (!g) return true;
    xcb_get_window_attributes_reply_t* a =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, g->root), nullptr);
    // A window manager redirects the requests to map and place the root's
    // children (only one client can): the root's events selected by every
    // client say whether one does.
    const bool runs = !a || (a->all_event_masks & XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT);
    std::free(a);
    std::free(g);
    return runs;
}

namespace {

// A dialog or a box has no minimize or maximize button. Qt's Motif hints say
// so, but Openbox draws both on every dialog whatever the hints; it leaves
// them out for a toolbar window alone, which it otherwise frames and keeps
// over its owner as a dialog. Such a window is typed a toolbar first and a
// dialog second just before it is mapped, and asks for the focus once shown.
// The type is written as the window itself is shown, after its widget's Show
// (where a filter may still change its flags, which types the window anew).
class DecorationWatch : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Show || !o->isWindowType()) return false;
        auto* window = static_cast<QWindow*>(o);
        const Qt::WindowFlags f = window->flags();
        // A window-modal box is a sheet, which X11 shows as a dialog.
        const Qt::WindowType type = window->type();
        if (!window->isTopLevel() || (type != Qt::Dialog && type != Qt::Sheet) || (f & Qt::FramelessWindowHint) ||
            (f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)))
            return false;
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        xcb_connection_t* c = x11 ? x11->connection() : nullptr;
        if (!c || !window->handle()) return false;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        if (!UnderOpenbox(c, root)) return false;
        const xcb_atom_t types[2] = {XAtom(c, "_NET_WM_WINDOW_TYPE_TOOLBAR"), XAtom(c, "_NET_WM_WINDOW_TYPE_DIALOG")};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), XAtom(c, "_NET_WM_WINDOW_TYPE"),
                            XCB_ATOM_ATOM, 32, 2, types);
        xcb_flush(c);
        // Openbox gives a toolbar window the focus only when asked, once it
        // shows the window.
        window->installEventFilter(&activator_);
        return false;
    }

private:
    class Activator : public QObject {
    protected:
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() != QEvent::Expose) return false;
            auto* window = static_cast<QWindow*>(o);
            if (!window->isExposed()) return false;
            window->removeEventFilter(this);
            if (window->isVisible()) window->requestActivate();
            return false;
        }
    };
    Activator activator_;
};

}  // namespace

void WatchDialogDecorations(QApplication* app) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* watch = new DecorationWatch;
    watch->setParent(app);  // goes with the application
    app->installEventFilter(watch);
}

namespace {

// Qt 6.4's raster engine draws 1-bit glyphs (the text of the drawn sizes,
// unsmoothed: QFontFromLogFont) wrongly into 16-bit (RGB565) pixels: it steps
// a glyph's rows by half a line, so that the text comes out at half its
// height with a copy of it half a line across. On a 16-bit screen Qt's
// windows keep such pixels; every widget paints there through a 32-bit
// image of its area instead (what is beneath it first), which is copied in.
class TrueColourPainting : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Paint || !o->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(o);
        // Where the widget paints now: its window's pixels, or an image it
        // is rendered into (a 32-bit one here: that paint goes on).
        QImage* target = nullptr;
        QPoint at;
        {
            QPainter probe(w);
            QPaintEngine* engine = probe.paintEngine();
            QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
            if (!device || device->devType() != QInternal::Image) return false;
            target = static_cast<QImage*>(device);
            at = probe.deviceTransform().map(QPoint(0, 0));
        }
        if (target->format() != QImage::Format_RGB16 || target->devicePixelRatio() != 1.0 || target->paintingActive())
            return false;
        const QRegion region = static_cast<QPaintEvent*>(e)->region();
        const QRect area = region.boundingRect();
        QImage image = target->copy(area.translated(at)).convertToFormat(QImage::Format_RGB32);
        // Qt takes a render of a widget inside its paint event for a
        // recursive repaint.
        w->setAttribute(Qt::WA_WState_InPaintEvent, false);
        w->render(&image, QPoint(), region, w->isWindow() ? QWidget::DrawWindowBackground : QWidget::RenderFlags());
        w->setAttribute(Qt::WA_WState_InPaintEvent, true);
        QPainter p(target);
        p.setClipRegion(region.translated(at));
        p.drawImage(area.topLeft() + at, image);
        return true;
    }
};

}  // namespace

void PaintInTrueColour(QApplication* app) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || screen->depth() != 16) return;
    auto* painting = new TrueColourPainting;
    painting->setParent(app);  // goes with the application
    app->installEventFilter(painting);
}

// The decorations a top-level window's styles ask for.
static Qt::WindowFlags FrameFlags(const Window* w) {
    DWORD st = w->style;
    bool dialog = (st & DS_MODALFRAME) || (w->exStyle & WS_EX_DLGMODALFRAME) || w->owner;
    Qt::WindowFlags f = dialog ? Qt::Dialog : Qt::Window;
    bool caption = (st & WS_CAPTION) == WS_CAPTION || !(st & WS_POPUP);
    if (!caption && !(st & (WS_THICKFRAME | WS_DLGFRAME | WS_BORDER)) && !(w->exStyle & WS_EX_DLGMODALFRAME))
        return f | Qt::FramelessWindowHint;
    f |= Qt::CustomizeWindowHint;
    if (caption) f |= Qt::WindowTitleHint;
    if (caption && (st & WS_SYSMENU)) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (caption && (st & WS_SYSMENU) && (st & WS_MINIMIZEBOX)) f |= Qt::WindowMinimizeButtonHint;
    if (caption && (st & WS_SYSMENU) && (st & WS_MAXIMIZEBOX)) f |= Qt::WindowMaximizeButtonHint;
    return f;
}

QWidget* MakeFrame(Window* w, QWidget* parent) {
    Qt::WindowFlags f = Qt::Widget;
    if (!w->IsChild()) {
        f = FrameFlags(w);
        if (w->exStyle & WS_EX_TOPMOST) f |= Qt::WindowStaysOnTopHint;
        if (Window* o = FromHwnd(w->owner)) parent = o->widget;
    }
    auto* fw = new FrameWidget(w->hwnd, parent, f);
    if (!w->IsChild() && (w->style & DS_MODALFRAME)) fw->setProperty("w32fixed", true);
    return fw;
}

QWidget* MakeCanvas(Window* w, QWidget* parent) {
    auto* c = new CanvasWidget(w->hwnd, parent);
    c->setProperty("w32canvas", true);
    return c;
}

bool IsCanvas(const Window* w) { return w && dynamic_cast<const CanvasWidget*>(w->client); }

void ResizeBacking(Window* w) {
    // A window painting on screen has only its paint's stand-in image.
    if (!w->backing.isNull() && !w->painting) EnsureBacking(w);
}

namespace {

// The backing's pixels as a view of cw x ch into the window's store.
QImage ViewOfStore(Window* w, int cw, int ch) {
    return QImage(w->backingStore.bits(), cw, ch, w->backingStore.bytesPerLine(), QImage::Format_RGB32);
}

}  // namespace

void EnsureBacking(Window* w) {
    int cw = std::max(1, w->ClientWidth()), ch = std::max(1, w->ClientHeight());
    if (!w->backing.isNull() && w->backing.width() == cw && w->backing.height() == ch) return;
    const QRect now(0, 0, cw, ch);
    // Within the store the old pixels stay in place; only what the window
    // did not cover before turns white, as in a new image.
    if (!w->backing.isNull() && !w->backingStore.isNull() && w->backing.constBits() == w->backingStore.constBits() &&
        cw <= w->backingStore.width() && ch <= w->backingStore.height()) {
        const QRect before = w->backing.rect();
        w->backing = ViewOfStore(w, cw, ch);
        QPainter p(&w->backing);
        for (const QRect& r : QRegion(now) - QRegion(before)) p.fillRect(r, Qt::white);
        return;
    }
    // A window of at least half the screen gets a store of the screen's size
    // (it is usually on its way to it); untouched rows cost no memory.
    const QSize screen = ScreenArea().size();
    QSize store(cw, ch);
    if (cw * 2 >= screen.width() && ch * 2 >= screen.height()) store = store.expandedTo(screen);
    const QImage oldStore = w->backingStore, old = w->backing;  // the old pixels, alive until copied
    w->backingStore = QImage(store, QImage::Format_RGB32);
    w->backing = ViewOfStore(w, cw, ch);
    QPainter p(&w->backing);
    // White where the old pixels do not come.
    for (const QRect& r : QRegion(now) - QRegion(old.rect())) p.fillRect(r, Qt::white);
    if (!old.isNull()) {
        p.drawImage(0, 0, old);
    } else if (w->backingPending && !w->solidRect.isEmpty()) {
        p.fillRect(w->solidRect, w->solidColour);
    }
    w->backingPending = false;
    w->solidRect = QRect();
}

void WantBacking(Window* w) {
    if (!IsCanvas(w) || w->painting) return;
    KeepPixels(w);
    if (w->backing.isNull()) w->backingPending = true;
}

bool PaintsOnScreen(const Window* w) { return !w->lasting && IsCanvas(w); }

void KeepPixels(Window* w) {
    if (w->lasting || !IsCanvas(w)) return;
    // What the screen shows, children included (they are drawn over it
    // anyway). A window not on screen yet paints itself into its new image;
    // a hidden one starts white, as a new window.
    const QImage shown = ShownPixels(w, ClientRect(w), false);
    w->lasting = true;
    if (shown.isNull()) {
        if (!ReallyVisible(w)) return;
        InvalidateClient(w, ClientRect(w), true);
        PaintNow(w);
        return;
    }
    EnsureBacking(w);
    QPainter(&w->backing).drawImage(0, 0, shown);
}

QImage ShownPixels(Window* w, const QRect& area, bool alone) {
    QWidget* c = w ? w->client : nullptr;
    if (!c || !c->isVisible() || area.isEmpty()) return QImage();
    QWidget* top = c->window();
    const QWindow* screen = top->windowHandle();
    // The screen's pixels, unless children cover the window's own there and
    // those are asked for: then Qt draws the window alone (a WM_PAINT).
    bool fromScreen = screen && screen->isExposed();
    for (QObject* o : c->children())
        if (auto* child = qobject_cast<QWidget*>(o);
            alone && child && child->isVisible() && child->geometry().intersects(area))
            fromScreen = false;
    if (fromScreen) {
        // Qt's pending paints first, so that the screen is up to date (not
        // while a window paints: Qt is painting then).
        if (g_paintDepth == 0) QCoreApplication::sendPostedEvents(top, QEvent::UpdateRequest);
        QBackingStore* store = top->backingStore();
        QPaintDevice* device = store ? store->paintDevice() : nullptr;
        if (device && device->devType() == QInternal::Image) {
            const auto* pixels = static_cast<const QImage*>(device);
            const QRect at = area.translated(c->mapTo(top, QPoint(0, 0)));
            if (pixels->devicePixelRatio() == 1.0 && pixels->rect().contains(at))
                return pixels->copy(at).convertToFormat(QImage::Format_RGB32);
        }
    }
    if (!alone) return QImage();
    QImage drawn(area.size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    c->render(&drawn, QPoint(), QRegion(area), QWidget::RenderFlags());
    return drawn;
}

void RepaintOnScreen(Window* w, bool promised) {
    QWidget* c = w->client;
    const HWND h = w->hwnd;
    const QRegion region = w->update & ClientRect(w);
    if (!c || region.isEmpty()) return;
    const QWindow* screen = c->window()->windowHandle();
    const bool exposed = screen && screen->isExposed();
    if (!promised && !exposed) {
        // The loop's paint of a window Qt does not show yet: its drawing
        // would go nowhere. The area stays invalid and Qt asks for it when
        // it shows the window, which paints it then.
        c->update(region);
        return;
    }
    if (g_paintDepth == 0 && exposed) {
        const HWND was = g_repainting;
        const unsigned sent = g_paintsSent;
        g_repainting = h;
        c->repaint(region);
        g_repainting = was;
        if (g_paintsSent != sent) return;
    }
    // Qt cannot paint now (the window is not exposed yet, or another window
    // is painting): the window paints all the same, as UpdateWindow
    // promises, and Qt asks for the area again at its next paint.
    if (!(w = FromHwnd(h))) return;
    PaintOnce(w, region, false, false);
    if ((w = FromHwnd(h)) && w->client) w->client->update(region);
}

bool FillPendingBacking(Window* w, const QRegion& area, const QColor& colour) {
    if (!w->backingPending || !w->backing.isNull()) return false;
    const QRect client(0, 0, std::max(1, w->ClientWidth()), std::max(1, w->ClientHeight()));
    if (!(QRegion(client) - area).isEmpty()) return false;
    w->solidRect = client;
    w->solidColour = colour;
    return true;
}

static QScrollBar* BarWidget(Window* w, int bar) {
    if (!w->widget || w->widget == w->client) return nullptr;
    return w->widget->findChild<QScrollBar*>(bar == SB_HORZ ? "w32hscroll" : "w32vscroll", Qt::FindDirectChildrenOnly);
}

// A framed window's scroll bar is made the first time the window is shown
// with it: most windows never are, and a widget each would cost every one.
static QScrollBar* MakeBarWidget(Window* w, int bar) {
    if (QScrollBar* sb = BarWidget(w, bar)) return sb;
    if (!w->widget || w->widget == w->client) return nullptr;
    auto* sb = new QScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, w->widget);
    sb->setObjectName(bar == SB_HORZ ? "w32hscroll" : "w32vscroll");
    sb->hide();
    sb->setFocusPolicy(Qt::NoFocus);
    HWND h = w->hwnd;
    QObject::connect(sb, &QAbstractSlider::actionTriggered, sb,
                     [h, bar, sb](int action) { OnScrollAction(h, bar, sb, action); });
    // Releasing the thumb ends the drag: SB_THUMBPOSITION, then SB_ENDSCROLL.
    QObject::connect(sb, &QAbstractSlider::sliderReleased, sb, [h, bar] {
        UINT msg = bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
        Window* w = FromHwnd(h);
        if (!w) return;
        const ScrollBarState& s = bar == SB_HORZ ? w->hscroll : w->vscroll;
        Send(w, msg, MAKEWPARAM(SB_THUMBPOSITION, s.nTrackPos), 0);
        if ((w = FromHwnd(h))) Send(w, msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
        if ((w = FromHwnd(h))) SyncScrollBar(w, bar);
    });
    return sb;
}

void LayoutFrame(Window* w) {
    if (!w->widget || w->widget == w->client) return;
    int sbw = GetSystemMetrics(SM_CXVSCROLL), sbh = GetSystemMetrics(SM_CYHSCROLL);
    int cw = w->ClientWidth(), ch = w->ClientHeight();
    if (w->client) w->client->setGeometry(0, 0, cw, ch);
    const bool shown = w->Visible();
    if (QScrollBar* h = w->hscroll.visible && shown ? MakeBarWidget(w, SB_HORZ) : BarWidget(w, SB_HORZ)) {
        h->setGeometry(0, ch, cw, sbh);
        h->setVisible(w->hscroll.visible);
    }
    if (QScrollBar* v = w->vscroll.visible && shown ? MakeBarWidget(w, SB_VERT) : BarWidget(w, SB_VERT)) {
        v->setGeometry(cw, 0, sbw, ch);
        v->setVisible(w->vscroll.visible);
    }
    SyncScrollBar(w, SB_HORZ);
    SyncScrollBar(w, SB_VERT);
}

void MakeShownScrollBars(Window* w) {
    if (!w->widget || w->widget == w->client || !w->Visible()) return;
    if ((w->hscroll.visible && !BarWidget(w, SB_HORZ)) || (w->vscroll.visible && !BarWidget(w, SB_VERT)))
        LayoutFrame(w);
}

int MaxScrollPos(const ScrollBarState& s) { return std::max(s.nMin, s.nMax - std::max(int(s.nPage) - 1, 0)); }

void SyncScrollBar(Window* w, int bar) {
    QScrollBar* sb = BarWidget(w, bar);
    if (!sb) return;
    const ScrollBarState& s = bar == SB_HORZ ? w->hscroll : w->vscroll;
    QSignalBlocker block(sb);
    sb->setRange(s.nMin, MaxScrollPos(s));
    sb->setPageStep(std::max(1, int(s.nPage)));
    sb->setSingleStep(1);
    if (!sb->isSliderDown()) sb->setValue(s.nPos);
}

void OnQtResize(Window* w, const QSize& size) {
    int oldW = w->ClientWidth(), oldH = w->ClientHeight();
    SyncFrameFromQt(w, true);
    (void)size;
    // The client size alone tells whether the window was resized: a window
    // manager's frame can come or go with the resize while the rectangle
    // stays (a maximized window's is the screen's, framed or not).
    if (oldW == w->ClientWidth() && oldH == w->ClientHeight()) return;
    HWND h = w->hwnd;
    LayoutFrame(w);
    ResizeBacking(w);
    InvalidateClient(w, ClientRect(w), true);
    SendSize(w);
    if (FromHwnd(h)) SchedulePaint();
}

void OnQtClose(Window* w) { Send(w, WM_SYSCOMMAND, SC_CLOSE, 0); }

}  // namespace w32
