// The task calendar's day arithmetic, on its own (no window code), against
// the C library's calendar over every day of years 1 to 9999.
#include <gtest/gtest.h>

#include <ctime>
#include <random>

#include "views/tasks/Tas_Calendar.h"

using namespace calendar;

namespace {

DATE_STRUCT D(int y, int m, int d) {
    DATE_STRUCT r;
    r.year = (SQLSMALLINT)y;
    r.month = (SQLUSMALLINT)m;
    r.day = (SQLUSMALLINT)d;
    return r;
}

::testing::AssertionResult Is(const DATE_STRUCT& got, int y, int m, int d) {
    if (got.year == y && got.month == m && got.day == d) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << got.year << "-" << got.month << "-" << got.day << " instead of " << y << "-"
                                         << m << "-" << d;
}

DATE_STRUCT Plus(int n, const DATE_STRUCT& d) {
    DATE_STRUCT r = D(0, 0, 0);
    EXPECT_EQ(0, AddDays(n, d, &r));
    return r;
}

time_t Utc(int y, int m, int d) {
    struct tm t = {};
    t.tm_year = y - 1900;
    t.tm_mon = m - 1;
    t.tm_mday = d;
    t.tm_hour = 12;
    return timegm(&t);
}

}  // namespace

TEST(TasCalendar, StepsOverMonthAndYearEnds) {
    EXPECT_TRUE(Is(Plus(1, D(2023, 12, 31)), 2024, 1, 1));
    EXPECT_TRUE(Is(Plus(-1, D(2024, 1, 1)), 2023, 12, 31));
    EXPECT_TRUE(Is(Plus(30, D(2023, 1, 31)), 2023, 3, 2));
    EXPECT_TRUE(Is(Plus(0, D(2023, 1, 31)), 2023, 1, 31));
    EXPECT_TRUE(Is(Plus(365, D(2023, 1, 1)), 2024, 1, 1));
    EXPECT_TRUE(Is(Plus(-366, D(2025, 1, 1)), 2024, 1, 1));
}

TEST(TasCalendar, TheDayBeforeTheFirstOfMarchFollowsTheLeapRules) {
    EXPECT_TRUE(Is(Plus(-1, D(1900, 3, 1)), 1900, 2, 28));
    EXPECT_TRUE(Is(Plus(-1, D(2000, 3, 1)), 2000, 2, 29));
    EXPECT_TRUE(Is(Plus(-1, D(2023, 3, 1)), 2023, 2, 28));
    EXPECT_TRUE(Is(Plus(-1, D(2024, 3, 1)), 2024, 2, 29));
    EXPECT_EQ(28, DaysInMonth(D(1900, 2, 1)));
    EXPECT_EQ(29, DaysInMonth(D(2000, 2, 1)));
    EXPECT_EQ(28, DaysInMonth(D(2023, 2, 1)));
    EXPECT_EQ(29, DaysInMonth(D(2024, 2, 1)));
    EXPECT_EQ(-1, DaysInMonth(D(2024, 13, 1)));
    EXPECT_EQ(-1, DaysInMonth(D(2024, 0, 1)));
}

TEST(TasCalendar, ADateOutsideTheCalendarFailsAndLeavesTheTargetAlone) {
    DATE_STRUCT keep = D(2020, 5, 6);
    EXPECT_EQ(-1, AddDays(-1, D(1, 1, 1), &keep));
    EXPECT_TRUE(Is(keep, 2020, 5, 6));
    EXPECT_EQ(-1, AddDays(-400, D(1, 12, 31), &keep));
    EXPECT_TRUE(Is(keep, 2020, 5, 6));
    EXPECT_EQ(-1, AddDays(1, D(9999, 12, 31), &keep));
    EXPECT_TRUE(Is(keep, 2020, 5, 6));
    EXPECT_TRUE(Is(Plus(-364, D(1, 12, 31)), 1, 1, 1));
    EXPECT_EQ(-1, StepMonth(D(1, 1, 1), -1, &keep));
    EXPECT_EQ(-1, StepMonth(D(9999, 12, 1), 1, &keep));
    EXPECT_TRUE(Is(keep, 2020, 5, 6));
}

TEST(TasCalendar, MonthGridsStartInTheColumnOfTheFirstsWeekday) {
    EXPECT_EQ(1, DayOfWeek(D(2024, 1, 1)));   // Monday
    EXPECT_EQ(0, DayOfWeek(D(2023, 10, 1)));  // a month starting on a Sunday
    EXPECT_EQ(6, DayOfWeek(D(2023, 7, 1)));   // one starting on a Saturday, 31 days
    EXPECT_EQ(1, DayOfWeek(D(1, 1, 1)));
}

