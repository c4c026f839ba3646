#include "commctrl/DateTimePicker.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCalendarWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPainter>
#include <QProxyStyle>
#include <QResizeEvent>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOptionSpinBox>
#include <QTextCharFormat>
#include <QToolButton>
#include <algorithm>

#include "commctrl/Glue.h"

namespace w32::cc {
namespace {

// Values are plain calendar fields: kept in UTC so that no local-time gap
// (a daylight-saving change) can turn a valid SYSTEMTIME into an invalid value.
const QDateTime kMin(QDate(1, 1, 1), QTime(0, 0, 0), Qt::UTC);
const QDateTime kMax(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);

QString DefaultFormat(bool time) { return time ? QStringLiteral("H:mm:ss") : QStringLiteral("yyyy-M-d"); }

// A year typed with one or two digits lies in the hundred years ending with
// this one (the system's default two-digit year window).
constexpr int kTwoDigitYearMax = 2049;

QDateTime Clamp(const QDateTime& dt, const QDateTime& lo, const QDateTime& hi) {
    return dt < lo ? lo : dt > hi ? hi : dt;
}

// The value with one field set; the day is kept within its month.
QDateTime WithField(const QDateTime& dt, QDateTimeEdit::Section sec, int v) {
    QDate d = dt.date();
    QTime t = dt.time();
    int y = d.year(), m = d.month(), day = d.day(), h = t.hour(), mi = t.minute(), s = t.second();
    switch (sec) {
    case QDateTimeEdit::YearSection: y = std::clamp(v, 1, 9999); break;
    case QDateTimeEdit::MonthSection: m = std::clamp(v, 1, 12); break;
    case QDateTimeEdit::DaySection: day = std::max(v, 1); break;
    case QDateTimeEdit::HourSection: h = std::clamp(v, 0, 23); break;
    case QDateTimeEdit::MinuteSection: mi = std::clamp(v, 0, 59); break;
    case QDateTimeEdit::SecondSection: s = std::clamp(v, 0, 59); break;
    default: return dt;
    }
    day = std::min(day, QDate(y, m, 1).daysInMonth());
    return QDateTime(QDate(y, m, day), QTime(h, mi, s), Qt::UTC);
}

// The largest value a field takes (a day: the days of the month shown).
int FieldMax(QDateTimeEdit::Section sec, const QDateTime& dt) {
    switch (sec) {
    case QDateTimeEdit::MonthSection: return 12;
    case QDateTimeEdit::DaySection: return dt.date().daysInMonth();
    case QDateTimeEdit::HourSection: return 23;
    default: return 59;
    }
}

// Win32 picker format -> Qt display format ("tt" is the AM/PM marker).
QString QtFormat(const QString& f) {
    QString out = f;
    out.replace(QStringLiteral("tt"), QStringLiteral("AP"));
    out.replace(QStringLiteral("t"), QStringLiteral("A"));
    return out;
}

// The widest text the format shows in the edit's font: every field at its
// longest, every digit the widest one.
int WidestText(const QDateTimeEdit* e) {
    const QFontMetrics fm(e->font());
    QChar widest = u'0';
    for (char16_t c = u'1'; c <= u'9'; ++c)
        if (fm.horizontalAdvance(QChar(c)) > fm.horizontalAdvance(widest)) widest = QChar(c);
    QString t = e->locale().toString(QDateTime(QDate(2000, 12, 28), QTime(23, 58, 58)), e->displayFormat());
    for (QChar& c : t)
        if (c.isDigit()) c = widest;
    return fm.horizontalAdvance(t);
}

// The up-down picker drawn as a Win32 one: a one-pixel border, the text from
// the left end of the field, the arrows at the right end behind a one-pixel
// line. The arrows keep their usual width while the widest text fits beside
// them, and narrow (down to kMinArrows) so that it does: the field keeps the
// size it is given.
class UpDownStyle : public QProxyStyle {
public:
    static constexpr int kBorder = 1;
    static constexpr int kArrows = 15;  // with the line before them
    static constexpr int kMinArrows = 6;

    UpDownStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                         const QWidget* widget) const override {
        const auto* sb = qstyleoption_cast<const QStyleOptionSpinBox*>(opt);
        const auto* edit = qobject_cast<const QDateTimeEdit*>(widget);
        if (cc != CC_SpinBox || !sb || !edit) return QProxyStyle::subControlRect(cc, opt, sc, widget);
        const QRect r = sb->rect;
        // The line shows its text without the caret's pixel scrolling it.
        const int text = WidestText(edit) + 1;
        const int arrows = std::clamp(r.width() - 2 * kBorder - text, kMinArrows, kArrows);
        const int x = r.width() - kBorder - arrows;
        const int middle = r.height() / 2;
        switch (sc) {
        case SC_SpinBoxUp: return QRect(x, kBorder, arrows, middle - kBorder);
        case SC_SpinBoxDown: return QRect(x, middle, arrows, r.height() - kBorder - middle);
        case SC_SpinBoxEditField: return QRect(kBorder, kBorder, x - kBorder, r.height() - 2 * kBorder);
        case SC_SpinBoxFrame: return r;
        default: return QRect();
        }
    }

    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* widget) const override {
        const auto* sb = qstyleoption_cast<const QStyleOptionSpinBox*>(opt);
        if (cc != CC_SpinBox || !sb) {
            QProxyStyle::drawComplexControl(cc, opt, p, widget);
            return;
        }
        const QPalette& pal = sb->palette;
        const QColor outline =
            sb->state & State_HasFocus ? pal.highlight().color().darker(125) : pal.window().color().darker(140);
        const QRect r = sb->rect;
        p->fillRect(r, pal.base());
        p->fillRect(QRect(r.left(), r.top(), r.width(), 1), outline);
        p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), outline);
        p->fillRect(QRect(r.left(), r.top(), 1, r.height()), outline);
        p->fillRect(QRect(r.right(), r.top(), 1, r.height()), outline);
        const QRect up = subControlRect(cc, opt, SC_SpinBoxUp, widget);
        const QRect down = subControlRect(cc, opt, SC_SpinBoxDown, widget);
        p->fillRect(QRect(up.left(), up.top(), 1, down.bottom() - up.top() + 1), outline);
        const bool enabled = sb->state & State_Enabled;
        const bool pressed = sb->state & State_Sunken;
        DrawArrow(p, up.adjusted(1, 0, 0, 0), true, pal, enabled && (sb->stepEnabled & QAbstractSpinBox::StepUpEnabled),
                  pressed && sb->activeSubControls == SC_SpinBoxUp);
        DrawArrow(p, down.adjusted(1, 0, 0, 0), false, pal,
                  enabled && (sb->stepEnabled & QAbstractSpinBox::StepDownEnabled),
                  pressed && sb->activeSubControls == SC_SpinBoxDown);
    }

private:
    // A button face and its triangle (up to 7 pixels wide), centred, drawn
    // row by row.
    static void DrawArrow(QPainter* p, const QRect& r, bool up, const QPalette& pal, bool enabled, bool pressed) {
        p->fillRect(r, pressed ? pal.button().color().darker(120) : pal.button().color());
        const int base = std::min(7, (r.width() - 1) | 1);
        const int rows = std::min((base + 1) / 2, r.height() - 2);
        const QColor c = enabled ? QColor(96, 96, 96) : QColor(191, 191, 191);
        const int cx = r.left() + (r.width() - 1) / 2;
        const int top = r.top() + (r.height() - rows) / 2;
        for (int i = 0; i < rows; ++i) {
            const int half = up ? i : rows - 1 - i;
            p->fillRect(QRect(cx - half, top + i, 2 * half + 1, 1), c);
        }
    }
};

QStyle* UpDownStyleOfPickers() {
    static QPointer<UpDownStyle> style;
    if (!style) {
        style = new UpDownStyle;
        style->setParent(qApp);
    }
    return style;
}

QDate Today() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return QDate(now.wYear, now.wMonth, now.wDay);
}

// The drop-down month calendar's days, today framed as the Win32 one frames it.
class MonthCalendar : public QCalendarWidget {
public:
    static constexpr QRgb kTodayFrame = qRgb(192, 0, 0);
    QDate today = Today();

protected:
    void paintCell(QPainter* p, const QRect& r, QDate d) const override {
        QCalendarWidget::paintCell(p, r, d);
        if (d != today) return;
        p->save();
        p->setPen(QColor(kTodayFrame));
        p->setBrush(Qt::NoBrush);
        p->drawRect(r.adjusted(1, 1, -2, -2));
        p->restore();
    }
};

}  // namespace

