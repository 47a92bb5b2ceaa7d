#include "runtime/core/picture_stack.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace rk
