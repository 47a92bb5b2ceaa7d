#include "runtime/windows/definition_units.h"

namespace rk {

UnitScale ScaleFor(Units units, const DeviceMetrics& device) {
  auto perInch = [&](int32_t parts) {
    return UnitScale{{device.pixelsPerInchX, parts}, {device.pixelsPerInchY, parts}};
  };
  switch (units) {
    case Units::kDialog:
      return {{2 * device.averageCharWidth, 8}, {device.charHeight, 8}};
    case Units::kInch25:
      return perInch(25);
    case Units::kInch1000:
      return perInch(1000);
    case Units::kPoints:
      return perInch(72);
  }
  return {};
}

int32_t ToPixels(int32_t value, const AxisScale& scale) {
  if (value == kNotGiven || scale.divisor <= 0) return 0;
  int64_t product = static_cast<int64_t>(value) * scale.multiplier;
  int64_t half = scale.divisor / 2;
  // Division truncates toward zero, so adding half away from zero rounds halves out.
  return static_cast<int32_t>((product + (product >= 0 ? half : -half)) / scale.divisor);
}

Position ToPixels(const Position& at, const UnitScale& scale) {
  return {ToPixels(at[0], scale.x), ToPixels(at[1], scale.y), ToPixels(at[2], scale.x),
          ToPixels(at[3], scale.y)};
}

}  // namespace rk