// The picker's edit: its arrows, keys and wheel step the selected field the
// picker's way (QDateTimeEdit's own stepping stops a field at its ends and
// greys the arrow there).
class PickerEdit : public QDateTimeEdit {
public:
    PickerEdit(DtpCtl* ctl, QWidget* parent) : QDateTimeEdit(parent), ctl_(ctl) {}
    void stepBy(int steps) override { ctl_->Step(steps); }
    // Drops the calendar down as a press on its button does.
    void DropDown() {
        const QPointF at(width() - 6, height() / 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QDateTimeEdit::mousePressEvent(&press);
    }

protected:
    // An arrow is greyed only where its step leaves the value as it is.
    StepEnabled stepEnabled() const override {
        if (isReadOnly()) return StepNone;
        const QDateTime now = dateTime();
        StepEnabled on = StepNone;
        if (ctl_->Stepped(1) != now) on |= StepUpEnabled;
        if (ctl_->Stepped(-1) != now) on |= StepDownEnabled;
        return on;
    }

private:
    DtpCtl* ctl_;
};

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

DtpCtl::DtpCtl(HWND hwnd, DWORD style, QWidget* parent)
    : hwnd_(hwnd), style_(style), edit_(new PickerEdit(this, parent)), lo_(kMin), hi_(kMax) {
    setParent(edit_);
    edit_->setTimeSpec(Qt::UTC);
    edit_->setDateTimeRange(kMin, kMax);
    edit_->setDisplayFormat(DefaultFormat(IsTimeFormat()));
    edit_->setCalendarPopup(!(style & DTS_UPDOWN));
    if (!edit_->calendarPopup()) {
        edit_->setStyle(UpDownStyleOfPickers());
        // The line keeps two pixels on either side of its text; the field's
        // place already leaves the border's.
        Line()->setTextMargins(-2, 0, -2, 0);
    }
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
    ShowFromLeft();
    connect(edit_, &QDateTimeEdit::dateTimeChanged, this, &DtpCtl::Changed);
    if (edit_->calendarPopup()) DressCalendar();
}

// The drop-down calendar as Win32's month calendar: in a frame, the title
// "2026年12月" between two arrows, the columns headed 日 一 ... 六 with
// the weekend in the other days' colour, today framed, and at its foot the line
// "今天: 2026/12/8", which picks today and closes the calendar.
void DtpCtl::DressCalendar() {
    auto* cal = new MonthCalendar;
    edit_->setCalendarWidget(cal);
    cal->setGridVisible(false);
    cal->setNavigationBarVisible(false);
    cal->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    cal->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    for (Qt::DayOfWeek day : {Qt::Saturday, Qt::Sunday}) cal->setWeekdayTextFormat(day, QTextCharFormat());
    QWidget* popup = Popup();
    popup->installEventFilter(this);
    auto* box = qobject_cast<QBoxLayout*>(popup->layout());
    if (!box) return;
    box->setContentsMargins(1, 1, 1, 1);  // the frame, painted in eventFilter
    QPalette white = popup->palette();
    white.setColor(QPalette::Window, white.color(QPalette::Base));
    popup->setPalette(white);
    popup->setAutoFillBackground(true);
    auto* title = new QHBoxLayout;
    for (Qt::ArrowType arrow : {Qt::LeftArrow, Qt::RightArrow}) {
        auto* b = new QToolButton(popup);
        b->setArrowType(arrow);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        // The selected day goes with the month shown, as Page Up / Page Down
        // take it, and the field shows it.
        connect(b, &QToolButton::clicked, cal, [cal, months = arrow == Qt::LeftArrow ? -1 : 1] {
            cal->setSelectedDate(cal->selectedDate().addMonths(months));
        });
        title->addWidget(b);
        if (arrow == Qt::LeftArrow) {
            auto* month = new QLabel(popup);
            month->setObjectName(QStringLiteral("w32_calendar_title"));
            month->setAlignment(Qt::AlignCenter);
            const auto show = [month](int year, int m) { month->setText(QStringLiteral("%1年%2月").arg(year).arg(m)); };
            show(cal->yearShown(), cal->monthShown());
            connect(cal, &QCalendarWidget::currentPageChanged, month, show);
            title->addWidget(month, 1);
        }
    }
    box->insertLayout(0, title);
    today_ = new QToolButton(popup);
    today_->setObjectName(QStringLiteral("w32_calendar_today"));
    today_->setAutoRaise(true);
    today_->setFocusPolicy(Qt::NoFocus);
    connect(today_, &QToolButton::clicked, this, [this, cal] {
        cal->setSelectedDate(cal->today);
        if (QWidget* p = Popup()) p->close();
    });
    box->addWidget(today_, 0, Qt::AlignLeft);
}

QWidget* DtpCtl::Popup() const {
    if (!edit_->calendarPopup()) return nullptr;
    QCalendarWidget* cal = edit_->calendarWidget();
    return cal ? cal->window() : nullptr;
}

bool DtpCtl::eventFilter(QObject* o, QEvent* e) {
    if (o == Popup()) {
        if (e->type() == QEvent::Paint) {
            QWidget* popup = Popup();
            QPainter p(popup);
            p.setPen(popup->palette().color(QPalette::WindowText));
            p.drawRect(popup->rect().adjusted(0, 0, -1, -1));
        } else if (e->type() == QEvent::Show) {
            // The days take the keys. The calendar is a window inside the
            // picker's widget: disabling the picker took its focus away,
            // and enabling it again gives none back.
            auto* cal = static_cast<MonthCalendar*>(edit_->calendarWidget());
            cal->setFocus(Qt::PopupFocusReason);
            dropped_ = edit_->dateTime();
            // Today as the program's clock has it when the calendar opens.
            cal->today = Today();
            if (today_)
                today_->setText(QStringLiteral("今天: %1/%2/%3")
                                    .arg(cal->today.year())
                                    .arg(cal->today.month())
                                    .arg(cal->today.day()));
            PlaceCalendar();
            NMHDR hdr{};
            SendNotify(hwnd_, DTN_DROPDOWN, &hdr);
        } else if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
            // Esc keeps the date the calendar dropped down with (the widget
            // would keep the day last moved to).
            Apply(dropped_, edit_->dateTime());
        } else if (e->type() == QEvent::Hide) {
            // The field the keys step shows selected again.
            if (::GetFocus() == hwnd_) SelectField(field_);
            NMHDR hdr{};
            SendNotify(hwnd_, DTN_CLOSEUP, &hdr);
        }
    }
    return QObject::eventFilter(o, e);
}

