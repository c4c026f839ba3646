#include "commctrl/StatusBar.h"

#include <QPainter>
#include <cstring>

#include "commctrl/Glue.h"

namespace w32::cc {
namespace {
const std::string kEmpty;
constexpr int kMaxParts = 256;
}  // namespace

StatusCtl::StatusCtl(HWND hwnd, DWORD style, QWidget* parent)
    : hwnd_(hwnd), style_(style), widget_(new StatusWidget(this, parent)) {
    setParent(widget_);
}

QRect StatusCtl::PartRect(int part) const {
    if (part < 0 || part >= PartCount()) return {};
    const int left = part == 0 ? 0 : std::max(edges_[part - 1], 0);
    int right = edges_[part] < 0 ? widget_->width() : edges_[part];
    if (right < left) right = left;
    return QRect(left, 2, right - left, std::max(0, widget_->height() - 2));
}

const std::string& StatusCtl::Text(int part) const {
    return part >= 0 && part < static_cast<int>(texts_.size()) ? texts_[part] : kEmpty;
}

void StatusCtl::Place() { AlignToParent(hwnd_, style_, height_, (style_ & CCS_BOTTOM) != CCS_TOP); }

LRESULT StatusCtl::Message(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = true;
    switch (msg) {
    case WM_CREATE:
        Place();
        handled = false;
        return 0;
    case WM_SIZE: Place(); return 0;
    case SB_SETPARTS: {
        const int n = static_cast<int>(wp);
        auto* edges = reinterpret_cast<const int*>(lp);
        if (n <= 0 || n > kMaxParts || !edges) return FALSE;
        edges_.assign(edges, edges + n);
        texts_.resize(n);
        widget_->update();
        return TRUE;
    }
    case SB_GETPARTS: {
        auto* out = reinterpret_cast<int*>(lp);
        const int n = static_cast<int>(wp);
        if (out)
            for (int i = 0; i < n && i < PartCount(); ++i) out[i] = edges_[i];
        return PartCount();
    }
    case SB_SETTEXTA: {
        const int part = static_cast<int>(wp & 0xFF);
        const char* text = reinterpret_cast<const char*>(lp);
        std::string s = text ? std::string(text) : std::string();
        if (part == 255) {
            simpleText_ = std::move(s);
        } else {
            if (part >= PartCount()) return FALSE;
            texts_[part] = std::move(s);
        }
        widget_->update();
        return TRUE;
    }
    case SB_GETTEXTLENGTHA:
    case SB_GETTEXTA: {
        const int part = static_cast<int>(wp & 0xFF);
        const std::string& s = part == 255 ? simpleText_ : Text(part);
        if (msg == SB_GETTEXTA && lp) std::memcpy(reinterpret_cast<char*>(lp), s.c_str(), s.size() + 1);
        return MAKELONG(static_cast<WORD>(s.size()), 0);
    }
    case SB_SIMPLE:
        simple_ = wp != 0;
        widget_->update();
        return 0;
    case SB_GETRECT: {
        auto* rc = reinterpret_cast<RECT*>(lp);
        const QRect r = PartRect(static_cast<int>(wp));
        if (!rc || r.isNull()) return FALSE;
        *rc = ToRect(r);
        return TRUE;
    }
    case SB_SETMINHEIGHT: height_ = std::max(kStatusBarHeight, static_cast<int>(wp) + 4); return 0;
    case SB_GETBORDERS: {
        auto* b = reinterpret_cast<int*>(lp);
        if (!b) return FALSE;
        b[0] = 0;
        b[1] = 2;
        b[2] = 2;
        return TRUE;
    }
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wp);
        widget_->setFont(w32::FontOf(font_));
        widget_->update();
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    default: handled = false; return 0;
    }
}

void StatusWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0xF0, 0xF0, 0xF0));
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.drawLine(0, 0, width(), 0);
    const QFontMetrics fm(font());
    auto drawText = [&](const QRect& r, const std::string& text) {
        p.setPen(Qt::black);
        const QRect tr = r.adjusted(4, 0, -4, 0);
        p.drawText(tr, Qt::AlignLeft | Qt::AlignVCenter, fm.elidedText(w32::ToQt(text), Qt::ElideRight, tr.width()));
    };
    if (ctl_->Simple()) {
        drawText(QRect(0, 2, width(), height() - 2), ctl_->SimpleText());
    } else {
        for (int i = 0; i < ctl_->PartCount(); ++i) {
            const QRect r = ctl_->PartRect(i);
            if (r.width() <= 0) continue;
            p.setPen(QColor(0xC0, 0xC0, 0xC0));
            p.drawRect(r.adjusted(0, 0, -2, -2));
            drawText(r, ctl_->Text(i));
        }
    }
    if (ctl_->SizeGrip()) {
        p.setPen(QColor(0xA0, 0xA0, 0xA0));
        for (int k = 4; k <= 12; k += 4) p.drawLine(width() - k, height() - 2, width() - 2, height() - k);
    }
}

}  // namespace w32::cc
