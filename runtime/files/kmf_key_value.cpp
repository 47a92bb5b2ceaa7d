#include "runtime/files/kmf_key_value.h"

#include <algorithm>

#include "runtime/core/collation.h"
#include "runtime/core/type_codes.h"
#include "runtime/platform/code_page.h"

namespace rk::kmf {
namespace {

// The record buffer holds the application's (ANSI) text; an OEM file weighs
// its keys as the OEM text it stores, through the OEM table.
void MapText(uint8_t* bytes, size_t length, bool noCase, bool oem) {
  auto* text = reinterpret_cast<char*>(bytes);
  if (noCase) UpperBuffer(text, length);
  if (!oem) {
    MakeSortKey(text, length);
    return;
  }
  platform::AnsiToOemBuffer(text, length);
  for (size_t i = 0; i < length; ++i) bytes[i] = OemWeight(bytes[i]);
}

void InvertAll(uint8_t* p, size_t n) {
  for (size_t i = 0; i < n; ++i) p[i] = static_cast<uint8_t>(255 - p[i]);
}

void EncodeComponent(const KeyComponent& component, const KeyLayout& layout, const uint8_t* field,
                     uint8_t* out) {
  size_t n = component.length;
  switch (component.type) {
    case kString:
      std::copy(field, field + n, out);
      MapText(out, n, layout.noCase, layout.oem);
      break;
    case kCString: {
      size_t text = std::find(field, field + n, 0) - field;
      std::copy(field, field + text, out);
      std::fill(out + text, out + n, ' ');
      MapText(out, n, layout.noCase, layout.oem);
      break;
    }
    case kPString: {
      size_t text = n == 0 ? 0 : std::min<size_t>(field[0], n - 1);
      if (n > 0) std::copy(field + 1, field + 1 + text, out);
      std::fill(out + text, out + n, 0);
      MapText(out, n, layout.noCase, layout.oem);
      break;
    }
    case kUShort:
    case kULong:
      std::reverse_copy(field, field + n, out);
      break;
    case kShort:
    case kLong:
      std::reverse_copy(field, field + n, out);
      if (n > 0) out[0] ^= 0x80;
      break;
    case kSReal:
    case kReal:
      std::reverse_copy(field, field + n, out);
      if (n > 0 && (out[0] & 0x80)) {
        InvertAll(out, n);
      } else if (n > 0) {
        out[0] |= 0x80;
      }
      break;
    case kDecimal:
      std::copy(field, field + n, out);
      if (n > 0 && (out[0] & 0xF0) != 0) {
        out[0] &= 0x0F;
        InvertAll(out, n);
      }
      if (n > 0) out[0] ^= 0x80;
      break;
    default:
      std::copy(field, field + n, out);
      break;
  }
  if (component.descending) InvertAll(out, n);
}

bool ComponentEmpty(const KeyComponent& component, const uint8_t* field) {
  const uint8_t* end = field + component.length;
  switch (component.type) {
    case kString:
      return std::all_of(field, end, [](uint8_t b) { return b == ' '; });
    case kCString:
    case kPString:
      return component.length == 0 || field[0] == 0;
    default:
      return std::all_of(field, end, [](uint8_t b) { return b == 0; });
  }
}

}  // namespace

size_t KeyValueLength(const KeyLayout& layout) {
  size_t length = 0;
  for (const KeyComponent& component : layout.components) length += component.length;
  return length;
}

std::string EncodeKeyValue(const KeyLayout& layout, const uint8_t* record) {
  std::string value(KeyValueLength(layout), '\0');
  auto* out = reinterpret_cast<uint8_t*>(value.data());
  for (const KeyComponent& component : layout.components) {
    EncodeComponent(component, layout, record + component.offset, out);
    out += component.length;
  }
  return value;
}

bool KeyFieldsEmpty(const KeyLayout& layout, const uint8_t* record) {
  return std::all_of(
      layout.components.begin(), layout.components.end(),
      [record](const KeyComponent& c) { return ComponentEmpty(c, record + c.offset); });
}

}  // namespace rk::kmf
