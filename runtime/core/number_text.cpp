#include "runtime/core/number_text.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

#include "runtime/core/clipped_text.h"

namespace rk {
namespace {

constexpr size_t kTextToRealLimit = 40;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsWhite(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

size_t SkipDigits(std::string_view text, size_t i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

// The mantissa and exponent of a number starting at i; returns its end, or i when
// no digit was read.
size_t ScanNumber(std::string_view text, size_t i) {
  size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t intEnd = SkipDigits(text, i);
  size_t end = intEnd;
  bool digits = intEnd > i;
  if (end < text.size() && text[end] == '.') {
    size_t fracEnd = SkipDigits(text, end + 1);
    digits = digits || fracEnd > end + 1;
    end = fracEnd;
  }
  if (!digits) return start;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    size_t e = end + 1;
    if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
    size_t expEnd = SkipDigits(text, e);
    if (expEnd > e) end = expEnd;
  }
  return end;
}

int BinaryExponent(double v) {
  return v == 0 ? 0 : std::ilogb(v);
}

}  // namespace

size_t RealToText(double x, char* out) {
  // NaN has no text form, and negative zero should read as plain 0.
  if (std::isnan(x) || x == 0) x = 0;
  auto [end, ec] = std::to_chars(out, out + kMaxRealText, x, std::chars_format::general, 14);
  size_t length = ec == std::errc() ? static_cast<size_t>(end - out) : 0;
  if (length > 0 && out[length - 1] == '.') --length;
  return length;
}

std::string RealToText(double x) {
  char buffer[kMaxRealText];
  return std::string(buffer, RealToText(x, buffer));
}

size_t NumberPrefixLength(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsWhite(text[i])) ++i;
  size_t end = ScanNumber(text, i);
  return end > i ? end : 0;
}

double TextToReal(std::string_view text) {
  text = text.substr(0, kTextToRealLimit);
  text = ClipRight(text);
  size_t i = 0;
  while (i < text.size() && IsWhite(text[i])) ++i;
  size_t end = ScanNumber(text, i);
  if (end == i) return 0;
  bool negative = text[i] == '-';
  if (text[i] == '+' || text[i] == '-') ++i;
  double value = 0;
  auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + end, value);
  if (ec == std::errc::result_out_of_range) {
    // Too large becomes the largest double, too small zero.
    size_t e = std::string_view(text.data() + i, end - i).find_first_of("eE");
    bool tiny = e != std::string_view::npos && end > i + e + 1 && text[i + e + 1] == '-';
    value = tiny ? 0 : DBL_MAX;
  }
  return negative ? -value : value;
}

bool ApproximatelyEqual(double x, double y) {
  if (x == y) return true;
  double d = x - y;
  // A NaN or an infinity has no exponent to compare (ilogb answers the extremes
  // of int, and the differences below would overflow): only equal values match.
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(d)) return false;
  int ed = BinaryExponent(d);
  return BinaryExponent(x) - ed > 50 || BinaryExponent(y) - ed > 50;
}

int32_t RealToLong(double x) {
  constexpr double kLow = static_cast<double>(std::numeric_limits<int32_t>::min());
  constexpr double kHigh = static_cast<double>(std::numeric_limits<int32_t>::max());
  double k = std::trunc(x);
  if (!(k >= kLow && k <= kHigh)) return std::numeric_limits<int32_t>::min();
  // The sign of x, not of k, picks the neighbour, so that -0.99999999999999989
  // becomes -1 just as 0.99999999999999989 becomes 1.
  double next = x >= 0 ? k + 1 : k - 1;
  if (next >= kLow && next <= kHigh && ApproximatelyEqual(x, next))
    return static_cast<int32_t>(next);
  return static_cast<int32_t>(k);
}

}  // namespace rk
