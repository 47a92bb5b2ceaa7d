#include "runtime/core/decimal_stack.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "runtime/core/halt.h"
#include "runtime/core/runtime_error_codes.h"

namespace rk {
namespace {

constexpr int kPositions = DecimalAccumulator::kPositions;
constexpr int kUnits = DecimalAccumulator::kUnits;

using Digits = std::array<uint8_t, kPositions>;

bool InRange(int position) {
  return position >= 0 && position < kPositions;
}

// Sets the highest index from the digits and makes zero positive.
void Normalize(DecimalAccumulator& a) {
  int high = kPositions - 1;
  while (high >= 0 && a.digits[high] == 0) --high;
  if (high < 0) {
    a.high = kUnits;
    a.negative = 0;
  } else {
    a.high = static_cast<uint8_t>(high);
  }
  a.low = std::min<uint8_t>(a.low, kUnits);
}

bool IsZero(const DecimalAccumulator& a) {
  return std::all_of(a.digits.begin(), a.digits.end(), [](uint8_t d) { return d == 0; });
}

int CompareMagnitudes(const Digits& a, const Digits& b) {
  for (int p = kPositions - 1; p >= 0; --p) {
    if (a[p] != b[p]) return a[p] < b[p] ? -1 : 1;
  }
  return 0;
}

// a + b; a carry out of the top position is lost.
Digits AddMagnitudes(const Digits& a, const Digits& b) {
  Digits sum{};
  int carry = 0;
  for (int p = 0; p < kPositions; ++p) {
    int d = a[p] + b[p] + carry;
    carry = d >= 10;
    sum[p] = static_cast<uint8_t>(d - 10 * carry);
  }
  return sum;
}

// a - b for a >= b.
Digits SubtractMagnitudes(const Digits& a, const Digits& b) {
  Digits difference{};
  int borrow = 0;
  for (int p = 0; p < kPositions; ++p) {
    int d = a[p] - b[p] - borrow;
    borrow = d < 0;
    difference[p] = static_cast<uint8_t>(d + 10 * borrow);
  }
  return difference;
}

// Little-endian decimal digits of arbitrary length, for the long division.
template <size_t N>
bool AtLeast(const std::array<uint8_t, N>& r, const Digits& b) {
  for (size_t p = N; p-- > 0;) {
    uint8_t bd = p < b.size() ? b[p] : 0;
    if (r[p] != bd) return r[p] > bd;
  }
  return true;
}

template <size_t N>
void SubtractInPlace(std::array<uint8_t, N>& r, const Digits& b) {
  int borrow = 0;
  for (size_t p = 0; p < N; ++p) {
    int d = r[p] - (p < b.size() ? b[p] : 0) - borrow;
    borrow = d < 0;
    r[p] = static_cast<uint8_t>(d + 10 * borrow);
  }
}

template <size_t N>
void ShiftInDigit(std::array<uint8_t, N>& r, uint8_t digit) {
  for (size_t p = N - 1; p > 0; --p) r[p] = r[p - 1];
  r[0] = digit;
}

int LowestNonZero(const Digits& d) {
  for (int p = 0; p < kPositions; ++p) {
    if (d[p] != 0) return p;
  }
  return -1;
}

uint8_t Nibble(const uint8_t* bytes, size_t index) {
  uint8_t byte = bytes[index / 2];
  uint8_t nibble = index % 2 == 0 ? byte >> 4 : byte & 0x0F;
  return nibble % 10;  // damaged BCD stays a digit
}

void SetNibble(uint8_t* bytes, size_t index, uint8_t value) {
  uint8_t& byte = bytes[index / 2];
  byte = index % 2 == 0 ? static_cast<uint8_t>((byte & 0x0F) | (value << 4))
                        : static_cast<uint8_t>((byte & 0xF0) | value);
}

// Reads `count` BCD digits starting at nibble `first` (most significant first)
// into positions so that the last one has `places` fraction digits.
void ReadBcd(DecimalAccumulator& a, const uint8_t* bytes, size_t first, size_t count, int places) {
  int lowPosition = kUnits - places;
  for (size_t j = 0; j < count; ++j) {
    int position = lowPosition + static_cast<int>(j);
    if (InRange(position)) a.digits[position] = Nibble(bytes, first + count - 1 - j);
  }
  a.low = static_cast<uint8_t>(std::clamp(lowPosition, 0, kUnits));
}

// Writes the digits at the positions matching `count` BCD digits with `places`
// fraction digits; returns true when a non-zero digit was written.
bool WriteBcd(const DecimalAccumulator& a, uint8_t* bytes, size_t first, size_t count, int places) {
  int lowPosition = kUnits - places;
  bool nonZero = false;
  for (size_t j = 0; j < count; ++j) {
    int position = lowPosition + static_cast<int>(j);
    uint8_t digit = InRange(position) ? a.digits[position] : 0;
    nonZero = nonZero || digit != 0;
    SetNibble(bytes, first + count - 1 - j, digit);
  }
  return nonZero;
}

double ScaleByPowerOfTen(double m, int shift) {
  static constexpr double kPowers[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  while (shift > 15) {
    m *= 1e16;
    shift -= 16;
  }
  while (shift < -15) {
    m /= 1e16;
    shift += 16;
  }
  return shift >= 0 ? m * kPowers[shift] : m / kPowers[-shift];
}

}  // namespace

DecimalAccumulator& DecimalStack::NewTop() {
  if (depth_ == kAccumulators) RuntimeError(runtime_error_code::kStackOverflow, "decimal stack");
  DecimalAccumulator& a = accumulators_[depth_++];
  a = DecimalAccumulator{};
  return a;
}

DecimalAccumulator& DecimalStack::At(size_t below) {
  if (depth_ <= below)
    RuntimeError(runtime_error_code::kInternalError02, "decimal stack underflow");
  return accumulators_[depth_ - 1 - below];
}

const DecimalAccumulator& DecimalStack::Top() const {
  return const_cast<DecimalStack*>(this)->At(0);
}

void DecimalStack::Drop(size_t count) {
  At(count - 1);
  depth_ -= count;
}

void DecimalStack::Swap(DecimalStack& other) noexcept {
  std::swap(accumulators_, other.accumulators_);
  std::swap(depth_, other.depth_);
}

void DecimalStack::PushDecimal(const void* address, size_t size, int places) {
  DecimalAccumulator& a = NewTop();
  if (size == 0) return;
  const auto* bytes = static_cast<const uint8_t*>(address);
  ReadBcd(a, bytes, 1, 2 * size - 1, places);
  a.negative = (bytes[0] >> 4) != 0;
  Normalize(a);
}

void DecimalStack::PushPDecimal(const void* address, size_t size, int places) {
  DecimalAccumulator& a = NewTop();
  if (size == 0) return;
  const auto* bytes = static_cast<const uint8_t*>(address);
  ReadBcd(a, bytes, 0, 2 * size - 1, places);
  a.negative = (bytes[size - 1] & 0x0F) == 0x0D;
  Normalize(a);
}

void DecimalStack::PushLong(int32_t n) {
  PushULong(static_cast<uint32_t>(n < 0 ? -static_cast<int64_t>(n) : n));
  accumulators_[depth_ - 1].negative = n < 0;
}

void DecimalStack::PushULong(uint32_t n) {
  DecimalAccumulator& a = NewTop();
  for (int p = kUnits; n != 0; ++p, n /= 10) a.digits[p] = static_cast<uint8_t>(n % 10);
  Normalize(a);
}

void DecimalStack::PushText(std::string_view text) {
  DecimalAccumulator& a = NewTop();
  size_t i = 0;
  if (i < text.size() && text[i] == '-') {
    a.negative = 1;
    ++i;
  }
  size_t point = text.find('.', i);
  std::string_view integer =
      text.substr(i, point == std::string_view::npos ? text.npos : point - i);
  std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  // Only the low four bits count; keep them a digit whatever the character.
  auto digit = [](char c) { return static_cast<uint8_t>((c & 0x0F) % 10); };
  for (size_t j = 0; j < integer.size() && kUnits + static_cast<int>(j) < kPositions; ++j) {
    a.digits[kUnits + j] = digit(integer[integer.size() - 1 - j]);
  }
  size_t places = std::min<size_t>(fraction.size(), kUnits);
  for (size_t j = 0; j < places; ++j) a.digits[kUnits - 1 - j] = digit(fraction[j]);
  a.low = static_cast<uint8_t>(kUnits - places);
  Normalize(a);
}

void DecimalStack::PushReal(double x) {
  if (!std::isfinite(x) || x == 0) {
    PushULong(0);
    return;
  }
  // "d.dddddddddddddde+XX": 15 significant digits and the decimal exponent.
  char text[32];
  auto [end, ec] =
      std::to_chars(text, text + sizeof text, std::fabs(x), std::chars_format::scientific, 14);
  std::string_view s(text, static_cast<size_t>(end - text));
  size_t e = s.find('e');
  int exponent = 0;
  std::from_chars(s.data() + e + 1 + (s[e + 1] == '+'), s.data() + s.size(), exponent);
  std::string digits;
  for (char c : s.substr(0, e)) {
    if (c != '.') digits += c;
  }
  DecimalAccumulator& a = NewTop();
  a.negative = x < 0;
  int lowest = kUnits;
  for (size_t k = 0; k < digits.size(); ++k) {
    int position = kUnits + exponent - static_cast<int>(k);
    uint8_t d = static_cast<uint8_t>(digits[k] - '0');
    if (!InRange(position) || d == 0) continue;
    a.digits[position] = d;
    lowest = std::min(lowest, position);
  }
  a.low = static_cast<uint8_t>(lowest);
  Normalize(a);
}

void DecimalStack::Add() {
  DecimalAccumulator& top = At(0);
  DecimalAccumulator& second = At(1);
  second.low = std::min(second.low, top.low);
  if (second.negative == top.negative) {
    second.digits = AddMagnitudes(second.digits, top.digits);
  } else if (CompareMagnitudes(second.digits, top.digits) >= 0) {
    second.digits = SubtractMagnitudes(second.digits, top.digits);
  } else {
    second.digits = SubtractMagnitudes(top.digits, second.digits);
    second.negative = top.negative;
  }
  Normalize(second);
  Drop(1);
}

void DecimalStack::Negate() {
  DecimalAccumulator& top = At(0);
  if (!IsZero(top)) top.negative = !top.negative;
}

void DecimalStack::Subtract() {
  Negate();
  Add();
}

void DecimalStack::Multiply() {
  DecimalAccumulator& top = At(0);
  DecimalAccumulator& second = At(1);
  std::array<uint32_t, 2 * kPositions> product{};
  for (int i = 0; i < kPositions; ++i) {
    if (second.digits[i] == 0) continue;
    for (int j = 0; j < kPositions; ++j) product[i + j] += second.digits[i] * top.digits[j];
  }
  uint32_t carry = 0;
  for (uint32_t& d : product) {
    d += carry;
    carry = d / 10;
    d %= 10;
  }
  // Both factors are scaled by 10^32; the product's units sit at 2 * 32.
  for (int p = 0; p < kPositions; ++p) second.digits[p] = static_cast<uint8_t>(product[p + kUnits]);
  second.low = static_cast<uint8_t>(std::max(0, second.low + top.low - kUnits));
  second.negative = second.negative != top.negative;
  Normalize(second);
  Drop(1);
}

void DecimalStack::Divide() {
  DecimalAccumulator& top = At(0);
  DecimalAccumulator& second = At(1);
  uint8_t places = std::min(second.low, top.low);
  if (IsZero(top)) {
    second = DecimalAccumulator{};
    second.low = places;
    Drop(1);
    return;
  }
  // quotient = second * 10^32 / top, digit by digit from the top of the
  // 96-digit dividend; the remainder stays below 10 * top.
  Digits quotient{};
  std::array<uint8_t, kPositions + 2> remainder{};
  for (int i = kPositions + kUnits - 1; i >= 0; --i) {
    ShiftInDigit(remainder, i >= kUnits ? second.digits[i - kUnits] : 0);
    uint8_t q = 0;
    while (AtLeast(remainder, top.digits)) {
      SubtractInPlace(remainder, top.digits);
      ++q;
    }
    if (InRange(i)) quotient[i] = q;
  }
  second.digits = quotient;
  int lowest = LowestNonZero(quotient);
  second.low = lowest < 0 ? places : static_cast<uint8_t>(std::min<int>(places, lowest));
  second.negative = second.negative != top.negative;
  Normalize(second);
  Drop(1);
}

int DecimalStack::Compare() {
  const DecimalAccumulator& top = At(0);
  const DecimalAccumulator& second = At(1);
  int result;
  if (second.negative != top.negative) {
    result = second.negative ? -1 : 1;
  } else {
    result = CompareMagnitudes(second.digits, top.digits);
    if (second.negative) result = -result;
  }
  Drop(2);
  return result;
}

bool DecimalStack::PopIsZero() {
  bool zero = IsZero(At(0));
  Drop(1);
  return zero;
}

void DecimalStack::PopToDecimal(void* address, size_t size, int places) {
  const DecimalAccumulator& a = At(0);
  if (size != 0) {
    auto* bytes = static_cast<uint8_t*>(address);
    bool nonZero = WriteBcd(a, bytes, 1, 2 * size - 1, places);
    bytes[0] = static_cast<uint8_t>((bytes[0] & 0x0F) | (a.negative && nonZero ? 0x80 : 0));
  }
  Drop(1);
}

void DecimalStack::PopToPDecimal(void* address, size_t size, int places) {
  const DecimalAccumulator& a = At(0);
  if (size != 0) {
    auto* bytes = static_cast<uint8_t*>(address);
    bool nonZero = WriteBcd(a, bytes, 0, 2 * size - 1, places);
    bytes[size - 1] =
        static_cast<uint8_t>((bytes[size - 1] & 0xF0) | (a.negative && nonZero ? 0x0D : 0x0F));
  }
  Drop(1);
}

std::string DecimalStack::PopText() {
  const DecimalAccumulator& a = At(0);
  std::string text;
  if (a.negative) text += '-';
  if (a.high < kUnits) text += '0';
  for (int p = a.high; p >= kUnits; --p) text += static_cast<char>('0' + a.digits[p]);
  if (a.low < kUnits) {
    text += '.';
    for (int p = kUnits - 1; p >= a.low; --p) text += static_cast<char>('0' + a.digits[p]);
  }
  Drop(1);
  return text;
}

uint32_t DecimalStack::PopULong() {
  const DecimalAccumulator& a = At(0);
  uint32_t value = 0;
  for (int p = kPositions - 1; p >= kUnits; --p) value = value * 10 + a.digits[p];
  if (a.negative) value = 0u - value;
  Drop(1);
  return value;
}

int32_t DecimalStack::PopLong() {
  return static_cast<int32_t>(PopULong());
}

double DecimalStack::PopReal() {
  const DecimalAccumulator& a = At(0);
  int last = std::max<int>(a.low, a.high - 15);
  double m = 0;
  for (int p = a.high; p >= last; --p) m = m * 10 + a.digits[p];
  double value = ScaleByPowerOfTen(m, last - kUnits);
  if (a.negative) value = -value;
  Drop(1);
  return value;
}

}  // namespace rk
