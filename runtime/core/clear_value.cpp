#include "runtime/core/clear_value.h"

#include <cstring>
#include <limits>

#include "runtime/core/type_codes.h"
#include "runtime/core/type_descriptor.h"

namespace rk {
namespace {

template <typename T>
void Store(uint8_t* at, T value) {
  std::memcpy(at, &value, sizeof value);
}

void StoreBits64(uint8_t* at, uint64_t bits) {
  std::memcpy(at, &bits, 8);
}

void ClearDecimal(uint8_t* at, uint32_t size, int mode) {
  if (size == 0) return;
  std::memset(at, mode == kClearBlank ? 0x00 : 0x99, size);
  if (mode == kClearLow) at[0] &= 0x8F;   // sign 8, digits all 9
  if (mode == kClearHigh) at[0] &= 0x0F;  // positive, digits all 9
}

void ClearPackedDecimal(uint8_t* at, uint32_t size, int mode) {
  if (size == 0) return;
  std::memset(at, mode == kClearBlank ? 0x00 : 0x99, size);
  at[size - 1] |= mode == kClearLow ? 0x0D : 0x0F;
}

void ClearText(uint8_t* at, const DescriptorItem& item, int mode) {
  uint32_t size = item.size;
  if (size == 0) return;
  switch (item.code) {
    case kCString:
      if (mode == kClearHigh) std::memset(at, 0xFF, size - 1);
      at[mode == kClearHigh ? size - 1 : 0] = 0;
      break;
    case kPString:
      if (mode == kClearBlank) {
        at[0] = 0;
      } else {
        uint32_t length = std::min<uint32_t>(size - 1, 255);
        at[0] = static_cast<uint8_t>(length);
        std::memset(at + 1, mode == kClearLow ? 0x00 : 0xFF, length);
      }
      break;
    default:  // STRING, fixed text area
      std::memset(at, mode == kClearLow ? 0x00 : mode == kClearHigh ? 0xFF : ' ', size);
      break;
  }
}

void ClearMbf(uint8_t* at, int size, int mode) {
  std::memset(at, mode == kClearBlank ? 0x00 : 0xFF, size);
  if (mode == kClearHigh) at[size - 2] &= 0x7F;  // sign bit cleared
}

// One element of a simple or text type.
void ClearElement(uint8_t* at, const DescriptorItem& item, int mode) {
  bool low = mode == kClearLow;
  bool high = mode == kClearHigh;
  switch (item.code) {
    case kByte:
      Store<uint8_t>(at, high ? 255 : 0);
      break;
    case kShort:
      Store<int16_t>(at, low ? INT16_MIN : high ? INT16_MAX : 0);
      break;
    case kUShort:
      Store<uint16_t>(at, high ? 65535 : 0);
      break;
    case kDate:
    case kTime:
    case kULong:
      Store<uint32_t>(at, high ? 0xFFFFFFFFu : 0);
      break;
    case kLong:
      Store<int32_t>(at, low ? INT32_MIN : high ? INT32_MAX : 0);
      break;
    case kSReal: {
      constexpr float kMax = std::numeric_limits<float>::max();
      Store<float>(at, low ? -kMax : high ? kMax : 0.0f);
      break;
    }
    case kReal:
      // Slightly below the largest double, as the bounds have always been.
      StoreBits64(at, low ? 0xFFEFFFFFFFFFFFE3ull : high ? 0x7FEFFFFFFFFFFFE3ull : 0);
      break;
    case kMbf4:
      ClearMbf(at, 4, mode);
      break;
    case kMbf8:
      ClearMbf(at, 8, mode);
      break;
    case kDecimal:
      ClearDecimal(at, item.size, mode);
      break;
    case kPDecimal:
      ClearPackedDecimal(at, item.size, mode);
      break;
    default:
      ClearText(at, item, mode);
      break;
  }
}

// Clears the first element, then copies it over the remaining ones.
void ClearItem(uint8_t* at, const DescriptorItem& item, int mode) {
  if (item.code == kGroup) {
    DescriptorItem single = item;
    single.count = 1;
    ForEachMember(single, [&](const DescriptorItem& member, uint32_t offset) {
      ClearItem(at + offset, member, mode);
    });
  } else {
    ClearElement(at, item, mode);
  }
  for (uint32_t i = 1; i < item.count; ++i)
    std::memcpy(at + uint64_t{i} * item.size, at, item.size);
}

}  // namespace

uint32_t ClearValue(void* address, std::span<const uint8_t> descriptor, int mode) {
  mode = (mode > 0) - (mode < 0);
  DescriptorReader reader(descriptor);
  DescriptorItem item;
  if (!reader.Next(item)) return 0;
  ClearItem(static_cast<uint8_t*>(address), item, mode);
  return static_cast<uint32_t>(item.TotalSize());
}

}  // namespace rk
