#include "runtime/core/value_ref.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/core/evaluation_stacks.h"
#include "runtime/core/mbf.h"
#include "runtime/core/picture_hooks.h"
#include "runtime/core/value_hooks.h"

namespace rk {
namespace {

TEST(ValueRef, IntegerTypesWrapAndExtend) {
  uint8_t byte = 0;
  ValueRef b = MakeValueRef(kByte, -1, 0, &byte);
  AssignLong(b, 300);
  EXPECT_EQ(byte, 44);
  int16_t s = 0;
  ValueRef sr = MakeValueRef(kShort, -1, 0, &s);
  AssignLong(sr, 40000);
  EXPECT_EQ(RefAsLong(sr), 40000 - 65536);
  uint16_t us = 0;
  ValueRef ur = MakeValueRef(kUShort, -1, 0, &us);
  AssignReal(ur, 65535.0);
  EXPECT_EQ(RefAsLong(ur), 65535);
  int32_t l = 0;
  ValueRef lr = MakeValueRef(kLong, -1, 0, &l);
  AssignReal(lr, 2.9999999999999996);
  EXPECT_EQ(l, 3);
  Values().PushText(" 12.7 ");
  AssignText(lr);
  EXPECT_EQ(l, 12);
}

TEST(ValueRef, DecimalsStayExact) {
  uint8_t decimal[5] = {};  // 9 digits, 2 places
  ValueRef d = MakeValueRef(kDecimal, 5, 2, decimal);
  Values().PushText("-1234567.891");
  AssignText(d);
  PushRef(d);
  EXPECT_EQ(Values().PopString(), "-1234567.89");

  uint8_t packed[4] = {};
  ValueRef p = MakeValueRef(kPDecimal, 4, 1, packed);
  AssignRef(p, d);
  PushRef(p);
  EXPECT_EQ(Values().PopString(), "-234567.8");  // integer digits that do not fit are lost

  uint32_t u = 0;
  ValueRef ul = MakeValueRef(kULong, -1, 0, &u);
  AssignLong(ul, 7);
  EXPECT_EQ(RefAsReal(ul), 7.0);
  AssignReal(ul, 4294967295.0);
  EXPECT_EQ(u, 4294967295u);
  PushRef(ul);
  EXPECT_EQ(Values().PopString(), "4294967295");
  EXPECT_EQ(Decimals().Depth(), 0u);

  int32_t n = -234568;
  ValueRef nr = MakeValueRef(kLong, -1, 0, &n);
  EXPECT_EQ(CompareRefs(p, nr), 1);  // exactly, through the decimal stack
  EXPECT_TRUE(IsTrue(p));
}

TEST(ValueRef, TextsBySpaceFreeComparison) {
  char field[8];
  ValueRef s = MakeValueRef(kString, 8, 0, field);
  Values().PushText("ABC");
  AssignText(s);
  EXPECT_EQ(std::string(field, 8), "ABC     ");
  char cstr[4];
  ValueRef c = MakeValueRef(kCString, 4, 0, cstr);
  AssignRef(c, s);
  EXPECT_STREQ(cstr, "ABC");
  char pstr[6];
  ValueRef p = MakeValueRef(kPString, 6, 0, pstr);
  Values().PushText("AB");
  AssignText(p);
  EXPECT_EQ(RefText(p), "AB");

  EXPECT_EQ(CompareRefs(s, c), 0);
  EXPECT_EQ(CompareRefs(p, c), -1);
  double x = 0.5;
  ValueRef r = MakeValueRef(kReal, -1, 0, &x);
  Values().PushText("   ");
  AssignText(s);
  EXPECT_FALSE(IsTrue(s));
  EXPECT_EQ(CompareRefs(s, r), -1);  // one text: compared as doubles
  AssignRef(s, r);
  EXPECT_EQ(std::string(field, 8), "0.5     ");
}

TEST(ValueRef, RealsCompareApproximately) {
  double x = 0.1 + 0.2;
  double y = 0.3;
  ValueRef a = MakeValueRef(kReal, -1, 0, &x);
  ValueRef b = MakeValueRef(kReal, -1, 0, &y);
  EXPECT_EQ(CompareRefs(a, b), 0);
  uint8_t mbf[8];
  ValueRef m = MakeValueRef(kMbf8, -1, 0, mbf);
  AssignReal(m, -1234.5);
  EXPECT_EQ(RefAsReal(m), -1234.5);
  float f = 0;
  ValueRef sr = MakeValueRef(kSReal, -1, 0, &f);
  AssignRef(sr, m);
  EXPECT_EQ(f, -1234.5f);
  EXPECT_EQ(RefAsLong(sr), -1234);
}

TEST(ValueRef, CapturedReferencesKeepTheirOwnValue) {
  int16_t s = -5;
  ValueRef captured = MakeValueRef(kShort | kRefCaptured, -1, 0, &s);
  s = 9;
  EXPECT_EQ(RefAsLong(captured), -5);
  AssignReal(captured, 2.5);
  EXPECT_EQ(captured.Type(), kReal);
  EXPECT_EQ(RefAsReal(captured), 2.5);
  Values().PushText("a longer text than before");
  AssignText(captured);
  ValueRef copy = captured;  // the copy owns its own text
  captured.CaptureLong(1);
  EXPECT_EQ(RefText(copy), "a longer text than before");
  EXPECT_EQ(s, 9);

  char source[4] = {'x', 'y', 'z', 'w'};
  ValueRef owned = MakeValueRef(kString | kRefOwnsCopy, 4, 0, source);
  source[0] = 'Q';
  EXPECT_EQ(RefText(owned), "xyzw");
}

TEST(ValueRef, FromDescriptor) {
  const uint8_t descriptor[] = {kDimension, 3, 0, 0, 0, kDecimal, 4,     2, kGroup,
                                kString,    5, 0, 0, 0, 0,        kLong, 0, 0};
  uint8_t record[32] = {};
  DescriptorReader cursor(descriptor);
  auto d = RefFromDescriptor(cursor, record);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->Type(), kDecimal);
  EXPECT_EQ(d->Size(), 4u);
  EXPECT_EQ(d->Places(), 2);
  EXPECT_TRUE(d->flags & kRefDimensioned);
  EXPECT_EQ(d->count, 3u);
  auto g = RefFromDescriptor(cursor, record);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->Type(), kString);
  EXPECT_EQ(g->Size(), 9u);
  EXPECT_FALSE(RefFromDescriptor(cursor, record));
}

