#include "app/browse_locator.h"

#include <algorithm>

namespace rk {
namespace {

constexpr int32_t kBackspace = 0x08;
constexpr int32_t kSpace = 0x20;
constexpr int32_t kFirstPrintable = 0x20;

}  // namespace

size_t BrowseLocator::Kept() const {
  return std::min(static_cast<size_t>(count_), std::min(capacity_, text_.size()));
}

bool BrowseLocator::Key(int32_t keyCode, int32_t character) {
  if (keyCode == kBackspace) {
    if (count_ == 0) return false;
    --count_;
    text_.resize(Kept());
    return true;
  }
  char typed;
  if (keyCode == kSpace || character == kSpace) {
    typed = ' ';
  } else if (character >= kFirstPrintable && character <= 0xFF && character != 0x7F) {
    typed = static_cast<char>(character);
  } else {
    return false;
  }
  text_.resize(Kept());
  if (text_.size() < capacity_) text_.push_back(typed);
  ++count_;
  return true;
}

}  // namespace rk
