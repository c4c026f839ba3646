// The date-time picker's calendar: Chinese month and day names whatever the
// system locale, Win32's title, weekday heads and today line, the keys that
// drop it down, its arrows and Esc (built with a UTF-8 execution character
// set, as it includes Qt).
#include <QtGui/QKeyEvent>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCalendarWidget>
#include <QtWidgets/QLabel>
#include <QtWidgets/QTableView>
#include <QtWidgets/QToolButton>

#include "Fixture.h"

using namespace cctest;

namespace {

class PickerCalendar : public ParentTest {
protected:
    HWND MakePicker() {
        HWND h = Make(DATETIMEPICK_CLASSA, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 166, 40, 105, 20, 11206, "DateTime");
        EXPECT_NE(h, nullptr);
        return h;
    }
    static void Set(HWND h, int y, int m, int d) {
        SYSTEMTIME st{};
        st.wYear = WORD(y);
        st.wMonth = WORD(m);
        st.wDay = WORD(d);
        SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    }
    static QDate Shown(HWND h) {
        SYSTEMTIME st{};
        SendMessageA(h, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        return QDate(st.wYear, st.wMonth, st.wDay);
    }
    // A widget of the open calendar's window, by name.
    template <class W>
    static W* InCalendar(const char* name) {
        for (QWidget* w : QApplication::allWidgets())
            if (auto* c = qobject_cast<QCalendarWidget*>(w); c && c->isVisible())
                return c->window()->findChild<W*>(QString::fromLatin1(name));
        return nullptr;
    }
};

TEST_F(PickerCalendar, SpeaksChineseWithWin32sTitleAndPicksTodayFromItsFoot) {
    HWND h = MakePicker();
    Set(h, 2026, 12, 7);
    w32test::OpenPickerCalendar(h);
    ASSERT_TRUE(w32test::PickerCalendarOpen(h));
    auto* title = InCalendar<QLabel>("w32_calendar_title");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("2026年12月"));
    QCalendarWidget* cal = title->window()->findChild<QCalendarWidget*>();
    const QAbstractItemModel* days = cal->findChild<QTableView*>()->model();
    for (int c = 0; c < 7; ++c) {  // the header row, from Sunday on
        EXPECT_EQ(days->index(0, c).data().toString(), QStringLiteral("日一二三四五六").at(c));
        EXPECT_EQ(days->index(0, c).data(Qt::ForegroundRole), days->index(0, 1).data(Qt::ForegroundRole));
    }
    cal->showNextMonth();
    EXPECT_EQ(title->text(), QStringLiteral("2027年1月"));
    w32test::DismissPickerCalendar(h);

    SYSTEMTIME now{};
    GetLocalTime(&now);
    const QDate today(now.wYear, now.wMonth, now.wDay);
    Set(h, today.year() - 1, 1, 1);
    w32test::OpenPickerCalendar(h);
    auto* foot = InCalendar<QToolButton>("w32_calendar_today");
    ASSERT_NE(foot, nullptr);
    EXPECT_EQ(foot->text(), QStringLiteral("今天: %1/%2/%3").arg(today.year()).arg(today.month()).arg(today.day()));
    Rec().Clear();
    foot->click();
    EXPECT_FALSE(w32test::PickerCalendarOpen(h));
    EXPECT_EQ(Shown(h), today);
    EXPECT_EQ(Rec().Of(DTN_DATETIMECHANGE).size(), 1u);
    EXPECT_EQ(Rec().Of(DTN_CLOSEUP).size(), 1u);
}

// Open, its title's arrows carry the selected day to the next or previous
// month and the field follows it; Esc puts back the date it dropped down
// with. Closed on a day, the picker shows the field it steps selected.
TEST_F(PickerCalendar, F4AndAltDownDropItDownItsArrowsCarryTheDayAndEscPutsItBack) {
    HWND h = MakePicker();
    Set(h, 2026, 12, 15);
    SetFocus(h);
    w32test::ProcessEvents();
    for (bool alt : {false, true}) {
        SCOPED_TRACE(alt ? "Alt+Down" : "F4");
        const int key = alt ? Qt::Key_Down : Qt::Key_F4;
        const Qt::KeyboardModifiers mods = alt ? Qt::AltModifier : Qt::NoModifier;
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QKeyEvent down(QEvent::KeyPress, key, mods), up(QEvent::KeyRelease, key, mods);
        QApplication::sendEvent(target, &down);
        QApplication::sendEvent(target, &up);
        w32test::ProcessEvents();
        EXPECT_TRUE(w32test::PickerCalendarOpen(h));
        EXPECT_EQ(Shown(h), QDate(2026, 12, 15));
        for (QToolButton* b : InCalendar<QLabel>("w32_calendar_title")->parentWidget()->findChildren<QToolButton*>())
            if (b->arrowType() == (alt ? Qt::LeftArrow : Qt::RightArrow)) b->click();
        EXPECT_EQ(Shown(h), alt ? QDate(2026, 11, 15) : QDate(2027, 1, 15));
        w32test::DismissPickerCalendar(h);
        EXPECT_EQ(Shown(h), QDate(2026, 12, 15));
        SetFocus(h);
        w32test::ProcessEvents();
    }
    w32test::PressKey(VK_RIGHT);  // the month
    w32test::OpenPickerCalendar(h);
    w32test::PickCalendarDate(h, 2026, 9, 1);
    EXPECT_EQ(w32test::PickerSelectedText(h), "9");
}

// At the screen's bottom right corner the calendar opens above its field,
// on the screen.
TEST_F(PickerCalendar, AtTheScreensCornerTheCalendarOpensAboveOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    SetWindowPos(parent_, nullptr, screen.right() - 300, screen.bottom() - 100, 300, 100, SWP_NOZORDER);
    HWND picker = MakePicker();
    w32test::OpenPickerCalendar(picker);
    RECT field{};
    GetWindowRect(picker, &field);
    QWidget* open = QApplication::activePopupWidget();
    ASSERT_NE(open, nullptr);
    EXPECT_TRUE(screen.contains(open->geometry()) && open->geometry().bottom() <= field.top) << open->y();
    open->close();
}

}  // namespace
