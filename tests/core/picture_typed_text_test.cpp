// Typed text read through a field's picture: text edited in place reads position
// by position as before; text typed freely reads by its meaning.
#include "runtime/core/picture_typed_text.h"

#include <gtest/gtest.h>

#include <random>

#include "runtime/core/day_number.h"
#include "runtime/core/picture_format.h"

namespace rk {
namespace {

CompiledPicture Compile(std::string_view text) {
  CompiledPicture picture;
  EXPECT_NE(CompilePicture(text, picture), 0u) << text;
  return picture;
}

// An empty value text stands for zero, as when it is assigned to a number.
double Number(std::string_view typed, std::string_view picture) {
  const std::string value = ReadTypedText(typed, Compile(picture));
  return value.empty() ? 0 : std::stod(value);
}

int32_t Day(std::string_view typed, std::string_view picture) {
  return std::stoi(ReadTypedText(typed, Compile(picture)));
}

TEST(PictureTypedText, NumbersTypedFreelyKeepTheirPoint) {
  EXPECT_DOUBLE_EQ(Number("12.99", "@n-7.2"), 12.99);
  EXPECT_DOUBLE_EQ(Number("   12.99", "@n-7.2"), 12.99);  // one space too many
  EXPECT_DOUBLE_EQ(Number("-3", "@n-7.2"), -3);
  EXPECT_DOUBLE_EQ(Number("1,234.5", "@n9.2"), 1234.5);
  EXPECT_DOUBLE_EQ(Number("(12)", "@n(9.2)"), -12);
  // Where the comma is the point, a typed '.' groups the thousands.
  EXPECT_DOUBLE_EQ(Number("1.234,5", "@n9`2"), 1234.5);
  EXPECT_DOUBLE_EQ(Number("", "@n-7.2"), 0);
}

TEST(PictureTypedText, FormattedTextEditedInPlaceReadsAsBefore) {
  const char* pictures[] = {"@n-7.2", "@n9.2", "@n(9.2)", "@N06", "@n_6", "@D6", "@D2", "@T4"};
  std::mt19937 random(11);
  for (const char* text : pictures) {
    const CompiledPicture picture = Compile(text);
    for (int i = 0; i < 200; ++i) {
      int32_t value = static_cast<int32_t>(random() % 9999) - 500;
      if (picture.Kind() == PictureKind::kDate) value = static_cast<int32_t>(4 + random() % 100000);
      if (picture.Kind() == PictureKind::kTime)
        value = static_cast<int32_t>(1 + random() % 8640000);
      std::string shown = FormatLong(value, picture);
      if (shown.find('#') != std::string::npos) continue;
      // Change one digit in place, as a person overtyping a digit would.
      const size_t digit = shown.find_first_of("0123456789");
      if (digit != std::string::npos) shown[digit] = static_cast<char>('0' + random() % 10);
      ASSERT_TRUE(LinesUpWithPicture(shown, picture)) << text << " [" << shown << "]";
      EXPECT_EQ(ReadTypedText(shown, picture), Deformat(shown, &picture))
          << text << " [" << shown << "]";
    }
  }
}

TEST(PictureTypedText, DatesTypedFreelyFollowThePicturesFieldOrder) {
  const int32_t fifthOfJanuary = DateToDay(1995, 1, 5);
  EXPECT_EQ(Day("5/1/1995", "@D6"), fifthOfJanuary);  // day, month, year
  EXPECT_EQ(FormatLong(Day("5/1/1995", "@D6"), Compile("@D6")), " 5/01/1995");
  EXPECT_EQ(Day("1/5/95", "@D2"), fifthOfJanuary);  // month, day, two-digit year
  EXPECT_EQ(Day("1-5-1995", "@D2"), fifthOfJanuary);
  EXPECT_EQ(Day("jan 5 1995", "@D3"), fifthOfJanuary);  // month by name
  EXPECT_EQ(Day("", "@D6"), 0);                         // blank is no date
  EXPECT_EQ(Day("0/1/1995", "@D6"), -1);                // no day 0
  EXPECT_EQ(Day("123456/1/1995", "@D6"), -1);           // no field is that long
  EXPECT_EQ(Day("2/30/1995", "@D6"), -1);               // no month 30
  EXPECT_EQ(Day("29/2/1995", "@D6"), -1);               // not a leap year
  EXPECT_EQ(Day("29/2/1996", "@D6"), DateToDay(1996, 2, 29));
  EXPECT_EQ(Day("31/4/95", "@D6"), -1);
}

TEST(PictureTypedText, TimesTypedFreelyReadHoursMinutesAndDayPeriod) {
  const int32_t fiveAfterOne = 13 * 360000 + 5 * 6000 + 1;
  EXPECT_EQ(Day("1:05pm", "@T3"), fiveAfterOne);
  EXPECT_EQ(Day("13:5", "@T1"), fiveAfterOne);
  EXPECT_EQ(Day("25:00", "@T1"), -1);
}

TEST(PictureTypedText, PictureRefusesWhatItCannotShow) {
  const CompiledPicture price = Compile("@n-7.2");
  EXPECT_TRUE(PictureCanShow(ReadTypedText("12.99", price), price));
  EXPECT_FALSE(PictureCanShow(ReadTypedText("123456.5", price), price));
  const CompiledPicture date = Compile("@D6");
  EXPECT_TRUE(PictureCanShow(ReadTypedText("5/1/1995", date), date));
  EXPECT_FALSE(PictureCanShow(ReadTypedText("0/1/1995", date), date));
  const CompiledPicture text = Compile("@s5");
  EXPECT_TRUE(PictureCanShow(ReadTypedText("abc", text), text));
}

}  // namespace
}  // namespace rk
