// Widgets of canvas windows: the frame (outer widget, window scroll bars,
// top-level window behaviour) and the canvas that shows the backing image.
#include <QtGui/QCloseEvent>
#include <QtGui/QPainter>
#include <QtGui/QResizeEvent>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QWidget>

#include "core.h"

namespace w32 {
namespace {

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
        QPainter p(this);
        // Pixels come from the backing image, made by the first drawing.
        if (!w || w->backing.isNull()) {
            const bool solid = w && w->backingPending && !w->solidRect.isEmpty();
            if (!solid || !w->solidRect.contains(e->rect())) p.fillRect(e->rect(), Qt::white);
            if (solid) p.fillRect(e->rect() & w->solidRect, w->solidColour);
            return;
        }
        p.drawImage(e->rect(), w->backing, e->rect());
    }

private:
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
    for (int bar = SB_HORZ; bar <= SB_VERT; ++bar) {
        auto* sb = new QScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, fw);
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
    }
    return fw;
}

QWidget* MakeCanvas(Window* w, QWidget* parent) {
    auto* c = new CanvasWidget(w->hwnd, parent);
    c->setProperty("w32canvas", true);
    return c;
}

bool IsCanvas(const Window* w) { return w && w->client && w->client->property("w32canvas").toBool(); }

void ResizeBacking(Window* w) {
    if (!w->backing.isNull()) EnsureBacking(w);
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
    if (IsCanvas(w) && w->backing.isNull()) w->backingPending = true;
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

void LayoutFrame(Window* w) {
    if (!w->widget || w->widget == w->client) return;
    int sbw = GetSystemMetrics(SM_CXVSCROLL), sbh = GetSystemMetrics(SM_CYHSCROLL);
    int cw = w->ClientWidth(), ch = w->ClientHeight();
    if (w->client) w->client->setGeometry(0, 0, cw, ch);
    if (QScrollBar* h = BarWidget(w, SB_HORZ)) {
        h->setGeometry(0, ch, cw, sbh);
        h->setVisible(w->hscroll.visible);
    }
    if (QScrollBar* v = BarWidget(w, SB_VERT)) {
        v->setGeometry(cw, 0, sbw, ch);
        v->setVisible(w->vscroll.visible);
    }
    SyncScrollBar(w, SB_HORZ);
    SyncScrollBar(w, SB_VERT);
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
    RECT old = w->rect;
    int oldW = w->ClientWidth(), oldH = w->ClientHeight();
    SyncFrameFromQt(w, true);
    (void)size;
    if (EqualRect(&old, &w->rect) || (oldW == w->ClientWidth() && oldH == w->ClientHeight())) return;
    HWND h = w->hwnd;
    LayoutFrame(w);
    ResizeBacking(w);
    InvalidateClient(w, ClientRect(w), true);
    SendSize(w);
    if (FromHwnd(h)) SchedulePaint();
}

void OnQtClose(Window* w) { Send(w, WM_SYSCOMMAND, SC_CLOSE, 0); }

}  // namespace w32
