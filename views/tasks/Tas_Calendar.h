// Day arithmetic of the task calendar (day, week and month views) on the
// proleptic Gregorian calendar, years 1 to 9999. No window code: the date
// layout is the record's own DATE_STRUCT.
#pragma once

#include "odbc.h"

namespace calendar {

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

bool IsLeapYear(int nYear);
// Days of the date's month; -1 for a month outside 1 to 12.
int DaysInMonth(const DATE_STRUCT& d);
// Weekday of the date, 0 = Sunday ... 6 = Saturday.
int DayOfWeek(const DATE_STRUCT& d);
// The weekday with Monday = 1 ... Sunday = 7.
int WeekdayMondayFirst(const DATE_STRUCT& d);
// 0 when year, month and day are equal, else -1.
int IsSameDate(const DATE_STRUCT& a, const DATE_STRUCT& b);
// The date n days after (before, for n < 0) src into *pTarget: 0, or -1 with
// *pTarget unwritten when the result falls outside years 1 to 9999. src must
// be a valid date.
int AddDays(int n, const DATE_STRUCT& src, DATE_STRUCT* pTarget);
// Day i (0 = Monday ... 6 = Sunday) of the week that holds d; a Sunday
// belongs to the week that began six days before it. 0 or -1 (outside the range).
int DayOfWeekOf(const DATE_STRUCT& d, int i, DATE_STRUCT* pTarget);
// The first day of the month after (nMonths 1) or before (-1) the month of d.
int StepMonth(const DATE_STRUCT& d, int nMonths, DATE_STRUCT* pTarget);

}  // namespace calendar
