#include "commctrl/DateTimePicker.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QLineEdit>

#include "commctrl/Glue.h"

namespace w32::cc {
namespace {

// Values are plain calendar fields: kept in UTC so that no local-time gap
// (a daylight-saving change) can turn a valid SYSTEMTIME into an invalid value.
const QDateTime kMin(QDate(1, 1, 1), QTime(0, 0, 0), Qt::UTC);
const QDateTime kMax(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);

QString DefaultFormat(bool time) { return time ? QStringLiteral("H:mm:ss") : QStringLiteral("yyyy-M-d"); }

// Win32 picker format -> Qt display format ("tt" is the AM/PM marker).
QString QtFormat(const QString& f) {
    QString out = f;
    out.replace(QStringLiteral("tt"), QStringLiteral("AP"));
    out.replace(QStringLiteral("t"), QStringLiteral("A"));
    return out;
}

}  // namespace

bool DtpCtl::ValidSystemTime(const SYSTEMTIME& st) {
    if (st.wYear < 1 || st.wYear > 9999 || st.wMonth < 1 || st.wMonth > 12 || st.wDay < 1) return false;
    if (st.wDay > QDate(st.wYear, st.wMonth, 1).daysInMonth()) return false;
    return st.wHour < 24 && st.wMinute < 60 && st.wSecond < 60 && st.wMilliseconds < 1000;
}

QDateTime DtpCtl::ToDateTime(const SYSTEMTIME& st) {
    return QDateTime(QDate(st.wYear, st.wMonth, st.wDay), QTime(st.wHour, st.wMinute, st.wSecond), Qt::UTC);
}

SYSTEMTIME DtpCtl::ToSystemTime(const QDateTime& dt, int ms) {
    SYSTEMTIME st{};
    const QDate d = dt.date();
    const QTime t = dt.time();
    st.wYear = static_cast<WORD>(d.year());
    st.wMonth = static_cast<WORD>(d.month());
    st.wDay = static_cast<WORD>(d.day());
    st.wDayOfWeek = static_cast<WORD>(d.dayOfWeek() % 7);  // Sunday = 0
    st.wHour = static_cast<WORD>(t.hour());
    st.wMinute = static_cast<WORD>(t.minute());
    st.wSecond = static_cast<WORD>(t.second());
    st.wMilliseconds = static_cast<WORD>(ms);
    return st;
}

DtpCtl::DtpCtl(HWND hwnd, DWORD style, QWidget* parent) : hwnd_(hwnd), style_(style), edit_(new QDateTimeEdit(parent)) {
    setParent(edit_);
    edit_->setTimeSpec(Qt::UTC);
    edit_->setDateTimeRange(kMin, kMax);
    edit_->setDisplayFormat(DefaultFormat(IsTimeFormat()));
    edit_->setCalendarPopup(!(style & DTS_UPDOWN));
    edit_->setKeyboardTracking(true);
    edit_->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    // The value starts as the local date and time at creation, from the same
    // clock as the program's GetLocalTime.
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    ms_ = now.wMilliseconds;
    ++quiet_;
    edit_->setDateTime(ToDateTime(now));
    --quiet_;
    connect(edit_, &QDateTimeEdit::dateTimeChanged, this, &DtpCtl::Changed);
    if (edit_->calendarPopup()) {
        QCalendarWidget* cal = edit_->calendarWidget();
        cal->setGridVisible(false);
        if (QWidget* popup = Popup()) popup->installEventFilter(this);
    }
}

QWidget* DtpCtl::Popup() const {
    if (!edit_->calendarPopup()) return nullptr;
    QCalendarWidget* cal = edit_->calendarWidget();
    return cal ? cal->window() : nullptr;
}

bool DtpCtl::eventFilter(QObject* o, QEvent* e) {
    if (o == Popup()) {
        if (e->type() == QEvent::Show) {
            if (style_ & DTS_RIGHTALIGN) {
                // Right edge of the calendar under the right edge of the control.
                QWidget* popup = Popup();
                const QPoint bottomRight = edit_->mapToGlobal(QPoint(edit_->width(), edit_->height()));
                popup->move(bottomRight.x() - popup->width(), bottomRight.y());
            }
            NMHDR hdr{};
            SendNotify(hwnd_, DTN_DROPDOWN, &hdr);
        } else if (e->type() == QEvent::Hide) {
            NMHDR hdr{};
            SendNotify(hwnd_, DTN_CLOSEUP, &hdr);
        }
    }
    return QObject::eventFilter(o, e);
}

void DtpCtl::Changed(const QDateTime& dt) {
    if (quiet_) return;
    ms_ = 0;
    NMDATETIMECHANGE nm{};
    nm.dwFlags = GDT_VALID;
    nm.st = ToSystemTime(dt, ms_);
    SendNotify(hwnd_, DTN_DATETIMECHANGE, &nm.nmhdr);
}

LRESULT DtpCtl::Message(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = true;
    switch (msg) {
    case DTM_GETSYSTEMTIME: {
        auto* st = reinterpret_cast<SYSTEMTIME*>(lp);
        if (!st) return GDT_ERROR;
        *st = ToSystemTime(edit_->dateTime(), ms_);
        return GDT_VALID;
    }
    case DTM_SETSYSTEMTIME: {
        auto* st = reinterpret_cast<const SYSTEMTIME*>(lp);
        if (static_cast<int>(wp) != GDT_VALID || !st || !ValidSystemTime(*st)) return FALSE;
        ms_ = st->wMilliseconds;
        ++quiet_;
        edit_->setDateTime(ToDateTime(*st));
        --quiet_;
        return TRUE;
    }
    case DTM_GETRANGE: {
        auto* st = reinterpret_cast<SYSTEMTIME*>(lp);
        if (!st) return 0;
        st[0] = ToSystemTime(edit_->minimumDateTime(), 0);
        st[1] = ToSystemTime(edit_->maximumDateTime(), 0);
        return 3;  // GDTR_MIN | GDTR_MAX
    }
    case DTM_SETRANGE: {
        auto* st = reinterpret_cast<const SYSTEMTIME*>(lp);
        if (!st) return FALSE;
        QDateTime lo = kMin, hi = kMax;
        if (wp & 1) {
            if (!ValidSystemTime(st[0])) return FALSE;
            lo = ToDateTime(st[0]);
        }
        if (wp & 2) {
            if (!ValidSystemTime(st[1])) return FALSE;
            hi = ToDateTime(st[1]);
        }
        ++quiet_;
        edit_->setDateTimeRange(lo, hi);
        --quiet_;
        return TRUE;
    }
    case DTM_SETFORMATA: {
        auto* f = reinterpret_cast<const char*>(lp);
        QString fmt = f ? w32::ToQt(f) : QString();
        if (fmt.isEmpty()) fmt = DefaultFormat(IsTimeFormat());
        ++quiet_;
        edit_->setDisplayFormat(QtFormat(fmt));
        --quiet_;
        return TRUE;
    }
    case DTM_GETMONTHCAL: return 0;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wp);
        edit_->setFont(w32::FontOf(font_));
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default: handled = false; return 0;
    }
}

}  // namespace w32::cc
