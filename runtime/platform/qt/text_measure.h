// The width a text takes on a page when the page player draws it with a given
// font, so that the report engine can break long texts into lines before it
// writes them into a page's records.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "runtime/platform/qt/metafile_writer.h"

namespace rk::platform {

// Measures texts in one font, which it makes once: breaking a paragraph asks
// for the width of every line so far, word by word.
class TextMeasurer {
 public:
  explicit TextMeasurer(const LogicalFont& font);
  ~TextMeasurer();
  TextMeasurer(const TextMeasurer&) = delete;
  TextMeasurer& operator=(const TextMeasurer&) = delete;

  // The advance of `ansi` in the font's own units (the font's height is in
  // the same units as the page's coordinates).
  int32_t Width(std::string_view ansi) const;

 private:
  struct Metrics;
  std::unique_ptr<Metrics> metrics_;  // none without an application object
  int32_t guessedAdvance_;
};

}  // namespace rk::platform
