#include "runtime/core/picture_stack.h"

#include <gtest/gtest.h>

#include "runtime/core/day_number.h"
#include "runtime/core/decimal_stack.h"
#include "runtime/core/picture_hooks.h"
#include "runtime/core/value_ref.h"
#include "runtime/core/value_stack.h"

namespace rk {
namespace {

class PictureStackTest : public ::testing::Test {
 protected:
  void SetUp() override { Values().Clear(); }
  void TearDown() override { Values().Clear(); }

  static std::string Run(void (*operation)(), std::string_view value, std::string_view picture) {
    Values().PushText(value);
    Values().PushText(picture);
    operation();
    EXPECT_EQ(Values().Depth(), 1u);
    return Values().PopString();
  }
};

TEST_F(PictureStackTest, FormatAndDeformatPopTwoAndPushOne) {
  EXPECT_EQ(Run(FormatOnStack, "1234.5", "@N10.2"), "  1,234.50");
  EXPECT_EQ(Run(DeformatOnStack, "  1,234.50", "@N10.2"), "001234.50");
  EXPECT_EQ(Run(FormatOnStack, "1234.5", "@Q"), "");
  EXPECT_EQ(Run(DeformatOnStack, "$1,234.50-", ""), "-1234.50");
  EXPECT_EQ(Run(DeformatOnStack, "$1,234.50-", "@Q"), "$1,234.50-");
  // Only the first 255 characters of a picture are read.
  EXPECT_EQ(Run(FormatOnStack, "ab", "@S3" + std::string(300, ' ')), "ab ");
}

TEST_F(PictureStackTest, PrecompiledPictureLeavesTheRestOfTheStack) {
  CompiledPicture picture;
  ASSERT_TRUE(CompilePicture("@P###-##P", picture));
  Values().PushText("below");
  Values().PushText("12345");
  FormatOnStack(picture);
  EXPECT_EQ(Values().PopString(), "123-45");
  EXPECT_EQ(Values().PopString(), "below");
}

TEST_F(PictureStackTest, FormatOfANumberTooLongForAPatternIsBlank) {
  EXPECT_EQ(Run(FormatOnStack, "123456", "@P###-##P"), "      ");
  EXPECT_EQ(Run(FormatOnStack, "12345", "@P###-##P"), "123-45");
}

TEST_F(PictureStackTest, DecimalsKeepEveryDigit) {
  CompiledPicture picture;
  ASSERT_TRUE(CompilePicture("@N-34.4", picture));
  Decimals().PushText("-12345678901234567890.125");
  FormatDecimalTop(picture);
  EXPECT_EQ(Values().PopString(), "  -12,345,678,901,234,567,890.1250");
  EXPECT_EQ(Decimals().Depth(), 0u);
}

TEST_F(PictureStackTest, PictureReferencesShowAndReadTheirText) {
  SetValueHooks(CalendarAndPictureHooks());
  char display[8] = {};
  ValueRef date = MakeValueRef(kString | kRefPictureText, 8, 0, display);
  date.picture = "@D1";
  int32_t jan5 = DateToDay(1995, 1, 5);
  AssignLong(date, jan5);
  EXPECT_EQ(std::string(display, 8), " 1/05/95");
  EXPECT_EQ(RefAsLong(date), jan5);
  Values().PushText("12/25/99");
  AssignText(date);
  EXPECT_EQ(std::string(display, 8), "12/25/99");
  EXPECT_EQ(RefAsLong(date), DateToDay(1999, 12, 25));

  uint32_t packed = 0;
  ValueRef stored = MakeValueRef(kDate, -1, 0, &packed);
  AssignLong(stored, jan5);
  EXPECT_EQ(packed, DayToPackedDate(jan5));
  EXPECT_EQ(RefAsLong(stored), jan5);
  EXPECT_EQ(Values().Depth(), 0u);
}

}  // namespace
}  // namespace rk
