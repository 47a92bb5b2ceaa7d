// Breaks a report text into the lines it prints on: at its own line breaks, and
// when a width is given also between words, so that no line is wider than the
// width. A word wider than the width on its own is cut where it reaches it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rk {

// The width of a text in the units of `width`.
using TextMeasure = std::function<int32_t(std::string_view)>;

// The lines of `text`, each without trailing spaces. With `width` of 0 or less
// only the text's own line breaks ("\r\n", "\n" or "\r") divide it.
std::vector<std::string> BreakLines(std::string_view text, int32_t width,
                                    const TextMeasure& measure);

}  // namespace rk
