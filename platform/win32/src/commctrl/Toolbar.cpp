#include "commctrl/Toolbar.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

#include "commctrl/Glue.h"
#include "commctrl/ImageList.h"

namespace w32::cc {
namespace {

constexpr int kSeparatorWidth = 8;
constexpr int kPadX = 7;
constexpr int kPadTop = 3;
constexpr int kBarPad = 2;
const QColor kFace(0xF0, 0xF0, 0xF0);

bool IsCheck(const ToolbarCtl::Button& b) { return (b.style & BTNS_CHECK) != 0; }
bool IsGroup(const ToolbarCtl::Button& b) { return (b.style & BTNS_CHECKGROUP) == BTNS_CHECKGROUP; }

}  // namespace

ToolbarCtl::ToolbarCtl(HWND hwnd, DWORD style, QWidget* parent)
    : hwnd_(hwnd), style_(style), widget_(new ToolbarWidget(this, parent)) {
    setParent(widget_);
    widget_->setMouseTracking(true);
}

QSize ToolbarCtl::ButtonSize() const {
    const QFontMetrics fm(widget_->font());
    int w = bitmapSize_.width() + 2 * kPadX;
    bool anyText = false;
    for (const Button& b : buttons_) {
        if (b.style & BTNS_SEP) continue;
        if (!b.text.empty()) anyText = true;
        w = std::max(w, fm.horizontalAdvance(w32::ToQt(b.text)) + 2 * kPadX);
    }
    int h = kPadTop + bitmapSize_.height() + 2 + (anyText ? fm.height() : 0) + 4;
    return QSize(w, std::min(h, kToolbarHeight - 2 * kBarPad));
}

QRect ToolbarCtl::ButtonRect(int index) const { return ButtonRect(index, ButtonSize()); }

QRect ToolbarCtl::ButtonRect(int index, QSize size) const {
    if (index < 0 || index >= static_cast<int>(buttons_.size())) return {};
    int x = kBarPad;
    for (int i = 0; i < index; ++i) {
        const Button& b = buttons_[i];
        if (b.state & TBSTATE_HIDDEN) continue;
        x += (b.style & BTNS_SEP) ? kSeparatorWidth : size.width();
    }
    const Button& b = buttons_[index];
    if (b.state & TBSTATE_HIDDEN) return {};
    return QRect(x, kBarPad, (b.style & BTNS_SEP) ? kSeparatorWidth : size.width(), size.height());
}

int ToolbarCtl::ButtonAt(QPoint p) const {
    const QSize size = ButtonSize();
    for (int i = 0; i < static_cast<int>(buttons_.size()); ++i)
        if (ButtonRect(i, size).contains(p)) return i;
    return -1;
}

int ToolbarCtl::IndexOf(int id) const {
    for (int i = 0; i < static_cast<int>(buttons_.size()); ++i)
        if (buttons_[i].id == id && !(buttons_[i].style & BTNS_SEP)) return i;
    return -1;
}

bool ToolbarCtl::Check(int index, bool on) {
    if (index < 0) return false;
    Button& b = buttons_[index];
    if (on) {
        b.state |= TBSTATE_CHECKED;
        if (IsGroup(b)) {
            // Releases the other buttons of the group: the neighbours with the
            // check-group style, up to a separator or a plain button.
            for (int i = index - 1; i >= 0 && IsGroup(buttons_[i]); --i) buttons_[i].state &= ~TBSTATE_CHECKED;
            for (int i = index + 1; i < static_cast<int>(buttons_.size()) && IsGroup(buttons_[i]); ++i)
                buttons_[i].state &= ~TBSTATE_CHECKED;
        }
    } else {
        b.state &= ~TBSTATE_CHECKED;
    }
    Changed();
    return true;
}

ToolbarCtl::Button ToolbarCtl::FromTb(const TBBUTTON& tb) const {
    Button b;
    b.image = tb.iBitmap;
    b.id = tb.idCommand;
    b.state = tb.fsState;
    b.style = tb.fsStyle;
    b.data = tb.dwData;
    if (tb.iString >= 0 && tb.iString < static_cast<INT_PTR>(strings_.size()))
        b.text = strings_[static_cast<size_t>(tb.iString)];
    else if (tb.iString > 0xFFFF)
        b.text = reinterpret_cast<const char*>(tb.iString);
    return b;
}

void ToolbarCtl::Changed() { widget_->update(); }

void ToolbarCtl::AutoSize() { AlignToParent(hwnd_, style_, kToolbarHeight, (style_ & CCS_BOTTOM) == CCS_BOTTOM); }

LRESULT ToolbarCtl::Message(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = true;
    const int count = static_cast<int>(buttons_.size());
    switch (msg) {
    case WM_CREATE:
        AutoSize();
        handled = false;
        return 0;
    case TB_BUTTONSTRUCTSIZE: return 0;  // this platform's own TBBUTTON layout is the only one
    case TB_SETIMAGELIST: {
        HIMAGELIST old = images_;
        images_ = reinterpret_cast<HIMAGELIST>(lp);
        int cx = 0, cy = 0;
        if (images_ && ImageList_GetIconSize(images_, &cx, &cy)) bitmapSize_ = QSize(cx, cy);
        Changed();
        return reinterpret_cast<LRESULT>(old);
    }
    case TB_GETIMAGELIST: return reinterpret_cast<LRESULT>(images_);
    case TB_SETBITMAPSIZE:
        bitmapSize_ = QSize(LOWORD(lp), HIWORD(lp));
        Changed();
        return TRUE;
    case TB_SETBUTTONSIZE: return TRUE;  // buttons are sized from their images and labels
    case TB_GETBUTTONSIZE: {
        const QSize s = ButtonSize();
        return MAKELONG(s.width(), s.height());
    }
    case TB_ADDSTRINGA: {
        if (wp) return -1;  // strings from a module's resources are not supported
        const char* p = reinterpret_cast<const char*>(lp);
        if (!p) return -1;
        const int first = static_cast<int>(strings_.size());
        // A list of NUL-terminated strings ended by an empty one.
        while (*p) {
            const size_t n = std::strlen(p);
            strings_.emplace_back(p, n);
            p += n + 1;
        }
        return first;
    }
    case TB_ADDBUTTONSA: {
        auto* tb = reinterpret_cast<const TBBUTTON*>(lp);
        const int n = static_cast<int>(wp);
        if (!tb || n < 0) return FALSE;
        for (int i = 0; i < n; ++i) buttons_.push_back(FromTb(tb[i]));
        Changed();
        return TRUE;
    }
    case TB_INSERTBUTTONA: {
        auto* tb = reinterpret_cast<const TBBUTTON*>(lp);
        int i = static_cast<int>(static_cast<intptr_t>(wp));
        if (!tb) return FALSE;
        if (i < 0 || i > count) i = count;
        buttons_.insert(buttons_.begin() + i, FromTb(*tb));
        Changed();
        return TRUE;
    }
    case TB_DELETEBUTTON: {
        const int i = static_cast<int>(wp);
        if (i < 0 || i >= count) return FALSE;
        buttons_.erase(buttons_.begin() + i);
        pressed_ = hot_ = -1;
        Changed();
        return TRUE;
    }
    case TB_BUTTONCOUNT: return count;
    case TB_GETBUTTON: {
        auto* tb = reinterpret_cast<TBBUTTON*>(lp);
        const int i = static_cast<int>(wp);
        if (!tb || i < 0 || i >= count) return FALSE;
        *tb = TBBUTTON{};
        tb->iBitmap = buttons_[i].image;
        tb->idCommand = buttons_[i].id;
        tb->fsState = buttons_[i].state;
        tb->fsStyle = buttons_[i].style;
        tb->dwData = buttons_[i].data;
        tb->iString = -1;
        return TRUE;
    }
    case TB_COMMANDTOINDEX: return IndexOf(static_cast<int>(wp));
    case TB_GETITEMRECT: {
        auto* rc = reinterpret_cast<RECT*>(lp);
        const QRect r = ButtonRect(static_cast<int>(wp));
        if (!rc || r.isEmpty()) return FALSE;
        *rc = ToRect(r);
        return TRUE;
    }
    case TB_CHECKBUTTON: return Check(IndexOf(static_cast<int>(wp)), LOWORD(lp) != 0) ? TRUE : FALSE;
    case TB_ISBUTTONCHECKED: {
        const int i = IndexOf(static_cast<int>(wp));
        return i < 0 ? -1 : (buttons_[i].state & TBSTATE_CHECKED) ? TRUE : FALSE;
    }
    case TB_ENABLEBUTTON:
    case TB_PRESSBUTTON:
    case TB_HIDEBUTTON: {
        const int i = IndexOf(static_cast<int>(wp));
        if (i < 0) return FALSE;
        const BYTE bit = msg == TB_ENABLEBUTTON  ? TBSTATE_ENABLED
                         : msg == TB_PRESSBUTTON ? TBSTATE_PRESSED
                                                 : TBSTATE_HIDDEN;
        if (LOWORD(lp))
            buttons_[i].state |= bit;
        else
            buttons_[i].state &= ~bit;
        Changed();
        return TRUE;
    }
    case TB_ISBUTTONENABLED:
    case TB_ISBUTTONPRESSED: {
        const int i = IndexOf(static_cast<int>(wp));
        if (i < 0) return -1;
        const BYTE bit = msg == TB_ISBUTTONENABLED ? TBSTATE_ENABLED : TBSTATE_PRESSED;
        return (buttons_[i].state & bit) ? TRUE : FALSE;
    }
    case TB_GETSTATE: {
        const int i = IndexOf(static_cast<int>(wp));
        return i < 0 ? -1 : buttons_[i].state;
    }
    case TB_SETSTATE: {
        const int i = IndexOf(static_cast<int>(wp));
        if (i < 0) return FALSE;
        buttons_[i].state = static_cast<BYTE>(LOWORD(lp));
        Changed();
        return TRUE;
    }
    case TB_AUTOSIZE: AutoSize(); return 0;
    case WM_MOUSEMOVE: {
        const QPoint p(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        int i = ButtonAt(p);
        if (i >= 0 && ((buttons_[i].style & BTNS_SEP) || !(buttons_[i].state & TBSTATE_ENABLED))) i = -1;
        if (i != hot_) {
            hot_ = i;
            Changed();
        }
        if (pressed_ >= 0) {
            const bool in = ButtonRect(pressed_).contains(p);
            if (in != pressedIn_) {
                pressedIn_ = in;
                Changed();
            }
        }
        return 0;
    }
    case WM_MOUSELEAVE: MouseLeft(); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int i = ButtonAt(QPoint(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
        if (i < 0 || (buttons_[i].style & BTNS_SEP) || !(buttons_[i].state & TBSTATE_ENABLED)) return 0;
        pressed_ = i;
        pressedIn_ = true;
        SetCapture(hwnd_);
        Changed();
        return 0;
    }
    case WM_LBUTTONUP: {
        const int i = pressed_;
        const bool in = i >= 0 && ButtonRect(i).contains(QPoint(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)));
        pressed_ = -1;
        pressedIn_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
        Changed();
        if (!in || i >= static_cast<int>(buttons_.size())) return 0;
        Button& b = buttons_[i];
        if (IsCheck(b)) {
            // A group button stays pressed when clicked again; a lone check
            // button toggles.
            Check(i, IsGroup(b) ? true : !(b.state & TBSTATE_CHECKED));
        }
        SendCommand(hwnd_, b.id, BN_CLICKED);
        return 0;
    }
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wp);
        widget_->setFont(w32::FontOf(font_));
        Changed();
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    default: handled = false; return 0;
    }
}

void ToolbarCtl::MouseLeft() {
    if (hot_ < 0) return;
    hot_ = -1;
    Changed();
}

void ToolbarWidget::leaveEvent(QEvent* e) {
    ctl_->MouseLeft();
    QWidget::leaveEvent(e);
}

void ToolbarWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kFace);
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.drawLine(0, height() - 1, width(), height() - 1);
    const auto& buttons = ctl_->Buttons();
    const QFontMetrics fm(font());
    const QSize size = ctl_->ButtonSize();
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
        const ToolbarCtl::Button& b = buttons[i];
        const QRect r = ctl_->ButtonRect(i, size);
        if (r.isEmpty()) continue;
        if (b.style & BTNS_SEP) {
            p.setPen(QColor(0xA0, 0xA0, 0xA0));
            p.drawLine(r.center().x(), r.top() + 2, r.center().x(), r.bottom() - 2);
            p.setPen(Qt::white);
            p.drawLine(r.center().x() + 1, r.top() + 2, r.center().x() + 1, r.bottom() - 2);
            continue;
        }
        const bool enabled = (b.state & TBSTATE_ENABLED) != 0;
        const bool down = (b.state & (TBSTATE_CHECKED | TBSTATE_PRESSED)) || (i == ctl_->Pressed());
        const bool hot = i == ctl_->Hot() && enabled;
        if (down) {
            p.fillRect(r.adjusted(1, 1, -1, -1),
                       (b.state & TBSTATE_CHECKED) ? QColor(0xCC, 0xE4, 0xF7) : QColor(0xE0, 0xE0, 0xE0));
            p.setPen(QColor(0x80, 0x80, 0x80));
            p.drawLine(r.topLeft(), r.topRight());
            p.drawLine(r.topLeft(), r.bottomLeft());
            p.setPen(Qt::white);
            p.drawLine(r.bottomLeft(), r.bottomRight());
            p.drawLine(r.topRight(), r.bottomRight());
        } else if (hot) {
            p.fillRect(r.adjusted(1, 1, -1, -1), QColor(0xE5, 0xF1, 0xFB));
            p.setPen(Qt::white);
            p.drawLine(r.topLeft(), r.topRight());
            p.drawLine(r.topLeft(), r.bottomLeft());
            p.setPen(QColor(0x80, 0x80, 0x80));
            p.drawLine(r.bottomLeft(), r.bottomRight());
            p.drawLine(r.topRight(), r.bottomRight());
        }
        const int shift = down ? 1 : 0;
        QImage img = Image(ctl_->Images(), b.image);
        if (!img.isNull()) {
            if (!enabled) img = img.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_ARGB32);
            p.drawImage(QPoint(r.left() + (r.width() - img.width()) / 2 + shift, r.top() + kPadTop + shift), img);
        }
        if (!b.text.empty()) {
            p.setPen(enabled ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80));
            const QRect tr(r.left() + shift, r.top() + kPadTop + img.height() + 2 + shift, r.width(), fm.height());
            p.drawText(tr, Qt::AlignHCenter | Qt::AlignTop, w32::ToQt(b.text));
        }
    }
}

}  // namespace w32::cc
