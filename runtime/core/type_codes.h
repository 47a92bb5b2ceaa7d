// Storage type codes. One byte; the same codes appear in type descriptors, in typed
// value references and in the file drivers' field descriptions.
#pragma once

#include <cstdint>

namespace rk {

enum TypeCode : uint8_t {
  kTypeNone = 0,
  kByte = 1,        // unsigned 0..255
  kShort = 2,       // signed 16-bit, little-endian
  kUShort = 3,      // unsigned 16-bit
  kDate = 4,        // packed: day, month, year (16-bit); all zero = no date
  kTime = 5,        // packed: hundredths, seconds, minutes, hours; all zero = no time
  kLong = 6,        // signed 32-bit
  kULong = 7,       // unsigned 32-bit
  kSReal = 8,       // IEEE single
  kReal = 9,        // IEEE double
  kDecimal = 10,    // packed BCD, sign in the high nibble of byte 0
  kPDecimal = 11,   // packed BCD, sign in the low nibble of the last byte
  kMbf4 = 13,       // Microsoft Binary Format single
  kMbf8 = 14,       // Microsoft Binary Format double
  kString = 18,     // fixed length, space padded
  kCString = 19,    // NUL terminated inside its n bytes
  kPString = 20,    // length byte, then the text
  kTextArea = 21,   // fixed text area, handled like kString
  kGroup = 22,      // a structure of members
  kDimension = 23,  // array prefix: count, then the element descriptor
  kMember = 24,     // inside a group: a placed, named member
};

// Storage size of a simple type; 0 for every type whose size the descriptor gives.
constexpr int SimpleTypeSize(uint8_t code) {
  switch (code) {
    case kByte:
      return 1;
    case kShort:
    case kUShort:
      return 2;
    case kDate:
    case kTime:
    case kLong:
    case kULong:
    case kSReal:
    case kMbf4:
      return 4;
    case kReal:
    case kMbf8:
      return 8;
    default:
      return 0;
  }
}

constexpr bool IsIntegerType(uint8_t code) {
  return code >= kByte && code <= kLong;
}
constexpr bool IsRealType(uint8_t code) {
  return code == kSReal || code == kReal || code == kMbf4 || code == kMbf8;
}
constexpr bool IsExactDecimalType(uint8_t code) {
  return code == kULong || code == kDecimal || code == kPDecimal;
}
constexpr bool IsTextType(uint8_t code) {
  return code == kString || code == kCString || code == kPString || code == kTextArea;
}

}  // namespace rk
