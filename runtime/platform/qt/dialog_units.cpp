#include "runtime/platform/qt/dialog_units.h"

#include "runtime/platform/qt/fonts.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstdint>

namespace rk::platform {
namespace {

// value * numerator / denominator rounded to the nearest integer, halves away
// from zero, computed in 64 bits and clamped, so large positions cannot overflow.
int ScaleRounded(int value, int numerator, int denominator) {
  int64_t product = int64_t{value} * numerator;
  int64_t half = denominator / 2;
  int64_t result = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
  return static_cast<int>(std::clamp<int64_t>(result, INT32_MIN, INT32_MAX));
}

}  // namespace

DialogBaseUnits BaseUnitsOf(const FontRecord& font) {
  return BaseUnitsOf(MakeFont(font));
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  QFontMetrics metrics(font);
  int width = metrics.horizontalAdvance("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
  return {(width / 26 + 1) / 2, metrics.height()};
}

int DialogToPixelsX(int units, DialogBaseUnits base) {
  return ScaleRounded(units, base.x, 4);
}

int DialogToPixelsY(int units, DialogBaseUnits base) {
  return ScaleRounded(units, base.y, 8);
}

QRect DialogToPixels(const QRect& unitsRect, DialogBaseUnits base) {
  return QRect(DialogToPixelsX(unitsRect.x(), base), DialogToPixelsY(unitsRect.y(), base),
               DialogToPixelsX(unitsRect.width(), base), DialogToPixelsY(unitsRect.height(), base));
}

}  // namespace rk::platform
