#include <gtest/gtest.h>

#include "runtime/core/calendar_names.h"
#include "runtime/core/day_number.h"
#include "runtime/core/picture_format.h"
#include "runtime/core/time_value.h"

namespace rk {
namespace {

TEST(PictureDeformatTest, EveryDayRoundTripsThroughFourDigitYearForms) {
  for (const char* text : {"@D2", "@D6", "@D8", "@D10", "@D12"}) {
    CompiledPicture picture;
    ASSERT_TRUE(CompilePicture(text, picture));
    for (int32_t day = kFirstDayNumber; day <= kLastDayNumber; ++day) {
      std::string shown = FormatLong(day, picture);
      ASSERT_EQ(Deformat(shown, &picture), std::to_string(day)) << text << " " << shown;
    }
  }
}

TEST(PictureDeformatTest, MonthNameFormsRoundTripDespiteShortNames) {
  for (const char* text : {"@D3", "@D4", "@D18", "@D4B"}) {
    CompiledPicture picture;
    ASSERT_TRUE(CompilePicture(text, picture));
    for (int32_t day = kFirstDayNumber; day <= kLastDayNumber; day += 37) {
      std::string shown = FormatLong(day, picture);
      ASSERT_EQ(Deformat(shown, &picture), std::to_string(day)) << text << " " << shown;
    }
  }
}

TEST(PictureDeformatTest, DatesFromTypedText) {
  std::string jan5 = std::to_string(DateToDay(1995, 1, 5));
  EXPECT_EQ(Deformat(" 1/05/95", "@D1"), jan5);
  EXPECT_EQ(Deformat("january  5, 1995", "@D4"), jan5);
  EXPECT_EQ(Deformat("May  5, 1995", "@D4"), std::to_string(DateToDay(1995, 5, 5)));
  EXPECT_EQ(Deformat("JAN  5,1995", "@D3"), jan5);
  EXPECT_EQ(Deformat(" 5 jan 95", "@D7"), jan5);
  EXPECT_EQ(Deformat("01/95", "@D13"), std::to_string(DateToDay(1995, 1, 1)));
  EXPECT_EQ(Deformat("1995/02", "@D16"), std::to_string(DateToDay(1995, 2, 1)));
  EXPECT_EQ(Deformat("        ", "@D1"), "0");
  EXPECT_EQ(Deformat("00/00/00", "@D1"), "-1");
  EXPECT_EQ(Deformat("14/01/95", "@D1"), std::to_string(DateToDay(1996, 2, 1)));
  EXPECT_EQ(Deformat("01/05/00", "@D1"), std::to_string(DateToDay(1900, 1, 5)));
  SetShortMonthName(10, "Okt");
  EXPECT_EQ(Deformat(" 3 OKT 1995", "@D8"), std::to_string(DateToDay(1995, 10, 3)));
  ResetCalendarNames();
}

TEST(PictureDeformatTest, Times) {
  auto value = [](int h, int m, int s) {
    return std::to_string(h * 360000 + m * 6000 + s * 100 + 1);
  };
  EXPECT_EQ(Deformat(" 9:05", "@T1"), value(9, 5, 0));
  EXPECT_EQ(Deformat(" 1:05PM", "@T3"), value(13, 5, 0));
  EXPECT_EQ(Deformat(" 1:05pm", "@T3"), value(13, 5, 0));
  EXPECT_EQ(Deformat("12:30AM", "@T3"), value(0, 30, 0));
  EXPECT_EQ(Deformat("12:00AM", "@T3"), "1");
  EXPECT_EQ(Deformat("12:30PM", "@T3"), value(12, 30, 0));
  EXPECT_EQ(Deformat("23:59:59", "@T4"), value(23, 59, 59));
  EXPECT_EQ(Deformat("24:00", "@T1"), "-1");
  EXPECT_EQ(Deformat(" 9:60", "@T1"), "-1");
  EXPECT_EQ(Deformat("     ", "@T1"), "0");
  EXPECT_EQ(Deformat("09:05 PM", "@T7"), value(21, 5, 0));
}

TEST(PictureDeformatTest, Numbers) {
  // Blank digit positions read as zeros; grouping, currency and literals are skipped.
  EXPECT_EQ(Deformat("  1,234.50", "@N10.2"), "001234.50");
  EXPECT_EQ(Deformat(" -1,234.50", "@N-10.2"), "-1234.50");
  EXPECT_EQ(Deformat("   (12.50)", "@N(10.2)"), "-012.50");
  EXPECT_EQ(Deformat(" 1,234.50-", "@N10.2-"), "-01234.50");
  EXPECT_EQ(Deformat("  1.234,50", "@N10.`2"), "001234.50");
  EXPECT_EQ(Deformat("     $5.00", "@N$10.2"), "0005.00");
  EXPECT_EQ(Deformat(" 125 ", "@N5V2"), "01.25");
  EXPECT_EQ(Deformat("  1.235E+003", "@E12.3"), "01.235e+003");
  EXPECT_EQ(Deformat(" -1.235E-004", "@E12.3"), "-1.235e-004");
  EXPECT_EQ(Deformat("-12", "@N3"), "-12");
  EXPECT_EQ(Deformat("-1+2", "@N4"), "12");  // a later + cancels the -
  EXPECT_EQ(Deformat("123-45", "@P###-##P"), "12345");
  EXPECT_EQ(Deformat("ab-12", "@K@@-##K"), "ab12");
}

TEST(PictureDeformatTest, StringsScanForANumber) {
  EXPECT_EQ(Deformat("$1,234.50-", std::string_view()), "-1234.50");
  EXPECT_EQ(Deformat("$1,234.50-", nullptr), "-1234.50");
  EXPECT_EQ(Deformat("x 1.5e-3 y", "@S12"), "1.5e-3");
  EXPECT_EQ(Deformat("1.2.3", "@S5"), "1.23");
  EXPECT_EQ(Deformat("Price 12", "@S8"), "12");
  EXPECT_EQ(Deformat("2E-3 each", "@S9"), "2E-3");
  EXPECT_EQ(Deformat("hello", "@Q5"), "hello");
}

TEST(PictureDeformatTest, FormattedNumbersReadBackToTheirValue) {
  struct Case {
    const char* picture;
    double value;
  };
  for (Case c : {Case{"@N-12.2", -98765.43}, Case{"@N12`.3", 1234.567}, Case{"@N*12.2", 7.5},
                 Case{"@N012", 99}, Case{"@N$(12.2)", -3.25}, Case{"@E14.4", 6.0221e23},
                 Case{"@N12V3", 12.345}}) {
    CompiledPicture picture;
    ASSERT_TRUE(CompilePicture(c.picture, picture)) << c.picture;
    std::string shown = FormatReal(c.value, picture);
    EXPECT_NEAR(std::stod(Deformat(shown, &picture)), c.value, 1e-9 * std::abs(c.value))
        << c.picture << " [" << shown << "]";
  }
}

}  // namespace
}  // namespace rk
