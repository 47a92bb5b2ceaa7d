#include "runtime/platform/qt/text_measure.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <cmath>
#include <cstdlib>

#include "runtime/platform/qt/ansi_text.h"

namespace rk::platform {

namespace {

// The same font the player makes from a font record: the height as a pixel
// size and no hinting, so that widths scale with the page's resolution.
QFont PlayedFont(const LogicalFont& font) {
  QFont qfont;
  if (!font.face.empty()) qfont.setFamily(FromAnsi(font.face));
  qfont.setPixelSize(std::max(1, std::abs(static_cast<int>(font.height))));
  qfont.setBold((font.weight == 0 ? 400 : font.weight) >= 600);
  qfont.setItalic(font.italic);
  qfont.setHintingPreference(QFont::PreferNoHinting);
  return qfont;
}

}  // namespace

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
