// Day numbers: days since 28 December 1800, so 1 January 1801 is day 4 and
// 31 December 2099 is day 109211, the last valid one. 0 means "no date".
//
// Every function here is pure: month lengths are computed for the year at hand
// instead of being kept in a shared table, so any runtime thread may call them.
#pragma once

#include <cstdint>

namespace rk {

inline constexpr int32_t kFirstDayNumber = 4;      // 1 January 1801
inline constexpr int32_t kLastDayNumber = 109211;  // 31 December 2099
inline constexpr int32_t kFirstCalendarYear = 1801;
inline constexpr int32_t kLastCalendarYear = 2099;

struct CalendarDate {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
};

// A year from 0 to 99 is taken as 1900 + year.
constexpr int32_t FullYear(int32_t year) {
  return year >= 0 && year < 100 ? year + 1900 : year;
}

// Divisible by 4, except 1900 (a year from 0 to 99 is taken as 1900 + year).
bool IsLeapYear(int32_t year);
// Length of a month (1-12) of a year; 0 for a month outside 1..12.
int32_t DaysInMonth(int32_t year, int32_t month);

// 0 when the date is valid (year 1801..2099 after the two-digit rule), -1 otherwise.
int32_t CheckDate(int32_t year, int32_t month, int32_t day);
// The day number of a date, or -1 for an invalid date.
int32_t DateToDay(int32_t year, int32_t month, int32_t day);
// False (and an all-zero date) for a day number outside 4..109211.
bool DayToDate(int32_t dayNumber, CalendarDate& date);
// The expression function DATE: month and day overflow carry into the following
// months and years. Parts below 1, or a date beyond 2099, give -1.
int32_t BuildDate(int32_t month, int32_t day, int32_t year);

// The packed DATE field read as a little-endian 32-bit integer: byte 0 day,
// byte 1 month, bytes 2-3 the full year. An invalid packed date reads as 0.
int32_t PackedDateToDay(uint32_t packed);
// An invalid day number packs as all zero.
uint32_t DayToPackedDate(int32_t dayNumber);

// Today's day number (the system clock in Coordinated Universal Time).
int32_t Today();

}  // namespace rk
