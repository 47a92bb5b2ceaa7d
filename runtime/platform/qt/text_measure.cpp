#include "runtime/platform/qt/text_measure.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <cmath>
#include <cstdlib>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/metafile_player.h"

namespace rk::platform {

int32_t TextWidth(const LogicalFont& font, std::string_view ansi) {
  // Fonts can only be measured once the application object exists; without it
  // (a program that only writes pages) an average glyph of half the height is
  // a close enough guess for line breaking.
  if (QGuiApplication::instance() == nullptr) {
    return static_cast<int32_t>(ansi.size()) * std::max(1, std::abs(font.height) / 2);
  }
  QFontMetricsF metrics(PlayedFont(font));
  return static_cast<int32_t>(std::ceil(metrics.horizontalAdvance(FromAnsi(ansi))));
}

}  // namespace rk::platform
