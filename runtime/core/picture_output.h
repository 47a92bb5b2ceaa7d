// The text being formatted: written left to right, padded with spaces to the
// picture's width at the end. Shared by the number, calendar and text writers.
#pragma once

#include <cstring>
#include <string>

#include "runtime/core/decimal_digits.h"
#include "runtime/core/picture.h"

namespace rk {

class PictureOutput {
 public:
  explicit PictureOutput(int width) : width_(width) {}

  void Put(char c) {
    if (length_ < width_) text_[length_++] = c;
  }
  int Length() const { return length_; }
  char Last() const { return length_ > 0 ? text_[length_ - 1] : '\0'; }
  char* Data() { return text_; }
  void SetLength(int length) { length_ = length; }
  std::string Finish() {
    if (length_ < width_) std::memset(text_ + length_, ' ', width_ - length_);
    return std::string(text_, width_);
  }
  std::string Blank() {
    length_ = 0;
    return Finish();
  }

 private:
  char text_[kMaxPictureWidth + 1];
  int length_ = 0;
  int width_;
};

// Numeric, scientific and pattern pictures over exact digits; `finite` false
// writes the overflow marks.
std::string FormatNumberPicture(const DecimalDigits& value, bool finite,
                                const CompiledPicture& picture);
// Date and time pictures over a day number or time value.
std::string FormatCalendarPicture(int32_t value, const CompiledPicture& picture);

}  // namespace rk