// The calendar under the control, its left edge under the control's (its
// right edge with DTS_RIGHTALIGN), kept on the control's screen: shifted
// sideways until it fits, above the control when there is no room below.
// Qt placed it before it showed, by its size before today's line was set.
void DtpCtl::PlaceCalendar() {
    QWidget* popup = Popup();
    popup->adjustSize();
    const QRect field(edit_->mapToGlobal(QPoint(0, 0)), edit_->size());
    const QRect screen = edit_->screen()->availableGeometry();
    QRect r(QPoint(style_ & DTS_RIGHTALIGN ? field.right() + 1 - popup->width() : field.left(), field.bottom() + 1),
            popup->size());
    if (r.bottom() > screen.bottom()) r.moveBottom(field.top() - 1);
    r.moveLeft(std::max(std::min(r.left(), screen.right() + 1 - r.width()), screen.left()));
    r.moveTop(std::max(std::min(r.top(), screen.bottom() + 1 - r.height()), screen.top()));
    popup->move(r.topLeft());
}

void DtpCtl::Changed(const QDateTime& dt) {
    if (quiet_) return;
    // A change made in the widget itself (calendar, up-down buttons) ends
    // the typing; a year typed meanwhile is dropped with the range it needed.
    QDateTime v = dt;
    if (!typed_.isEmpty()) {
        typed_.clear();
        RestoreRange();
        v = edit_->dateTime();
    }
    Notify(v);
}

