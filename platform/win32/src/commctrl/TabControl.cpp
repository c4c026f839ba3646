#include "commctrl/TabControl.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>

#include "commctrl/Glue.h"

namespace w32::cc {
namespace {
constexpr int kInset = 4;  // display area inside the body frame
constexpr int kPadY = 3;   // space above and below a tab's label, as Win32 pads it

// Tabs as tall as Win32 makes them: the label's cell height, its padding and
// the tab's edges, whatever the style would add.
int TabHeight(const QFont& f) {
    return (f.pixelSize() > 0 ? f.pixelSize() : QFontMetrics(f).height()) + 2 * (kPadY + 1);
}

class TabBar : public QTabBar {
public:
    explicit TabBar(QWidget* parent) : QTabBar(parent) {}

protected:
    QSize tabSizeHint(int index) const override {
        return QSize(QTabBar::tabSizeHint(index).width(), TabHeight(font()));
    }
};
}  // namespace

TabWidget::TabWidget(TabCtl* ctl, QWidget* parent) : QWidget(parent), ctl_(ctl), bar_(new TabBar(this)) {
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setUsesScrollButtons(true);
    bar_->setFocusPolicy(Qt::TabFocus);
    setFocusPolicy(Qt::TabFocus);
    setFocusProxy(bar_);  // keys for the control go to its tabs
    setAutoFillBackground(false);
    Relayout();
}

void TabWidget::Relayout() {
    const int h = TabHeight(bar_->font());
    bar_->setGeometry(2, 0, std::max(0, width() - 4), h);
}

QRect TabWidget::Body() const {
    int top = bar_->geometry().bottom() + 1 - 2;
    return QRect(0, std::max(top, 0), width(), std::max(0, height() - std::max(top, 0)));
}

void TabWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOptionTabWidgetFrame opt;
    opt.initFrom(this);
    opt.rect = Body();
    opt.shape = QTabBar::RoundedNorth;
    opt.tabBarSize = bar_->size();
    opt.lineWidth = 1;
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &opt, &p, this);
}

void TabWidget::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) {
        bar_->setFont(font());
        Relayout();
    }
    QWidget::changeEvent(e);
}

void TabWidget::resizeEvent(QResizeEvent* e) {
    Relayout();
    QWidget::resizeEvent(e);
}

TabCtl::TabCtl(HWND hwnd, DWORD style, QWidget* parent)
    : hwnd_(hwnd), style_(style), widget_(new TabWidget(this, parent)) {
    setParent(widget_);
    connect(widget_->Bar(), &QTabBar::currentChanged, this, [this](int index) {
        if (quiet_ == 0) UserPicked(index);
    });
}

QMargins TabCtl::DisplayMargins() const {
    const QRect body = widget_->Body();
    return QMargins(kInset, body.top() + kInset, kInset, kInset);
}

void TabCtl::SetBarIndex(int index) {
    ++quiet_;
    widget_->Bar()->setCurrentIndex(index);
    --quiet_;
}

void TabCtl::UserPicked(int index) {
    if (index == cur_ || index < 0) return;
    NMHDR hdr{};
    if (SendNotify(hwnd_, TCN_SELCHANGING, &hdr)) {
        SetBarIndex(cur_);  // the parent refused the change
        return;
    }
    cur_ = index;
    NMHDR hdr2{};
    SendNotify(hwnd_, TCN_SELCHANGE, &hdr2);
}

