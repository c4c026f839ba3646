// The date-time picker's calendar as Qt draws it: Chinese month and day names
// whatever the system locale (built with a UTF-8 execution character set, as
// it includes Qt).
#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCalendarWidget>
#include <QtWidgets/QToolButton>

#include "Fixture.h"

using namespace cctest;

namespace {

class PickerCalendar : public ParentTest {
protected:
    static QDate Shown(HWND h) {
        SYSTEMTIME st{};
        SendMessageA(h, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        return QDate(st.wYear, st.wMonth, st.wDay);
    }
};

TEST_F(PickerCalendar, SpeaksChineseWhateverTheSystemLocale) {
    HWND h = Make(DATETIMEPICK_CLASSA, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 166, 40, 105, 20, 11206, "DateTime");
    ASSERT_NE(h, nullptr);
    SYSTEMTIME dec{};
    dec.wYear = 2026;
    dec.wMonth = 12;
    dec.wDay = 7;
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&dec));
    w32test::OpenPickerCalendar(h);
    ASSERT_TRUE(w32test::PickerCalendarOpen(h));
    QCalendarWidget* cal = nullptr;
    for (QWidget* w : QApplication::allWidgets())
        if (auto* c = qobject_cast<QCalendarWidget*>(w); c && c->isVisible()) cal = c;
    ASSERT_NE(cal, nullptr);
    auto* month = cal->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->text(), QStringLiteral("十二月"));
    EXPECT_EQ(cal->locale().dayName(1, QLocale::ShortFormat), QStringLiteral("周一"));
    w32test::DismissPickerCalendar(h);
}

TEST_F(PickerCalendar, F4AndAltDownDropItDownAndLeaveTheDate) {
    HWND h = Make(DATETIMEPICK_CLASSA, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 166, 40, 105, 20, 11206, "DateTime");
    SYSTEMTIME st{};
    st.wYear = 2026;
    st.wMonth = 12;
    st.wDay = 15;
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
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
        w32test::DismissPickerCalendar(h);
        SetFocus(h);
        w32test::ProcessEvents();
    }
}

}  // namespace
