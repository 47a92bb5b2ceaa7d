#include "runtime/files/view_key_order.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/clear_value.h"
#include "runtime/core/type_codes.h"

namespace rk {
namespace {

// Types whose key encoding changes the bytes (numbers ordered by value); every
// other non-text type is ordered by its raw bytes.
bool OrderedByValue(uint8_t type) {
  switch (type) {
    case kShort:
    case kUShort:
    case kLong:
    case kULong:
    case kSReal:
    case kReal:
    case kDecimal:
      return true;
    default:
      return false;
  }
}

// The lowest or highest value of a number type, through the CLEAR bounds.
void FillNumber(const FieldInfo& field, uint8_t* at, bool highest) {
  uint8_t descriptor[3] = {field.type, static_cast<uint8_t>(field.size), field.places};
  ClearValue(at, descriptor, highest ? kClearHigh : kClearLow);
}

}  // namespace

bool ComponentIgnoresCase(const KeyDescriptor& key, const FieldInfo& field) {
  return (key.attributes & kKeyNoCase) != 0 && IsTextType(field.type);
}

KeyOrder::KeyOrder(const KeyDescriptor& key, const std::vector<FieldInfo>& fields, size_t count)
    : noCase_((key.attributes & kKeyNoCase) != 0) {
  bool oem = key.file && (key.file->attributes & kFileAttrOem);
  size_t n = std::min<size_t>(count, key.componentCount);
  for (size_t i = 0; i < n; ++i) {
    int32_t component = key.components[i];
    size_t number = static_cast<size_t>(component < 0 ? -component : component);
    if (number < 1 || number > fields.size()) break;
    const FieldInfo& field = fields[number - 1];
    fields_.push_back(field);
    kmf::KeyLayout layout;
    layout.components.push_back({field.type, field.offset, field.size, component < 0});
    layout.noCase = noCase_;
    layout.oem = oem;
    layouts_.push_back(std::move(layout));
  }
  FindExtremeCharacters(oem);
}

std::string KeyOrder::Encode(size_t index, const uint8_t* record) const {
  return kmf::EncodeKeyValue(layouts_[index], record);
}

std::string KeyOrder::EncodePrefix(size_t count, const uint8_t* record) const {
  std::string prefix;
  for (size_t i = 0; i < count && i < size(); ++i) prefix += Encode(i, record);
  return prefix;
}

void KeyOrder::FillExtreme(size_t index, uint8_t* record, bool last) const {
  const FieldInfo& field = fields_[index];
  // Whether the field's own highest value sorts last.
  bool highest = last != descending(index);
  uint8_t* at = record + field.offset;
  if (IsTextType(field.type) && field.type != kTextArea) {
    FillText(index, at, highest);
  } else if (OrderedByValue(field.type)) {
    FillNumber(field, at, highest);
  } else {
    std::memset(at, highest ? 0xFF : 0x00, field.size);
  }
}

void KeyOrder::FindExtremeCharacters(bool oem) {
  kmf::KeyLayout single;
  single.components.push_back({kString, 0, 1, false});
  single.noCase = noCase_;
  single.oem = oem;
  for (int set = 0; set < 2; ++set) {
    std::string low, high;
    for (int c = set; c < 256; ++c) {
      uint8_t byte = static_cast<uint8_t>(c);
      std::string weight = kmf::EncodeKeyValue(single, &byte);
      if (low.empty() || weight < low) low = weight, lowest_[set] = byte;
      if (high.empty() || weight > high) high = weight, highest_[set] = byte;
    }
  }
}

// A text is filled with the character that the key weighs lowest (highest);
// texts with a terminator or a length byte keep room for them, since their
// encoding pads after the text.
void KeyOrder::FillText(size_t index, uint8_t* at, bool highest) const {
  const FieldInfo& field = fields_[index];
  if (field.size == 0) return;
  // A terminated text cannot hold the terminator itself.
  int set = field.type == kCString ? 1 : 0;
  uint8_t fill = highest ? highest_[set] : lowest_[set];
  switch (field.type) {
    case kCString:
      std::memset(at, fill, field.size - 1);
      at[field.size - 1] = 0;
      break;
    case kPString: {
      uint32_t length = std::min<uint32_t>(field.size - 1, 255);
      at[0] = static_cast<uint8_t>(length);
      std::memset(at + 1, fill, length);
      break;
    }
    default:
      std::memset(at, fill, field.size);
      break;
  }
}

}  // namespace rk