LRESULT TabCtl::Message(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = true;
    QTabBar* bar = widget_->Bar();
    const int count = static_cast<int>(items_.size());
    switch (msg) {
    case TCM_GETITEMCOUNT: return count;
    case TCM_INSERTITEMA: {
        auto* item = reinterpret_cast<const TCITEMA*>(lp);
        int index = static_cast<int>(static_cast<intptr_t>(wp));
        if (!item || index < 0) return -1;
        if (index > count) index = count;
        Item it;
        if (item->mask & TCIF_TEXT) it.text = std::string(InText(item->pszText));
        if (item->mask & TCIF_IMAGE) it.image = item->iImage;
        if (item->mask & TCIF_PARAM) it.param = item->lParam;
        items_.insert(items_.begin() + index, it);
        ++quiet_;
        bar->insertTab(index, w32::ToQt(it.text));
        --quiet_;
        if (cur_ < 0)
            cur_ = 0;  // the first tab becomes the selection
        else if (index <= cur_)
            ++cur_;
        SetBarIndex(cur_);
        widget_->Relayout();
        return index;
    }
    case TCM_SETITEMA: {
        auto* item = reinterpret_cast<const TCITEMA*>(lp);
        const int i = static_cast<int>(wp);
        if (!item || i < 0 || i >= count) return FALSE;
        if (item->mask & TCIF_TEXT) {
            items_[i].text = std::string(InText(item->pszText));
            bar->setTabText(i, w32::ToQt(items_[i].text));
        }
        if (item->mask & TCIF_IMAGE) items_[i].image = item->iImage;
        if (item->mask & TCIF_PARAM) items_[i].param = item->lParam;
        widget_->Relayout();
        return TRUE;
    }
    case TCM_GETITEMA: {
        auto* item = reinterpret_cast<TCITEMA*>(lp);
        const int i = static_cast<int>(wp);
        if (!item || i < 0 || i >= count) return FALSE;
        if (item->mask & TCIF_TEXT) w32::CopyText(item->pszText, item->cchTextMax, items_[i].text);
        if (item->mask & TCIF_IMAGE) item->iImage = items_[i].image;
        if (item->mask & TCIF_PARAM) item->lParam = items_[i].param;
        return TRUE;
    }
    case TCM_DELETEITEM: {
        const int i = static_cast<int>(wp);
        if (i < 0 || i >= count) return FALSE;
        items_.erase(items_.begin() + i);
        ++quiet_;
        bar->removeTab(i);
        --quiet_;
        if (i == cur_)
            cur_ = -1;
        else if (i < cur_)
            --cur_;
        SetBarIndex(cur_);
        widget_->Relayout();
        return TRUE;
    }
    case TCM_DELETEALLITEMS:
        items_.clear();
        ++quiet_;
        while (bar->count()) bar->removeTab(0);
        --quiet_;
        cur_ = -1;
        widget_->Relayout();
        return TRUE;
    case TCM_GETCURSEL: return cur_;
    case TCM_SETCURSEL: {
        const int i = static_cast<int>(static_cast<intptr_t>(wp));
        if (i < 0 || i >= count) return -1;
        const int old = cur_;
        cur_ = i;
        SetBarIndex(i);  // no notification
        return old;
    }
    case TCM_GETCURFOCUS: return cur_;
    case TCM_SETCURFOCUS: {
        const int i = static_cast<int>(static_cast<intptr_t>(wp));
        if (i >= 0 && i < count) {
            cur_ = i;
            SetBarIndex(i);
        }
        return 0;
    }
    case TCM_GETITEMRECT: {
        auto* rc = reinterpret_cast<RECT*>(lp);
        const int i = static_cast<int>(wp);
        if (!rc || i < 0 || i >= count) return FALSE;
        QRect r = bar->tabRect(i).translated(bar->pos());
        *rc = ToRect(r);
        return TRUE;
    }
    case TCM_HITTEST: {
        struct HitInfo {
            POINT pt;
            UINT flags;
        };
        auto* info = reinterpret_cast<HitInfo*>(lp);
        if (!info) return -1;
        const int i = bar->tabAt(QPoint(info->pt.x, info->pt.y) - bar->pos());
        info->flags = i < 0 ? 1 /* TCHT_NOWHERE */ : 6 /* TCHT_ONITEM */;
        return i;
    }
    case TCM_ADJUSTRECT: {
        auto* rc = reinterpret_cast<RECT*>(lp);
        if (!rc) return 0;
        const QMargins m = DisplayMargins();
        if (wp) {  // display -> window
            rc->left -= m.left();
            rc->top -= m.top();
            rc->right += m.right();
            rc->bottom += m.bottom();
        } else {  // window -> display
            rc->left += m.left();
            rc->top += m.top();
            rc->right -= m.right();
            rc->bottom -= m.bottom();
        }
        return 0;
    }
    case TCM_SETIMAGELIST: {
        HIMAGELIST old = images_;
        images_ = reinterpret_cast<HIMAGELIST>(lp);
        return reinterpret_cast<LRESULT>(old);
    }
    case TCM_GETIMAGELIST: return reinterpret_cast<LRESULT>(images_);
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wp);
        widget_->setFont(w32::FontOf(font_));  // the tabs follow (changeEvent)
        widget_->update();
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    default: handled = false; return 0;
    }
}

}  // namespace w32::cc