void DtpCtl::Notify(const QDateTime& dt) {
    ms_ = 0;
    NMDATETIMECHANGE nm{};
    nm.dwFlags = GDT_VALID;
    nm.st = ToSystemTime(dt, ms_);
    SendNotify(hwnd_, DTN_DATETIMECHANGE, &nm.nmhdr);
}

// The edit places its line again, as on a resize: the arrows' width follows
// the font and the format.
void DtpCtl::Relayout() {
    QResizeEvent e(edit_->size(), edit_->size());
    QCoreApplication::sendEvent(edit_, &e);
}

QRect DtpCtl::ArrowsRect() const {
    if (edit_->calendarPopup()) return QRect();
    QStyleOptionSpinBox opt;
    opt.initFrom(edit_);
    opt.frame = edit_->hasFrame();
    opt.buttonSymbols = edit_->buttonSymbols();
    const QStyle* st = edit_->style();
    return st->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxUp, edit_)
        .united(st->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxDown, edit_));
}

QLineEdit* DtpCtl::Line() const { return edit_->findChild<QLineEdit*>(); }

// The fields are the runs of letters and digits of the shown text, one per
// section of the format.
std::vector<DtpCtl::Field> DtpCtl::Fields() const {
    std::vector<Field> out;
    const QString t = edit_->text();
    for (int i = 0; i < t.size();) {
        if (!t[i].isLetterOrNumber()) {
            ++i;
            continue;
        }
        int j = i;
        while (j < t.size() && t[j].isLetterOrNumber()) ++j;
        out.push_back(Field{i, j - i});
        i = j;
    }
    if (int(out.size()) != edit_->sectionCount()) out.clear();
    return out;
}

int DtpCtl::FieldAtCursor() const {
    const std::vector<Field> f = Fields();
    QLineEdit* l = Line();
    if (f.empty() || !l) return field_;
    const int pos = l->hasSelectedText() ? l->selectionStart() : l->cursorPosition();
    for (int i = int(f.size()) - 1; i >= 0; --i)
        if (pos >= f[i].start) return i;
    return 0;
}

// Selects a field with the caret at its start, so that the field shows from
// its first character on.
void DtpCtl::SelectField(int i) {
    const std::vector<Field> f = Fields();
    QLineEdit* l = Line();
    if (f.empty() || !l) return;
    field_ = std::clamp(i, 0, int(f.size()) - 1);
    edit_->setCurrentSectionIndex(field_);
    l->setSelection(f[field_].start + f[field_].length, -f[field_].length);
}

// Without the focus the picker shows its text from the left end, as much as fits.
void DtpCtl::ShowFromLeft() {
    if (QLineEdit* l = Line()) {
        l->deselect();
        l->setCursorPosition(0);
    }
}

// The widget takes the program's range again after a year typed outside it,
// and only then: a new range ends an arrow's press under way (see Apply).
void DtpCtl::RestoreRange() {
    if (!widened_) return;
    widened_ = false;
    ++quiet_;
    edit_->setDateTimeRange(lo_, hi_);
    --quiet_;
}

void DtpCtl::Apply(const QDateTime& dt, const QDateTime& before) {
    const QDateTime v = Clamp(dt, lo_, hi_);
    RestoreRange();
    ++quiet_;
    // A new range (a time format's is pinned to the day of each date set)
    // would end an arrow's press under way, which the widget then repeats
    // with nothing to step, the keys dead: a time of the same day is set alone.
    if (v.date() == edit_->date())
        edit_->setTime(v.time());
    else
        edit_->setDateTime(v);
    --quiet_;
    if (::GetFocus() == hwnd_)
        SelectField(field_);
    else
        ShowFromLeft();
    if (v != before) Notify(v);
}

