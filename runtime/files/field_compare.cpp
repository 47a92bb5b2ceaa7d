#include "runtime/files/field_compare.h"

#include <cstring>
#include <string_view>

#include "runtime/core/type_codes.h"
#include "runtime/core/value_stack.h"

namespace rk {
namespace {

template <typename T>
T Read(const uint8_t* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

template <typename T>
int Sign(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

std::string_view TextOf(const FieldInfo& field, const uint8_t* at) {
  const char* text = reinterpret_cast<const char*>(at);
  switch (field.type) {
    case kCString:
      return {text, strnlen(text, field.size)};
    case kPString:
      return {text + 1, std::min<size_t>(at[0], field.size > 0 ? field.size - 1 : 0)};
    default:
      return {text, field.size};
  }
}

// Packed decimal with the sign in the high nibble of the first byte: digits are
// compared as they stand, the magnitude order reversed for negatives.
int CompareDecimal(const FieldInfo& field, const uint8_t* a, const uint8_t* b) {
  auto negative = [](const uint8_t* at, uint32_t size) {
    bool nonZero = (at[0] & 0x0F) != 0;
    for (uint32_t i = 1; i < size && !nonZero; ++i) nonZero = at[i] != 0;
    return (at[0] >> 4) != 0 && nonZero;
  };
  bool negA = negative(a, field.size), negB = negative(b, field.size);
  if (negA != negB) return negA ? -1 : 1;
  int magnitude = Sign(a[0] & 0x0F, b[0] & 0x0F);
  for (uint32_t i = 1; i < field.size && magnitude == 0; ++i) magnitude = Sign(a[i], b[i]);
  return negA ? -magnitude : magnitude;
}

}  // namespace

int CompareFieldValues(const FieldInfo& field, const uint8_t* a, const uint8_t* b) {
  a += field.offset;
  b += field.offset;
  switch (field.type) {
    case kByte:
      return Sign(a[0], b[0]);
    case kShort:
      return Sign(Read<int16_t>(a), Read<int16_t>(b));
    case kUShort:
      return Sign(Read<uint16_t>(a), Read<uint16_t>(b));
    case kLong:
      return Sign(Read<int32_t>(a), Read<int32_t>(b));
    case kDate:  // packed so that the unsigned value orders chronologically
    case kTime:
    case kULong:
      return Sign(Read<uint32_t>(a), Read<uint32_t>(b));
    case kSReal:
      return Sign(Read<float>(a), Read<float>(b));
    case kReal:
      return Sign(Read<double>(a), Read<double>(b));
    case kDecimal:
      return CompareDecimal(field, a, b);
    case kString:
    case kCString:
    case kPString:
    case kTextArea:
    case kGroup: {
      int order = CompareSpacePadded(TextOf(field, a), TextOf(field, b));
      return Sign(order, 0);
    }
    default:
      return Sign(std::memcmp(a, b, field.size), 0);
  }
}

}  // namespace rk
