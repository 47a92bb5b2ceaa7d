#include "runtime/core/decimal_digits.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace rk {
namespace {

// Drops leading zeros (moving the point) and trailing zeros.
void Normalize(DecimalDigits& d) {
  int lead = 0;
  while (lead < d.count && d.digits[lead] == '0') ++lead;
  if (lead > 0) {
    std::memmove(d.digits, d.digits + lead, d.count - lead);
    d.count -= lead;
    d.point -= lead;
  }
  while (d.count > 0 && d.digits[d.count - 1] == '0') --d.count;
  if (d.count == 0) {
    d.point = 0;
    d.negative = false;
  }
  d.digits[d.count] = '\0';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

void DecimalDigits::RoundToPlaces(int places) {
  int keep = point + places;
  if (keep >= count) return;
  if (keep < 0) {
    *this = DecimalDigits();
    return;
  }
  bool up = digits[keep] >= '5';
  count = keep;
  if (up) {
    int i = keep - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {
      // The carry runs out of the first digit: 999.5 becomes 1000.
      std::memmove(digits + 1, digits, count);
      digits[0] = '1';
      ++count;
      ++point;
    }
  }
  Normalize(*this);
}

std::string DecimalDigits::Text() const {
  std::string text = negative ? "-" : "";
  int integers = IntegerDigits();
  if (integers == 0) text += '0';
  for (int i = 0; i < integers; ++i) text += DigitAt(i);
  if (count > point) {
    text += '.';
    for (int k = 0; k < count - point; ++k) text += DigitAt(point + k);
  }
  return text;
}

bool DigitsOfReal(double value, DecimalDigits& out) {
  out = DecimalDigits();
  if (!std::isfinite(value)) return false;
  if (value == 0) return true;
  // d.ddddddddddddde+XX: exactly kRealDigits significant digits, correctly rounded.
  char text[40];
  auto result = std::to_chars(text, text + sizeof text, std::fabs(value),
                              std::chars_format::scientific, DecimalDigits::kRealDigits - 1);
  *result.ptr = '\0';
  out.negative = value < 0;
  const char* p = text;
  while (*p && *p != 'e') {
    if (IsDigit(*p)) out.digits[out.count++] = *p;
    ++p;
  }
  int exponent = 0;
  if (*p == 'e') std::from_chars(p + (p[1] == '+' ? 2 : 1), result.ptr, exponent);
  out.point = exponent + 1;
  Normalize(out);
  return true;
}

bool DigitsOfDecimalText(std::string_view text, DecimalDigits& out) {
  out = DecimalDigits();
  size_t i = 0;
  auto skipSpaces = [&] {
    while (i < text.size() && text[i] == ' ') ++i;
  };
  skipSpaces();
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  bool anyDigit = false;
  bool seenPoint = false;
  DecimalDigits d;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c == '.' && !seenPoint) {
      seenPoint = true;
      continue;
    }
    if (!IsDigit(c)) break;
    anyDigit = true;
    if (d.count == 0 && c == '0') {
      if (seenPoint) --d.point;  // a leading fractional zero
      continue;
    }
    if (d.count == DecimalDigits::kMaxDigits) return false;
    d.digits[d.count++] = c;
    if (!seenPoint) ++d.point;
  }
  skipSpaces();
  if (!anyDigit || i != text.size()) return false;
  d.negative = negative;
  Normalize(d);
  out = d;
  return true;
}

}  // namespace rk