// A field steps around its own values and leaves the others as they are:
// seconds and minutes 0..59, hours 0..23 (in a 12-hour format 12, 1..11
// within the same half of the day), the day within its month, the month
// within the year; the AM/PM field turns to the other half. The year steps
// without wrapping, and a stepped value outside the range takes its nearest
// end, so a time stays on its day.
QDateTime DtpCtl::Stepped(int steps) const {
    const QDateTime now = edit_->dateTime();
    if (field_ < 0 || field_ >= edit_->sectionCount()) return now;
    const auto wrap = [steps](int v, int first, int count) {
        return first + ((v - first + steps) % count + count) % count;
    };
    const QDate d = now.date();
    const QTime t = now.time();
    const QDateTimeEdit::Section sec = edit_->sectionAt(field_);
    int v = 0;
    switch (sec) {
    case QDateTimeEdit::YearSection: v = d.year() + steps; break;
    case QDateTimeEdit::MonthSection: v = wrap(d.month(), 1, 12); break;
    case QDateTimeEdit::DaySection: v = wrap(d.day(), 1, d.daysInMonth()); break;
    case QDateTimeEdit::HourSection:
        v = edit_->displayedSections() & QDateTimeEdit::AmPmSection ? t.hour() / 12 * 12 + wrap(t.hour() % 12, 0, 12)
                                                                    : wrap(t.hour(), 0, 24);
        break;
    case QDateTimeEdit::MinuteSection: v = wrap(t.minute(), 0, 60); break;
    case QDateTimeEdit::SecondSection: v = wrap(t.second(), 0, 60); break;
    case QDateTimeEdit::AmPmSection:
        return Clamp(WithField(now, QDateTimeEdit::HourSection, (t.hour() + steps % 2 * 12 + 24) % 24), lo_, hi_);
    default: return now;
    }
    return Clamp(WithField(now, sec, v), lo_, hi_);
}

// A step settles a year being typed first (the keys and clicks have already).
void DtpCtl::Step(int steps) {
    Commit();
    Apply(Stepped(steps), edit_->dateTime());
}

// A digit replaces the selected field: a field of two digits takes up to two,
// the next one starts it afresh; the year takes up to four and is settled when
// the user leaves it (Commit). The digits apply to the value as it was before
// the typing, never to what the earlier digits made of it (the day cut to
// February of the year 2, a value clamped to the range).
void DtpCtl::TypeDigit(int digit) {
    if (field_ < 0 || field_ >= edit_->sectionCount()) return;
    const QDateTimeEdit::Section sec = edit_->sectionAt(field_);
    const QDateTime now = edit_->dateTime();
    if (typed_.isEmpty()) typedFrom_ = now;
    typed_ += QChar(u'0' + digit);
    if (sec == QDateTimeEdit::YearSection) {
        if (typed_.size() == 4) {
            Commit();
            return;
        }
        // Shown as typed meanwhile, which may lie outside the range.
        if (const int v = typed_.toInt(); v >= 1) {
            ++quiet_;
            widened_ = true;
            edit_->setDateTimeRange(kMin, kMax);
            edit_->setDateTime(WithField(typedFrom_, sec, v));
            --quiet_;
            SelectField(field_);
        }
        return;
    }
    if (sec == QDateTimeEdit::AmPmSection || sec == QDateTimeEdit::NoSection) {
        typed_.clear();
        return;
    }
    const int max = FieldMax(sec, typedFrom_);
    int v = typed_.toInt();
    if (v > max) {
        typed_ = QString(QChar(u'0' + digit));
        v = digit;
    }
    const bool bDone = typed_.size() >= 2 || v * 10 > max;
    const bool bNoZero = sec == QDateTimeEdit::MonthSection || sec == QDateTimeEdit::DaySection;
    if (bDone) typed_.clear();
    if (v > 0 || !bNoZero) Apply(WithField(typedFrom_, sec, v), now);
}

// Ends the typing in a field: a year of one or two digits lies in the
// two-digit year window; a date outside the range becomes its nearest end.
void DtpCtl::Commit() {
    if (typed_.isEmpty()) return;
    const QString t = typed_;
    typed_.clear();
    if (field_ >= edit_->sectionCount() || edit_->sectionAt(field_) != QDateTimeEdit::YearSection) return;
    int v = t.toInt();
    if (t.size() <= 2) {
        const int century = kTwoDigitYearMax / 100 * 100;
        v += v <= kTwoDigitYearMax % 100 ? century : century - 100;
    }
    Apply(WithField(typedFrom_, QDateTimeEdit::YearSection, v), typedFrom_);
}

