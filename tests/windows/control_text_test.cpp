#include "runtime/windows/control_text_of.h"

#include <gtest/gtest.h>

namespace rk {
namespace {

TEST(ControlTextTest, HotKeyMarkersReachQtAndLoneAmpersandsStayVisible) {
  EXPECT_EQ(HotKeyText("&Close"), "&Close");
  EXPECT_EQ(HotKeyText("Fish && Chips"), "Fish && Chips") << "a doubled marker stays one ampersand";
  EXPECT_EQ(HotKeyText("SLP - NTSC & M-PAL"), "SLP - NTSC && M-PAL")
      << "an ampersand before a space marks no key";
  EXPECT_EQ(HotKeyText("Rock &"), "Rock &&") << "nor does one at the end";
}

TEST(ControlTextTest, PlainTextDropsMarkersButKeepsLoneAmpersands) {
  EXPECT_EQ(PlainText("&Close"), "Close");
  EXPECT_EQ(PlainText("Fish && Chips"), "Fish & Chips");
  EXPECT_EQ(PlainText("SLP - NTSC & M-PAL"), "SLP - NTSC & M-PAL");
  EXPECT_EQ(PlainText("Rock &"), "Rock &");
}

}  // namespace
}  // namespace rk
