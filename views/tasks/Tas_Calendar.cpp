#include "views/tasks/Tas_Calendar.h"

namespace calendar {

bool IsLeapYear(int nYear) { return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0; }

static int MonthLength(int nYear, int nMonth) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (nMonth < 1 || nMonth > 12) return -1;
    return nMonth == 2 && IsLeapYear(nYear) ? 29 : kDays[nMonth - 1];
}

int DaysInMonth(const DATE_STRUCT& d) { return MonthLength(d.year, d.month); }

int DayOfWeek(const DATE_STRUCT& d) {
    const int y = d.year, m = d.month;
    const int t = (y + (y - 1) / 4 - (y - 1) / 100 + (y - 1) / 400 + 6) % 7;
    int w = m <= 2 ? (2 * m + ((m + 2) * 3) / 5 + t + 4) % 7 : (2 * m + ((m + 1) * 3) / 5 + t + 2) % 7;
    if (m >= 3 && IsLeapYear(y)) w = (w + 1) % 7;
    return (w + d.day) % 7;
}

int WeekdayMondayFirst(const DATE_STRUCT& d) {
    const int w = DayOfWeek(d);
    return w == 0 ? 7 : w;
}

int IsSameDate(const DATE_STRUCT& a, const DATE_STRUCT& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day ? 0 : -1;
}

int AddDays(int n, const DATE_STRUCT& src, DATE_STRUCT* pTarget) {
    int y = src.year, m = src.month;
    long long d = (long long)src.day + n;
    // Month by month: forward while the day lies past the month's end,
    // backward while it lies before the month's first day.
    while (d > MonthLength(y, m)) {
        d -= MonthLength(y, m);
        if (++m > 12) {
            m = 1;
            if (++y > kLastYear) return -1;
        }
    }
    while (d < 1) {
        if (--m < 1) {
            m = 12;
            if (--y < kFirstYear) return -1;
        }
        d += MonthLength(y, m);
    }
    pTarget->year = (SQLSMALLINT)y;
    pTarget->month = (SQLUSMALLINT)m;
    pTarget->day = (SQLUSMALLINT)d;
    return 0;
}

int DayOfWeekOf(const DATE_STRUCT& d, int i, DATE_STRUCT* pTarget) {
    return AddDays(i + 1 - WeekdayMondayFirst(d), d, pTarget);
}

int StepMonth(const DATE_STRUCT& d, int nMonths, DATE_STRUCT* pTarget) {
    DATE_STRUCT first = d;
    first.day = 1;
    // Forward: past the month's last day; backward: to the last day of the
    // month before, then its first.
    if (nMonths > 0) return AddDays(DaysInMonth(first), first, pTarget);
    DATE_STRUCT last;
    if (AddDays(-1, first, &last) != 0) return -1;
    last.day = 1;
    *pTarget = last;
    return 0;
}

}  // namespace calendar