LRESULT DtpCtl::Input(UINT msg, WPARAM wp, LPARAM, bool& handled) {
    handled = false;
    // A change notified on the way may make the parent destroy the picker.
    QPointer<DtpCtl> self(this);
    // F4 and Alt+Down drop the calendar down and leave the value.
    const bool alt = msg == WM_SYSKEYDOWN || ::GetKeyState(VK_MENU) < 0;
    if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && Popup() && (wp == VK_F4 ? !alt : wp == VK_DOWN && alt)) {
        handled = true;
        Commit();
        if (self) static_cast<PickerEdit*>(edit_)->DropDown();
        return 0;
    }
    switch (msg) {
    case WM_KEYDOWN:
        switch (wp) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_HOME:
        case VK_END: {
            handled = true;
            Commit();
            if (!self) return 0;
            const int last = std::max(edit_->sectionCount() - 1, 0);
            SelectField(wp == VK_HOME   ? 0
                        : wp == VK_END  ? last
                        : wp == VK_LEFT ? std::max(field_ - 1, 0)
                                        : std::min(field_ + 1, last));
            return 0;
        }
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_F4:
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_TAB:
        case VK_SHIFT:
        case VK_CONTROL:
        case VK_MENU:
            Commit();
            handled = !self;
            return 0;
        default: handled = true; return 0;  // characters come as WM_CHAR
        }
    case WM_CHAR:
        handled = true;
        if (wp >= '0' && wp <= '9') {
            TypeDigit(int(wp - '0'));
        } else if (wp == '-' || wp == '/' || wp == '.' || wp == ':' || wp == ' ' || wp == ',') {
            Commit();
            if (self) SelectField(field_ + 1);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // A click takes the focus, as a Win32 control does.
        if (::GetFocus() != hwnd_) {
            ::SetFocus(hwnd_);
            if (!self) {
                handled = true;
                return 0;
            }
        }
        [[fallthrough]];
    case WM_KILLFOCUS:
        Commit();
        handled = !self;
        return 0;
    case DTM_GETSYSTEMTIME:
        // A year being typed is read as it will be settled; the digits of
        // another field already stand in the value.
        if (!typed_.isEmpty() && field_ < edit_->sectionCount() &&
            edit_->sectionAt(field_) == QDateTimeEdit::YearSection)
            Commit();
        handled = !self;
        return 0;
    default: return 0;
    }
}

void DtpCtl::AfterInput(UINT msg, WPARAM wp) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (::GetFocus() == hwnd_) SelectField(FieldAtCursor());
        break;
    case WM_KEYDOWN:
        if (wp == VK_UP || wp == VK_DOWN || wp == VK_PRIOR || wp == VK_NEXT) {
            if (::GetFocus() == hwnd_) SelectField(field_);
        }
        break;
    case WM_SETFOCUS: SelectField(field_); break;
    case WM_KILLFOCUS: ShowFromLeft(); break;
    default: break;
    }
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
        // The program's value ends any typing, and is held to its range.
        typed_.clear();
        RestoreRange();
        ++quiet_;
        edit_->setDateTime(ToDateTime(*st));
        --quiet_;
        if (::GetFocus() == hwnd_)
            SelectField(field_);
        else
            ShowFromLeft();
        return TRUE;
    }
    case DTM_GETRANGE: {
        auto* st = reinterpret_cast<SYSTEMTIME*>(lp);
        if (!st) return 0;
        st[0] = ToSystemTime(lo_, 0);
        st[1] = ToSystemTime(hi_, 0);
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
        Commit();
        lo_ = lo;
        hi_ = hi;
        ++quiet_;
        edit_->setDateTimeRange(lo, hi);
        --quiet_;
        return TRUE;
    }
    case DTM_SETFORMATA: {
        auto* f = reinterpret_cast<const char*>(lp);
        QString fmt = f ? w32::ToQt(f) : QString();
        if (fmt.isEmpty()) fmt = DefaultFormat(IsTimeFormat());
        Commit();
        ++quiet_;
        edit_->setDisplayFormat(QtFormat(fmt));
        --quiet_;
        Relayout();
        field_ = 0;
        ShowFromLeft();
        return TRUE;
    }
    case DTM_GETMONTHCAL: return 0;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wp);
        edit_->setFont(w32::FontOf(font_));
        Relayout();
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default: handled = false; return 0;
    }
}

}  // namespace w32::cc
