#include "runtime/core/picture_format.h"

#include <gtest/gtest.h>

#include "runtime/core/calendar_names.h"
#include "runtime/core/day_number.h"
#include "runtime/core/time_value.h"

namespace rk {
namespace {

std::string Day(const char* picture, int year, int month, int day) {
  return FormatLong(DateToDay(year, month, day), [&] {
    CompiledPicture p;
    CompilePicture(picture, p);
    return p;
  }());
}

std::string Time(const char* picture, int hours, int minutes, int seconds = 0) {
  CompiledPicture p;
  CompilePicture(picture, p);
  return FormatLong(TimeToValue(hours, minutes, seconds, 0), p);
}

std::string Number(const char* picture, double value) {
  CompiledPicture p;
  CompilePicture(picture, p);
  return FormatReal(value, p);
}

TEST(PictureCompileTest, ValidityAndSize) {
  CompiledPicture p;
  EXPECT_EQ(CompilePicture("@D1", p), 2u + 2 * 8);
  EXPECT_EQ(p.Kind(), PictureKind::kDate);
  EXPECT_EQ(p.Class(), 1);
  EXPECT_EQ(CompilePicture("N10.2", p), 22u);  // the '@' is optional
  EXPECT_EQ(p.Class(), 3);
  EXPECT_EQ(CompilePicture("@S255", p), 512u);
  for (const char* bad : {"",      "@",      "@S0", "@S256", "@S5x",   "@D0",   "@D19", "@T9",
                          "@D1x",  "@X5",    "@N",  "@N0",   "@N3.2-", "@N-5-", "@N(5", "@N5)",
                          "@N$5$", "@N~ab5", "@P#", "@P##",  "@P###",  "@K@@",  "@E6",  "@E7.1"}) {
    EXPECT_EQ(CompilePicture(bad, p), 0u) << bad;
    EXPECT_FALSE(p.IsValid()) << bad;
    for (uint8_t b : p.bytes) ASSERT_EQ(b, 0) << bad;
  }
  EXPECT_EQ(CompilePicture(std::string(256, 'x'), p), 0u);
  EXPECT_EQ(CompilePicture("@S10  \t", p), 22u);
  EXPECT_EQ(CompilePicture("@N-(5", p), 0u);
}

TEST(PictureCompileTest, NumericLayout) {
  CompiledPicture p;
  ASSERT_TRUE(CompilePicture("@N$-12`.2B", p));
  EXPECT_TRUE(p.BlankWhenZero());
  std::string displays;
  std::string codes;
  for (int i = 0; i < p.Width(); ++i) {
    displays += static_cast<char>(p.Display(i));
    codes += static_cast<char>('a' + p.Code(i));
  }
  EXPECT_EQ(displays, "$-   ,  0.00");
  //                     cur sign digits grouping ... units point places
  EXPECT_EQ(codes, "gfeeebeedcdd");
}

TEST(PictureFormatTest, DateForms) {
  EXPECT_EQ(Day("@D1", 1995, 1, 5), " 1/05/95");
  EXPECT_EQ(Day("@D01", 1995, 1, 5), "01/05/95");
  EXPECT_EQ(Day("@D1-", 1995, 1, 5), " 1-05-95");
  EXPECT_EQ(Day("@D2", 1995, 10, 25), "10/25/1995");
  EXPECT_EQ(Day("@D3", 1995, 1, 5), "JAN  5,1995");
  EXPECT_EQ(Day("@D4", 1995, 1, 5), "January  5, 1995     ");
  EXPECT_EQ(Day("@D5", 1995, 1, 5), " 5/01/95");
  EXPECT_EQ(Day("@D6", 1995, 1, 5), " 5/01/1995");
  EXPECT_EQ(Day("@D7", 1995, 1, 5), " 5 JAN 95");
  EXPECT_EQ(Day("@D8", 1995, 1, 5), " 5 JAN 1995");
  EXPECT_EQ(Day("@D9", 1995, 1, 5), "95/01/05");
  EXPECT_EQ(Day("@D10", 1995, 1, 5), "1995/01/05");
  EXPECT_EQ(Day("@D11", 1995, 1, 5), "950105");
  EXPECT_EQ(Day("@D12", 1995, 1, 5), "19950105");
  EXPECT_EQ(Day("@D13", 1995, 1, 5), "01/95");
  EXPECT_EQ(Day("@D14", 1995, 1, 5), "01/1995");
  EXPECT_EQ(Day("@D15", 1995, 1, 5), "95/01");
  EXPECT_EQ(Day("@D16", 1995, 1, 5), "1995/01");
  EXPECT_EQ(Day("@D17", 1995, 1, 5), "01/05/95");
  EXPECT_EQ(Day("@D18", 1995, 1, 5), "January 05, 1995     ");
  EXPECT_EQ(Day("@D9", 2000, 1, 5), "00/01/05");
}

TEST(PictureFormatTest, DateOptionsAndBlanks) {
  EXPECT_EQ(Day("@D*1", 1995, 1, 5), "*1/*5/95");
  EXPECT_EQ(Day("@D*1", 1995, 10, 10), "10/10/95");  // a zero after a digit is a digit
  EXPECT_EQ(Day("@D_6", 1995, 1, 5), " 5/ 1/1995");
  EXPECT_EQ(Day("@D8_", 1995, 1, 5), " 5 JAN 1995");
  EXPECT_EQ(Day("@D3`", 1995, 1, 5), "JAN  5,1995");
  EXPECT_EQ(Day("@D1.", 1995, 1, 5), " 1.05.95");
  CompiledPicture p;
  CompilePicture("@D1", p);
  EXPECT_EQ(FormatLong(0, p), "        ");
  EXPECT_EQ(FormatLong(109212, p), "        ");
  CompilePicture("@D4B", p);
  EXPECT_EQ(FormatLong(0, p), std::string(21, ' '));
}

TEST(PictureFormatTest, MonthNamesFromTheNameTable) {
  SetLongMonthName(10, "Oktober");
  EXPECT_EQ(Day("@D4", 1995, 10, 3), "Oktober  3, 1995     ");
  EXPECT_EQ(Day("@D7", 1995, 10, 3), " 3 OKT 95");
  SetLongMonthName(5, "Mai");
  SetLongMonthName(6, "Ju");  // shorter than three letters: nothing is padded inside
  EXPECT_EQ(Day("@D8", 1995, 6, 3), " 3 JU 1995 ");
  ResetCalendarNames();
  EXPECT_EQ(Day("@D4", 1995, 9, 30), "September 30, 1995   ");
}

TEST(PictureFormatTest, TimeForms) {
  EXPECT_EQ(Time("@T1", 9, 5, 7), " 9:05");
  EXPECT_EQ(Time("@T2", 9, 5, 7), " 905");
  EXPECT_EQ(Time("@T3", 9, 5, 7), " 9:05AM");
  EXPECT_EQ(Time("@T4", 9, 5, 7), " 9:05:07");
  EXPECT_EQ(Time("@T5", 9, 5, 7), " 90507");
  EXPECT_EQ(Time("@T6", 9, 5, 7), " 9:05:07AM");
  EXPECT_EQ(Time("@T3", 13, 5), " 1:05PM");
  EXPECT_EQ(Time("@T3", 0, 30), "12:30AM");
  EXPECT_EQ(Time("@T3", 12, 0), "12:00PM");
  EXPECT_EQ(Time("@T1", 0, 30), " 0:30");
  EXPECT_EQ(Time("@T7", 9, 5, 7), "09:05 AM");
  EXPECT_EQ(Time("@T8", 21, 5, 7), "09:05:07 PM");
  EXPECT_EQ(Time("@T04", 9, 5, 7), "09:05:07");
  EXPECT_EQ(Time("@T4.", 9, 5, 7), " 9.05.07");
  CompiledPicture p;
  CompilePicture("@T1", p);
  EXPECT_EQ(FormatLong(0, p), "     ");
  EXPECT_EQ(FormatLong(8640001, p), "     ");
}

TEST(PictureFormatTest, DayPeriodTextsFollowTheForm) {
  SetRuntimeDayPeriods("am", "pm");
  EXPECT_EQ(Time("@T3", 13, 5), " 1:05pm");
  EXPECT_EQ(Time("@T7", 13, 5), "01:05 PM");
  SetRuntimeDayPeriods("a", "p");
  EXPECT_EQ(Time("@T3", 13, 5), " 1:05p ");
  ResetCalendarNames();
}

TEST(PictureFormatTest, Numbers) {
  EXPECT_EQ(Number("@N10", 1234567), " 1,234,567");
  EXPECT_EQ(Number("@N10.2", 1234.5), "  1,234.50");
  EXPECT_EQ(Number("@N10.2", 0), "      0.00");
  EXPECT_EQ(Number("@N10.2", 0.005), "      0.01");
  EXPECT_EQ(Number("@N10.2", -7), "      7.00");  // no sign position, no sign
  EXPECT_EQ(Number("@N-10.2", -0.005), "     -0.01");
  EXPECT_EQ(Number("@N-10.2", -0.004), "      0.00");
  EXPECT_EQ(Number("@N10.2", 999.995), "  1,000.00");
  EXPECT_EQ(Number("@N-10.2", -1234.5), " -1,234.50");
  EXPECT_EQ(Number("@N-10.2", 1234.5), "  1,234.50");
  EXPECT_EQ(Number("@N10.2-", -1234.5), " 1,234.50-");
  EXPECT_EQ(Number("@N(10.2)", -12.5), "   (12.50)");
  EXPECT_EQ(Number("@N$10.2", 5), "     $5.00");
  EXPECT_EQ(Number("@N10.2~ DM~", 5), "   5.00 DM");
  EXPECT_EQ(Number("@N010", 42), "0000000042");
  EXPECT_EQ(Number("@N*10.2", 42), "*****42.00");
  EXPECT_EQ(Number("@N*10`.2", 1234), "**1,234.00");
  EXPECT_EQ(Number("@N10.`2", 1234.5), "  1.234,50");
  EXPECT_EQ(Number("@N10`2", 1234.5), "  1.234,50");
  EXPECT_EQ(Number("@N10_", 1234567), " 1 234 567");
  EXPECT_EQ(Number("@N5", 123456), "#####");
  EXPECT_EQ(Number("@N6.2", 1234), "###.##");
  EXPECT_EQ(Number("@N10.2B", 0), "          ");
  EXPECT_EQ(Number("@N10.2B", 0.5), "      0.50");
  // The implied point takes no position: the text is padded at the end instead.
  EXPECT_EQ(Number("@N5V2", 1.25), " 125 ");
  EXPECT_EQ(Number("@N5V2", 0.05), "  05 ");
  EXPECT_EQ(Number("@N4", 5), "   5");
  EXPECT_EQ(Number("@N-7", -1234), " -1,234");
}

TEST(PictureFormatTest, ScientificAndPatterns) {
  EXPECT_EQ(Number("@E12.3", 1234.5), "  1.235E+003");
  EXPECT_EQ(Number("@E12.3", -0.00012345), " -1.235E-004");
  EXPECT_EQ(Number("@E12.3", 0), "  0.000E+000");
  EXPECT_EQ(Number("@E10.2", 9.999), " 1.00E+001");
  EXPECT_EQ(Number("@P###-##P", 12345), "123-45");
  EXPECT_EQ(Number("@P###-##P", 123), "001-23");
  EXPECT_EQ(Number("@P<<#-##P", 123), "  1-23");
  EXPECT_EQ(Number("@P##P", 123), "  ");
  EXPECT_EQ(FormatText("12345", "@P###-##P"), "123-45");
  EXPECT_EQ(FormatText("5551234567", "@P(###) ###-####P"), "(555) 123-4567");
}

// A number with more integer digits than the pattern has positions is never cut:
// the pattern stays blank, however the number reaches it.
TEST(PictureFormatTest, PatternTooShortForTheNumberStaysBlank) {
  EXPECT_EQ(Number("@P###-##P", 123456), "      ");
  EXPECT_EQ(FormatText("123456", "@P###-##P"), "      ");
  EXPECT_EQ(FormatText("-123456", "@P###-##P"), "      ");
  EXPECT_EQ(FormatText("1234567890", "@P<<#-##P"), "      ");
  // A text that is not a number is laid in as before.
  EXPECT_EQ(FormatText("ab12345", "@P###-##P"), "ab1-23");
}

TEST(PictureFormatTest, TextsAndKeyIn) {
  EXPECT_EQ(FormatText("abc", "@S5"), "abc  ");
  EXPECT_EQ(FormatText("abcdefg", "@S5"), "abcde");
  EXPECT_EQ(FormatText("ab12", "@K@@-##K"), "ab-12");
  EXPECT_EQ(FormatText("x", "@K\\@@K"), "@x");
  EXPECT_EQ(FormatText("123", "@X5"), "");
  EXPECT_EQ(FormatText("1234.5", "@N10.2"), "  1,234.50");
  EXPECT_EQ(FormatText("12345678901234567.25", "@N25.2"), "12,345,678,901,234,567.25");
  EXPECT_EQ(FormatText(" 12.5xyz", "@N6.1"), "  12.5");
  EXPECT_EQ(FormatText(std::to_string(DateToDay(1995, 1, 5)), "@D1"), " 1/05/95");
}

}  // namespace
}  // namespace rk
