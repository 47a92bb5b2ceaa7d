// The decimal stack: nine accumulators for exact decimal arithmetic on DECIMAL
// and PDECIMAL values and on anything mixed with them.
//
// An accumulator holds 64 digit positions (one digit 0-9 per byte), a sign and
// the indexes of its lowest and highest significant positions. Position 32 is the
// units digit, 33-63 tens, hundreds and so on, 31 down to 0 tenths, hundredths
// and so on: 32 integer and 32 fractional digits. The lowest index records the
// number's places (12.50 keeps its two), the highest its leading non-zero digit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rk {

struct DecimalAccumulator {
  static constexpr int kPositions = 64;
  static constexpr int kUnits = 32;

  std::array<uint8_t, kPositions> digits{};
  uint8_t negative = 0;
  uint8_t low = kUnits;   // lowest significant position
  uint8_t high = kUnits;  // highest non-zero position (kUnits for zero)
};

class DecimalStack {
 public:
  static constexpr size_t kAccumulators = 9;

  // --- Pushing. A push onto a full stack is a runtime error (401). ----------
  // DECIMAL: packed BCD of `size` bytes, sign in the high nibble of byte 0.
  void PushDecimal(const void* address, size_t size, int places);
  // PDECIMAL: packed BCD of `size` bytes, sign in the low nibble of the last byte.
  void PushPDecimal(const void* address, size_t size, int places);
  void PushLong(int32_t n);
  void PushULong(uint32_t n);
  // Optional '-', integer digits, optional '.' and fraction digits. Any other
  // character counts as its low four bits, so the text must be clean digits.
  void PushText(std::string_view text);
  // The 15 significant digits of x; infinities and NaN push 0.
  void PushReal(double x);

  // --- Arithmetic on the top two (second op top), popping one. --------------
  void Add();
  void Subtract();
  void Multiply();
  // The quotient carries up to 32 fraction digits (truncated, so its integer
  // part is exact); trailing zeros beyond the operands' places are dropped.
  // Division by zero gives 0.
  void Divide();
  // Sign of second compared with top; pops both.
  int Compare();
  // Pops the top; true when it is zero.
  bool PopIsZero();
  void Negate();

  // --- Popping. --------------------------------------------------------------
  // Into `size` bytes with `places` fraction digits: extra fraction digits are
  // cut, integer digits that do not fit are lost.
  void PopToDecimal(void* address, size_t size, int places);
  void PopToPDecimal(void* address, size_t size, int places);
  // '-' when negative, the integer digits (at least one), then '.' and the
  // fraction digits down to the lowest significant position.
  std::string PopText();
  // The integer part with the sign, in 32 bits (wrapping).
  int32_t PopLong();
  uint32_t PopULong();
  double PopReal();

  size_t Depth() const { return depth_; }
  const DecimalAccumulator& Top() const;
  void Clear() { depth_ = 0; }
  void Swap(DecimalStack& other) noexcept;

 private:
  DecimalAccumulator& NewTop();
  DecimalAccumulator& At(size_t below);
  void Drop(size_t count);

  std::array<DecimalAccumulator, kAccumulators> accumulators_{};
  size_t depth_ = 0;
};

// The decimal stack of the runtime thread being served.
DecimalStack& Decimals();

}  // namespace rk
