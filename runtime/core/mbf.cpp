#include "runtime/core/mbf.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace rk {
namespace {

constexpr int kExponentShift = 894;  // IEEE double bias 1023 - MBF bias 129

// Assembles a double from sign, MBF exponent and a 52-bit fraction.
double FromParts(bool negative, int mbfExponent, uint64_t fraction) {
  if (mbfExponent == 0) return 0.0;
  uint64_t bits =
      (negative ? uint64_t{1} << 63 : 0) | uint64_t(mbfExponent + kExponentShift) << 52 | fraction;
  return std::bit_cast<double>(bits);
}

struct Parts {
  bool negative;
  int exponent;       // MBF exponent, 0 for zero
  uint64_t fraction;  // 52 bits
};

// The double's parts on the MBF exponent scale, clamped into 1..255.
Parts ToParts(double x, uint64_t maxFraction) {
  if (std::isnan(x) || x == 0) return {false, 0, 0};
  auto bits = std::bit_cast<uint64_t>(x);
  bool negative = bits >> 63;
  int exponent = static_cast<int>((bits >> 52) & 0x7FF) - kExponentShift;
  uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  if (exponent < 1) return {false, 0, 0};
  if (exponent > 255 || std::isinf(x)) return {negative, 255, maxFraction};
  return {negative, exponent, fraction};
}

}  // namespace

double Mbf4ToDouble(const uint8_t* b) {
  uint64_t mantissa = uint64_t{b[0]} | uint64_t{b[1]} << 8 | uint64_t(b[2] & 0x7F) << 16;
  return FromParts(b[2] & 0x80, b[3], mantissa << 29);
}

double Mbf8ToDouble(const uint8_t* b) {
  uint64_t mantissa = 0;
  for (int i = 6; i >= 0; --i) mantissa = mantissa << 8 | (i == 6 ? b[i] & 0x7F : b[i]);
  return FromParts(b[6] & 0x80, b[7], mantissa >> 3);
}

void DoubleToMbf4(double x, uint8_t* b) {
  // Round to single precision first; the float's exponent then decides.
  float f = static_cast<float>(x);
  if (!std::isfinite(f))
    f = std::copysign(std::numeric_limits<float>::max(), static_cast<float>(x));
  Parts p = ToParts(static_cast<double>(f), (uint64_t{1} << 52) - 1);
  uint32_t mantissa = static_cast<uint32_t>(p.fraction >> 29);
  b[0] = static_cast<uint8_t>(mantissa);
  b[1] = static_cast<uint8_t>(mantissa >> 8);
  b[2] = static_cast<uint8_t>((mantissa >> 16) & 0x7F) | (p.negative ? 0x80 : 0);
  b[3] = static_cast<uint8_t>(p.exponent);
}

void DoubleToMbf8(double x, uint8_t* b) {
  Parts p = ToParts(x, (uint64_t{1} << 52) - 1);
  uint64_t mantissa = p.exponent == 255 && p.fraction == (uint64_t{1} << 52) - 1
                          ? (uint64_t{1} << 55) - 1
                          : p.fraction << 3;
  for (int i = 0; i < 7; ++i) b[i] = static_cast<uint8_t>(mantissa >> (8 * i));
  b[6] = static_cast<uint8_t>(b[6] & 0x7F) | (p.negative ? 0x80 : 0);
  b[7] = static_cast<uint8_t>(p.exponent);
}

}  // namespace rk
