#include "runtime/windows/definition_units.h"

#include <gtest/gtest.h>

namespace rk {
namespace {

TEST(DefinitionUnits, EachUnitConvertsAtTheDevicesResolution) {
  DeviceMetrics screen{96, 120, 6, 13};
  // Dialog units: x by 2 × 6 / 8, y by 13 / 8.
  EXPECT_EQ(ToPixels(Position{400, 270, 4, 8}, ScaleFor(Units::kDialog, screen)),
            (Position{600, 439, 6, 13}));
  EXPECT_EQ(ToPixels(Position{25, 50, 1, 1}, ScaleFor(Units::kInch25, screen)),
            (Position{96, 240, 4, 5}));
  DeviceMetrics printer{600, 600, 0, 0};
  EXPECT_EQ(ToPixels(Position{1000, 2000, 6000, 8479}, ScaleFor(Units::kInch1000, printer)),
            (Position{600, 1200, 3600, 5087}));
  EXPECT_EQ(ToPixels(Position{72, 36, -72, 1}, ScaleFor(Units::kPoints, printer)),
            (Position{600, 300, -600, 8}));
}

TEST(DefinitionUnits, APlaceNotGivenIsZeroPixels) {
  DeviceMetrics screen{96, 96, 6, 13};
  EXPECT_EQ(ToPixels(kPositionNotGiven, ScaleFor(Units::kDialog, screen)), (Position{0, 0, 0, 0}));
  EXPECT_EQ(ToPixels(Position{kNotGiven, 8, kNotGiven, 8}, ScaleFor(Units::kDialog, screen)),
            (Position{0, 13, 0, 13}));
  EXPECT_EQ(ToPixels(5, AxisScale{1, 0}), 0);  // a font without metrics scales nothing
}

TEST(DefinitionUnits, HalvesRoundAwayFromZero) {
  EXPECT_EQ(ToPixels(1, AxisScale{3, 2}), 2);
  EXPECT_EQ(ToPixels(-1, AxisScale{3, 2}), -2);
  EXPECT_EQ(ToPixels(1, AxisScale{1, 3}), 0);
  EXPECT_EQ(ToPixels(INT32_MAX, AxisScale{1000, 1000}), INT32_MAX);  // no overflow on the way
}

}  // namespace
}  // namespace rk
