#include <gtest/gtest.h>

#include "runtime/core/age_text.h"
#include "runtime/core/day_number.h"
#include "runtime/core/time_value.h"

namespace rk {
namespace {

TEST(DayNumberTest, LandmarksOfTheScale) {
  EXPECT_EQ(DateToDay(1801, 1, 1), 4);
  EXPECT_EQ(DateToDay(2099, 12, 31), 109211);
  EXPECT_EQ(DateToDay(1900, 3, 1), 36222);
  EXPECT_EQ(DateToDay(1900, 12, 31), 36527);
  EXPECT_EQ(DateToDay(1901, 1, 1), 36528);
  EXPECT_EQ(DateToDay(95, 1, 5), DateToDay(1995, 1, 5));
}

TEST(DayNumberTest, ValidityRules) {
  EXPECT_EQ(CheckDate(1900, 2, 29), -1);
  EXPECT_EQ(CheckDate(2000, 2, 29), 0);
  EXPECT_EQ(CheckDate(1996, 2, 29), 0);
  EXPECT_EQ(CheckDate(1997, 2, 29), -1);
  EXPECT_EQ(CheckDate(1800, 12, 31), -1);
  EXPECT_EQ(CheckDate(2100, 1, 1), -1);
  EXPECT_EQ(CheckDate(1995, 13, 1), -1);
  EXPECT_EQ(CheckDate(1995, 4, 31), -1);
  EXPECT_EQ(CheckDate(1995, 1, 0), -1);
  EXPECT_EQ(CheckDate(-5, 1, 1), -1);
  EXPECT_EQ(DateToDay(1900, 2, 29), -1);
  EXPECT_FALSE(IsLeapYear(0));  // year 0 is 1900
  EXPECT_TRUE(IsLeapYear(96));
}

TEST(DayNumberTest, EveryDayRoundTripsAndDaysAreConsecutive) {
  CalendarDate previous;
  ASSERT_TRUE(DayToDate(kFirstDayNumber, previous));
  EXPECT_EQ(previous.year, 1801);
  for (int32_t n = kFirstDayNumber + 1; n <= kLastDayNumber; ++n) {
    CalendarDate date;
    ASSERT_TRUE(DayToDate(n, date)) << n;
    ASSERT_EQ(DateToDay(date.year, date.month, date.day), n);
    bool nextDay = date.day == previous.day + 1 && date.month == previous.month;
    bool nextMonth = date.day == 1 && (date.month == previous.month + 1 ||
                                       (date.month == 1 && date.year == previous.year + 1));
    ASSERT_TRUE(nextDay || nextMonth) << n;
    previous = date;
  }
  EXPECT_EQ(previous.year, 2099);
  CalendarDate date;
  EXPECT_FALSE(DayToDate(3, date));
  EXPECT_FALSE(DayToDate(109212, date));
  EXPECT_EQ(date.year, 0);
}

TEST(DayNumberTest, BuildDateCarriesOverflow) {
  EXPECT_EQ(BuildDate(14, 1, 1995), DateToDay(1996, 2, 1));
  EXPECT_EQ(BuildDate(1, 32, 1995), DateToDay(1995, 2, 1));
  EXPECT_EQ(BuildDate(12, 32, 1995), DateToDay(1996, 1, 1));
  EXPECT_EQ(BuildDate(2, 30, 1996), DateToDay(1996, 3, 1));
  EXPECT_EQ(BuildDate(2, 30, 1900), DateToDay(1900, 3, 2));
  EXPECT_EQ(BuildDate(1, 366, 95), DateToDay(1996, 1, 1));
  EXPECT_EQ(BuildDate(0, 1, 1995), -1);
  EXPECT_EQ(BuildDate(1, 0, 1995), -1);
  EXPECT_EQ(BuildDate(12, 32, 2099), -1);
  // Years beyond the calendar, up to the largest there is, give no date.
  EXPECT_EQ(BuildDate(238, 31, INT32_MAX), -1);
  EXPECT_EQ(BuildDate(1, 1, INT32_MAX), -1);
  EXPECT_EQ(BuildDate(13, 1, 2100), -1);
  EXPECT_EQ(BuildDate(1, 2000000000, 1995), -1);
}

TEST(DayNumberTest, PackedDates) {
  int32_t day = DateToDay(1995, 1, 5);
  uint32_t packed = DayToPackedDate(day);
  EXPECT_EQ(packed, 5u | 1u << 8 | 1995u << 16);
  EXPECT_EQ(PackedDateToDay(packed), day);
  EXPECT_LT(DayToPackedDate(day), DayToPackedDate(day + 1));  // orders chronologically
  EXPECT_EQ(DayToPackedDate(0), 0u);
  EXPECT_EQ(PackedDateToDay(0), 0);
  EXPECT_EQ(PackedDateToDay(30u | 2u << 8 | 1995u << 16), 0);
  EXPECT_EQ(PackedDateToDay(0xFFFFFFFFu), 0);
}

TEST(DayNumberTest, TodayIsAValidDay) {
  CalendarDate date;
  EXPECT_TRUE(DayToDate(Today(), date));
}

TEST(TimeValueTest, ScaleAndLimits) {
  EXPECT_EQ(TimeToValue(0, 0, 0, 0), 0);
  EXPECT_EQ(TimeToValue(0, 0, 0, 1), 2);
  EXPECT_EQ(TimeToValue(23, 59, 59, 99), 8640000);
  EXPECT_EQ(TimeToValue(24, 0, 0, 0), -1);
  EXPECT_EQ(TimeToValue(9, 60, 0, 0), -1);
  EXPECT_EQ(TimeToValue(9, 0, -1, 0), -1);
  EXPECT_EQ(TimeToValue(9, 5, 7, 0), 9 * 360000 + 5 * 6000 + 7 * 100 + 1);

  ClockTime time;
  ASSERT_TRUE(ValueToTime(8640000, time));
  EXPECT_EQ(time.hours, 23);
  EXPECT_EQ(time.minutes, 59);
  EXPECT_EQ(time.seconds, 59);
  EXPECT_EQ(time.hundredths, 99);
  EXPECT_FALSE(ValueToTime(0, time));
  EXPECT_FALSE(ValueToTime(8640001, time));
  EXPECT_EQ(time.hours, 0);
}

TEST(TimeValueTest, PackedTimes) {
  int32_t value = TimeToValue(13, 5, 7, 42);
  uint32_t packed = ValueToPackedTime(value);
  EXPECT_EQ(packed, 42u | 7u << 8 | 5u << 16 | 13u << 24);
  EXPECT_EQ(PackedTimeToValue(packed), value);
  EXPECT_EQ(PackedTimeToValue(0), 0);
  EXPECT_EQ(PackedTimeToValue(24u << 24), -1);
  EXPECT_EQ(ValueToPackedTime(-1), 0u);
  EXPECT_GE(Clock(), 1);
  EXPECT_LE(Clock(), kLastTimeValue);
}

TEST(AgeTextTest, UnitsFollowTheSpan) {
  int32_t base = DateToDay(1995, 6, 15);
  EXPECT_EQ(AgeText(base - 30, base), "30 DAYS");
  EXPECT_EQ(AgeText(base, base), "0 DAYS");
  EXPECT_EQ(AgeText(DateToDay(1993, 5, 15), base), "2 YRS");
  EXPECT_EQ(AgeText(DateToDay(1993, 10, 15), base), "20 MOS");
  EXPECT_EQ(AgeText(DateToDay(1993, 10, 16), base), "19 MOS");
  EXPECT_EQ(AgeText(DateToDay(1993, 6, 16), base), "23 MOS");
  EXPECT_EQ(AgeText(DateToDay(1945, 6, 16), base), "49 YRS");
  EXPECT_EQ(AgeText(DateToDay(1945, 6, 15), base), "50 YRS");
}

TEST(AgeTextTest, FutureBirthsMoveBackACentury) {
  int32_t base = DateToDay(1995, 6, 15);
  EXPECT_EQ(AgeText(DateToDay(2000, 1, 1), base), "95 YRS");
  EXPECT_EQ(AgeText(DateToDay(1850, 1, 1), DateToDay(1820, 1, 1)), std::string(255, '*'));
  EXPECT_EQ(AgeText(0, base), std::string(255, '*'));
  EXPECT_EQ(AgeText(base, 0), std::string(255, '*'));
}

}  // namespace
}  // namespace rk
