#include "runtime/platform/qt/text_measure.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/metafile_player.h"

namespace rk::platform {

struct TextMeasurer::Metrics {
  QFontMetricsF metrics;
};

// Fonts can only be measured once the application object exists; without it
// (a program that only writes pages) an average glyph of half the height is a
// close enough guess for line breaking.
TextMeasurer::TextMeasurer(const LogicalFont& font)
    : guessedAdvance_(std::max(1, std::abs(font.height) / 2)) {
  if (QGuiApplication::instance() != nullptr) {
    metrics_ = std::make_unique<Metrics>(Metrics{QFontMetricsF(PlayedFont(font))});
  }
}

TextMeasurer::~TextMeasurer() = default;

int32_t TextMeasurer::Width(std::string_view ansi) const {
  if (!metrics_) return static_cast<int32_t>(ansi.size()) * guessedAdvance_;
  return static_cast<int32_t>(std::ceil(metrics_->metrics.horizontalAdvance(FromAnsi(ansi))));
}

}  // namespace rk::platform
