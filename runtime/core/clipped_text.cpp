#include "runtime/core/clipped_text.h"

#include <algorithm>

namespace rk {

namespace {

std::string_view ClipRightOf(std::string_view text, std::string_view padding) {
  size_t end = text.find_last_not_of(padding);
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

}  // namespace

// Fixed-length buffers (memos above all) are mostly padding: whole runs of eight
// spaces are skipped with one comparison.
std::string_view ClipRight(std::string_view text) {
  constexpr std::string_view kEightSpaces = "        ";
  size_t length = text.size();
  while (length >= 8 && text.substr(length - 8, 8) == kEightSpaces) length -= 8;
  while (length > 0 && text[length - 1] == ' ') --length;
  return text.substr(0, length);
}

std::string_view ClipBoth(std::string_view text) {
  text = ClipRight(text);
  return text.substr(std::min(text.find_first_not_of(' '), text.size()));
}

std::string_view ClipRightBlanks(std::string_view text) {
  return ClipRightOf(text, " \t");
}

}  // namespace rk
