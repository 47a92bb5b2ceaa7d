// Conversion of a definition's positions to device pixels. A window or report
// gives its units in bits 0x300 of its flags: dialog units (x by twice the font's
// average character width over 8, y by the character height over 8), 1/25 inch,
// thousandths of an inch or points, the inch-based ones at the device's logical
// pixels per inch. A place that is not given (kNotGiven) converts to 0.
#pragma once

#include <cstdint>

#include "runtime/windows/definition_tree.h"

namespace rk {

struct AxisScale {
  int32_t multiplier = 1;
  int32_t divisor = 1;
};

struct UnitScale {
  AxisScale x;
  AxisScale y;
};

struct DeviceMetrics {
  int32_t pixelsPerInchX = 96;
  int32_t pixelsPerInchY = 96;
  int32_t averageCharWidth = 0;  // of the window's font, for dialog units
  int32_t charHeight = 0;
};

UnitScale ScaleFor(Units units, const DeviceMetrics& device);

// value × multiplier ÷ divisor, rounded to the nearest pixel (halves away from 0).
int32_t ToPixels(int32_t value, const AxisScale& scale);

// x and width on the x axis, y and height on the y axis.
Position ToPixels(const Position& at, const UnitScale& scale);

}  // namespace rk
