#include "runtime/core/day_number.h"

#include "runtime/platform/clock.h"

namespace rk {
namespace {

constexpr int32_t kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr int32_t kCommonMonthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Day number of 31 December 1900: from here on the missing 29 February 1900 no
// longer needs skipping when splitting a day number into years.
constexpr int32_t kLastDayOf1900 = 36527;

}  // namespace

bool IsLeapYear(int32_t year) {
  year = FullYear(year);
  return year % 4 == 0 && year != 1900;
}

int32_t DaysInMonth(int32_t year, int32_t month) {
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kCommonMonthLength[month - 1];
}

int32_t CheckDate(int32_t year, int32_t month, int32_t day) {
  year = FullYear(year);
  if (year < kFirstCalendarYear || year > kLastCalendarYear) return -1;
  if (month < 1 || month > 12) return -1;
  if (day < 1 || day > DaysInMonth(year, month)) return -1;
  return 0;
}

int32_t DateToDay(int32_t year, int32_t month, int32_t day) {
  if (CheckDate(year, month, day) != 0) return -1;
  year = FullYear(year);
  int32_t n = ((year - kFirstCalendarYear) * 1461) / 4 + kDaysBefore[month - 1] + day + 3;
  if (year > 1900) n -= 1;
  if (month > 2 && IsLeapYear(year)) n += 1;
  return n;
}

bool DayToDate(int32_t dayNumber, CalendarDate& date) {
  date = {};
  if (dayNumber < kFirstDayNumber || dayNumber > kLastDayNumber) return false;
  int32_t k = dayNumber > kLastDayOf1900 ? dayNumber - 3 : dayNumber - 4;
  int32_t year = kFirstCalendarYear + 4 * (k / 1461);
  int32_t rest = k % 1461;
  if (rest == 1460) {
    year += 3;
    rest = 365;
  } else {
    year += rest / 365;
    rest %= 365;
  }
  int32_t month = 1;
  while (month < 12 && rest - DaysInMonth(year, month) >= 0) {
    rest -= DaysInMonth(year, month);
    ++month;
  }
  date = {year, month, rest + 1};
  return true;
}

int32_t BuildDate(int32_t month, int32_t day, int32_t year) {
  if (month < 1 || day < 1 || year < 1) return -1;
  year = FullYear(year);
  // A year past the calendar gives no date at once: carrying months into it
  // could count past the largest year there is.
  if (year > kLastCalendarYear) return -1;
  while (month > 12) {
    month -= 12;
    if (++year > kLastCalendarYear) return -1;
  }
  while (day > DaysInMonth(year, month)) {
    day -= DaysInMonth(year, month);
    if (++month > 12) {
      month = 1;
      if (++year > kLastCalendarYear) return -1;  // also bounds the loop for huge days
    }
  }
  return DateToDay(year, month, day);
}

int32_t PackedDateToDay(uint32_t packed) {
  int32_t day = static_cast<int32_t>(packed & 0xFF);
  int32_t month = static_cast<int32_t>((packed >> 8) & 0xFF);
  int32_t year = static_cast<int32_t>(packed >> 16);
  // A stored year is always a full year: the two-digit rule does not apply here.
  if (year < kFirstCalendarYear) return 0;
  int32_t n = DateToDay(year, month, day);
  return n < 0 ? 0 : n;
}

uint32_t DayToPackedDate(int32_t dayNumber) {
  CalendarDate date;
  if (!DayToDate(dayNumber, date)) return 0;
  return static_cast<uint32_t>(date.day) | static_cast<uint32_t>(date.month) << 8 |
         static_cast<uint32_t>(date.year) << 16;
}

int32_t Today() {
  platform::SystemDate now = platform::CurrentDateUtc();
  return DateToDay(now.year, now.month, now.day);
}

}  // namespace rk
