// Dialog units: positions and sizes in window definitions are given in units of
// the window's font, a quarter of the average character width horizontally and an
// eighth of the character height vertically.
#pragma once

#include <QFont>
#include <QRect>

#include "runtime/platform/qt/font_record.h"

namespace rk::platform {

struct DialogBaseUnits {
  int x = 0;  // average character width in pixels
  int y = 0;  // character height in pixels
};

// The average width is that of the 52 letters "a".."z", "A".."Z", halved and
// rounded ((width / 26 + 1) / 2); the height is the font's character height.
DialogBaseUnits BaseUnitsOf(const QFont& font);
DialogBaseUnits BaseUnitsOf(const FontRecord& font);

int DialogToPixelsX(int units, DialogBaseUnits base);
int DialogToPixelsY(int units, DialogBaseUnits base);
QRect DialogToPixels(const QRect& unitsRect, DialogBaseUnits base);

}  // namespace rk::platform
