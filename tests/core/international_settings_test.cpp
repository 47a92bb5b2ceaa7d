#include "runtime/core/international_settings.h"

#include <gtest/gtest.h>

#include "runtime/core/calendar_names.h"
#include "runtime/core/day_number.h"
#include "runtime/core/picture_format.h"
#include "runtime/core/time_value.h"

namespace rk {
namespace {

class InternationalSettingsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ApplyInternationalSettings(InternationalSettings());
    ResetCalendarNames();
  }
};

std::string Jan5(const char* picture) {
  return FormatText(std::to_string(DateToDay(1995, 1, 5)), picture);
}

std::string Evening(const char* picture) {
  return FormatText(std::to_string(TimeToValue(21, 5, 7, 0)), picture);
}

TEST_F(InternationalSettingsTest, CLocaleGivesTheDefaults) {
  InternationalSettings read = ReadInternationalSettings();  // tests run in the C locale
  InternationalSettings defaults;
  EXPECT_EQ(read.clockFormat, defaults.clockFormat);
  EXPECT_EQ(read.hourLeadingZero, defaults.hourLeadingZero);
  EXPECT_EQ(read.timeSeparator, defaults.timeSeparator);
  EXPECT_EQ(read.amText, defaults.amText);
  EXPECT_EQ(read.shortDate, defaults.shortDate);
  EXPECT_EQ(read.longDate, defaults.longDate);
}

TEST_F(InternationalSettingsTest, TimeForms) {
  InternationalSettings s;
  s.clockFormat = 1;
  s.hourLeadingZero = 0;
  s.timeSeparator = ".";
  ApplyInternationalSettings(s);
  EXPECT_EQ(Evening("@T7"), "21.05");
  EXPECT_EQ(Evening("@T8"), "21.05.07");
  EXPECT_EQ(FormatText(std::to_string(TimeToValue(9, 5, 0, 0)), "@T7"), " 9.05");
  s.clockFormat = 0;
  s.amText = "vm";
  s.pmText = "nm";
  ApplyInternationalSettings(s);
  EXPECT_EQ(Evening("@T8"), " 9.05.07 nm");
  EXPECT_EQ(Evening("@T6"), " 9:05:07PM") << "other forms keep the runtime's texts";
  EXPECT_EQ(Deformat(" 9.05.07 nm", "@T8"), std::to_string(TimeToValue(21, 5, 7, 0)));
}

TEST_F(InternationalSettingsTest, ShortDateForm) {
  InternationalSettings s;
  s.shortDate = "dd.MM.yyyy";
  ApplyInternationalSettings(s);
  EXPECT_EQ(Jan5("@D17"), "05.01.1995");
  EXPECT_EQ(Jan5("@D17-"), "05-01-1995");
  s.shortDate = "d/M/yy";
  ApplyInternationalSettings(s);
  EXPECT_EQ(Jan5("@D17"), " 5/ 1/95");
  s.shortDate = "yyyy-MM-dd";
  ApplyInternationalSettings(s);
  EXPECT_EQ(Jan5("@D17"), "1995-01-05");
  s.shortDate = "dd MM yy";
  ApplyInternationalSettings(s);
  EXPECT_EQ(Jan5("@D17"), "05 01 95");
  s.shortDate = "MMddyy";
  ApplyInternationalSettings(s);
  EXPECT_EQ(Jan5("@D17"), "010595");
  EXPECT_EQ(Deformat("010595", "@D17"), std::to_string(DateToDay(1995, 1, 5)));
}

TEST_F(InternationalSettingsTest, LongDateForm) {
  InternationalSettings s;
  s.longDate = "dddd, d. MMMM yyyy";
  ApplyInternationalSettings(s);
  EXPECT_EQ(Jan5("@D18"), " 5. January 1995     ");
  EXPECT_EQ(Deformat(" 5. January 1995", "@D18"), std::to_string(DateToDay(1995, 1, 5)));
  s.longDate = "yyyy' / 'M' / 'd";
  ApplyInternationalSettings(s);
  EXPECT_EQ(Jan5("@D18"), "1995 /  1 /  5");
  s.longDate = "dddd";
  EXPECT_EQ(BuildLongDateForm(s.longDate).size(),
            BuildLongDateForm(InternationalSettings().longDate).size());
  s.longDate = "MMM d 'o''clock' yy";
  PictureForm form = BuildLongDateForm(s.longDate);
  std::string literals;
  for (PictureElement e : form) {
    if (e.code == kLiteral) literals += static_cast<char>(e.display);
  }
  EXPECT_EQ(literals, "  o'clock ");
}

}  // namespace
}  // namespace rk