TEST(TasCalendar, MonthStepsWrapAtYearEnds) {
    DATE_STRUCT d;
    ASSERT_EQ(0, StepMonth(D(2024, 1, 15), -1, &d));
    EXPECT_TRUE(Is(d, 2023, 12, 1));
    ASSERT_EQ(0, StepMonth(D(2023, 12, 31), 1, &d));
    EXPECT_TRUE(Is(d, 2024, 1, 1));
    ASSERT_EQ(0, StepMonth(D(2024, 2, 29), 1, &d));
    EXPECT_TRUE(Is(d, 2024, 3, 1));
}

TEST(TasCalendar, WeeksRunMondayToSundayAcrossTheYearEndAndFebruary) {
    DATE_STRUCT d;
    // Sunday 4 January 2026 belongs to the week from Monday 29 December 2025.
    EXPECT_EQ(7, WeekdayMondayFirst(D(2026, 1, 4)));
    ASSERT_EQ(0, DayOfWeekOf(D(2026, 1, 4), 0, &d));
    EXPECT_TRUE(Is(d, 2025, 12, 29));
    ASSERT_EQ(0, DayOfWeekOf(D(2025, 12, 29), 6, &d));
    EXPECT_TRUE(Is(d, 2026, 1, 4));
    // Monday 26 February 2024: Thursday is the 29th; in 2023 the week from
    // Monday 27 February has Wednesday 1 March.
    ASSERT_EQ(0, DayOfWeekOf(D(2024, 2, 26), 3, &d));
    EXPECT_TRUE(Is(d, 2024, 2, 29));
    ASSERT_EQ(0, DayOfWeekOf(D(2023, 2, 27), 2, &d));
    EXPECT_TRUE(Is(d, 2023, 3, 1));
    ASSERT_EQ(0, DayOfWeekOf(D(2000, 2, 28), 1, &d));
    EXPECT_TRUE(Is(d, 2000, 2, 29));
    ASSERT_EQ(0, DayOfWeekOf(D(1900, 2, 26), 3, &d));
    EXPECT_TRUE(Is(d, 1900, 3, 1));
}

TEST(TasCalendar, EveryDayOfYearsOneTo9999AgreesWithTheCLibrary) {
    DATE_STRUCT d = D(1, 1, 1);
    time_t t = Utc(1, 1, 1);
    long nDays = 0;
    for (;;) {
        struct tm tm;
        ASSERT_NE(nullptr, gmtime_r(&t, &tm));
        ASSERT_TRUE(Is(d, tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday));
        ASSERT_EQ(tm.tm_wday, DayOfWeek(d)) << d.year << "-" << d.month << "-" << d.day;
        if (d.day == 1) {
            struct tm last = tm;
            time_t tNext = Utc(d.month == 12 ? d.year + 1 : d.year, d.month == 12 ? 1 : d.month + 1, 1) - 86400;
            ASSERT_NE(nullptr, gmtime_r(&tNext, &last));
            ASSERT_EQ(last.tm_mday, DaysInMonth(d));
        }
        if (d.year == 9999 && d.month == 12 && d.day == 31) break;
        DATE_STRUCT next;
        ASSERT_EQ(0, AddDays(1, d, &next));
        d = next;
        t += 86400;
        nDays++;
    }
    EXPECT_EQ(3652058, nDays);
}

TEST(TasCalendar, RandomOffsetsAgreeWithTheCLibrary) {
    std::mt19937 rng(20241207);
    const time_t tFirst = Utc(1, 1, 1), tLast = Utc(9999, 12, 31);
    for (int k = 0; k < 50000; k++) {
        const time_t t = tFirst + (time_t)(rng() % (unsigned)((tLast - tFirst) / 86400 + 1)) * 86400;
        const int n = (int)(rng() % 2000001) - 1000000;
        struct tm from, to;
        gmtime_r(&t, &from);
        const time_t tTo = t + (time_t)n * 86400;
        DATE_STRUCT r = D(0, 0, 0);
        const int nResult = AddDays(n, D(from.tm_year + 1900, from.tm_mon + 1, from.tm_mday), &r);
        if (tTo < tFirst || tTo > tLast) {
            ASSERT_EQ(-1, nResult);
            continue;
        }
        ASSERT_EQ(0, nResult);
        gmtime_r(&tTo, &to);
        ASSERT_TRUE(Is(r, to.tm_year + 1900, to.tm_mon + 1, to.tm_mday));
    }
}
