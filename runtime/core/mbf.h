// Microsoft Binary Format reals, converted through IEEE doubles.
//
// MBF4: bytes 0-2 the 23-bit mantissa (hidden leading 1), bit 7 of byte 2 the
//       sign, byte 3 the exponent (bias 129; 0 means the value zero).
// MBF8: bytes 0-6 the 55-bit mantissa, bit 7 of byte 6 the sign, byte 7 the
//       exponent (bias 129; 0 means zero).
// The double's exponent is the MBF exponent + 894. Values too small for MBF
// become zero, values too large the largest MBF magnitude.
#pragma once

#include <cstdint>

namespace rk {

double Mbf4ToDouble(const uint8_t* bytes);
double Mbf8ToDouble(const uint8_t* bytes);
void DoubleToMbf4(double x, uint8_t* bytes);
void DoubleToMbf8(double x, uint8_t* bytes);

}  // namespace rk