TEST(ValueRef, PictureTextGoesThroughTheHooks) {
  // Stand-in picture: formatting wraps the value in brackets, deformatting
  // strips them again.
  ValueHooks hooks;
  hooks.formatTop = [](const char*) {
    std::string text = "[" + Values().PopString() + "]";
    Values().PushCopy(text);
  };
  hooks.deformatTop = [](const char*) {
    std::string text = Values().PopString();
    Values().PushCopy(text.substr(1, text.find(']') - 1));
  };
  SetValueHooks(hooks);
  char display[6] = {};
  ValueRef p = MakeValueRef(kString | kRefPictureText, 6, 0, display);
  p.picture = "@N3";
  AssignLong(p, 42);
  EXPECT_EQ(std::string(display, 6), "[42]  ");
  EXPECT_EQ(RefAsLong(p), 42);
  SetValueHooks(CalendarAndPictureHooks());
}

TEST(ValueRefDeathTest, TypesWithoutTextFormAreTypingErrors) {
  char area[4];
  ValueRef group = MakeValueRef(kTextArea, 4, 0, area);
  EXPECT_EXIT(
      {
        Values().PushText("x");
        AssignText(group);
      },
      ::testing::ExitedWithCode(2), "Parameter typing error");
  uint8_t odd[4] = {};
  ValueRef bad = MakeValueRef(17, 4, 0, odd);
  EXPECT_EXIT(PushRef(bad), ::testing::ExitedWithCode(2), "Parameter typing error");
}

TEST(Mbf, ConvertsExactlyRepresentableValues) {
  uint8_t four[4];
  for (double v : {1.0, -0.5, 1234.5, 3.0e30, -7.25e-30}) {
    DoubleToMbf4(v, four);
    EXPECT_EQ(Mbf4ToDouble(four), static_cast<double>(static_cast<float>(v)));
  }
  const uint8_t one[4] = {0, 0, 0, 0x81};  // 1.0: exponent 129, empty mantissa
  EXPECT_EQ(Mbf4ToDouble(one), 1.0);
  DoubleToMbf4(0.0, four);
  EXPECT_EQ(four[3], 0);
  DoubleToMbf4(1e300, four);  // out of range: largest magnitude
  EXPECT_EQ(four[3], 0xFF);
}

}  // namespace
}  // namespace rk
