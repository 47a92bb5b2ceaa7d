// Layout: see field_list.h.
#include "runtime/files/field_list.h"

#include <optional>

#include "runtime/core/type_codes.h"

namespace rk {
namespace {

constexpr int32_t kInvalidDescriptor = 75;

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void EncodeType(std::vector<uint8_t>& out, const FieldSpec& field) {
  out.push_back(field.type);
  switch (field.type) {
    case kDecimal:
    case kPDecimal:
      out.push_back(static_cast<uint8_t>(field.size));
      out.push_back(field.places);
      break;
    case kString:
    case kCString:
    case kPString:
      PutU32(out, field.size);
      out.push_back(0);  // no picture
      break;
    case kTextArea:
      PutU32(out, field.size);
      break;
    default:
      break;
  }
}

// Walks a descriptor with bounds checks; every read fails cleanly at the end.
class Cursor {
 public:
  explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  std::optional<uint8_t> Byte() {
    if (at_ >= bytes_.size()) return std::nullopt;
    return bytes_[at_++];
  }
  std::optional<uint32_t> U32() {
    if (bytes_.size() - at_ < 4) return std::nullopt;
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= uint32_t{bytes_[at_ + i]} << (8 * i);
    at_ += 4;
    return value;
  }
  std::optional<std::string> Text() {
    std::string text;
    while (auto byte = Byte()) {
      if (*byte == 0) return text;
      text.push_back(static_cast<char>(*byte));
    }
    return std::nullopt;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};

bool ParseMembers(Cursor& cursor, std::vector<FieldInfo>* fields, uint32_t& extent);

// Reads the rest of a descriptor whose first code has been read: type, size,
// places and element count.
bool ParseDescriptor(Cursor& cursor, uint8_t code, FieldInfo& field) {
  field.type = code;
  if (SimpleTypeSize(code) != 0) {
    field.size = static_cast<uint32_t>(SimpleTypeSize(code));
    return true;
  }
  switch (code) {
    case kDimension: {
      auto count = cursor.U32();
      if (!count || *count == 0 || field.count > UINT32_MAX / *count) return false;
      field.count *= *count;
      auto element = cursor.Byte();
      return element && ParseDescriptor(cursor, *element, field);
    }
    case kDecimal:
    case kPDecimal: {
      auto size = cursor.Byte();
      auto places = cursor.Byte();
      if (!size || !places || *size == 0) return false;
      field.size = *size;
      field.places = *places;
      return true;
    }
    case kString:
    case kCString:
    case kPString: {
      auto length = cursor.U32();
      auto picture = length ? cursor.Text() : std::nullopt;
      if (!picture) return false;
      field.size = *length;
      field.picture = std::move(*picture);
      return true;
    }
    case kTextArea: {
      auto length = cursor.U32();
      if (!length) return false;
      field.size = *length;
      return true;
    }
    case kGroup:
      return ParseMembers(cursor, nullptr, field.size);
    default:
      return false;
  }
}

// Reads the members of a group whose opening code has been read, up to and
// including the closing 0. The group's extent is the largest member end.
bool ParseMembers(Cursor& cursor, std::vector<FieldInfo>* fields, uint32_t& extent) {
  uint64_t nextOffset = 0;
  uint64_t largestEnd = 0;
  for (;;) {
    auto code = cursor.Byte();
    if (!code) return false;
    if (*code == 0) break;
    FieldInfo field;
    field.offset = static_cast<uint32_t>(nextOffset);
    if (*code == kMember) {
      auto offset = cursor.U32();
      auto name = offset ? cursor.Text() : std::nullopt;
      code = name ? cursor.Byte() : std::nullopt;
      if (!code) return false;
      field.offset = *offset;
      field.name = std::move(*name);
    }
    if (!ParseDescriptor(cursor, *code, field)) return false;
    uint64_t end = uint64_t{field.offset} + uint64_t{field.size} * field.count;
    if (end > UINT32_MAX) return false;
    nextOffset = end;
    if (end > largestEnd) largestEnd = end;
    if (fields) {
      field.number = static_cast<int32_t>(fields->size()) + 1;
      fields->push_back(std::move(field));
    }
  }
  extent = static_cast<uint32_t>(largestEnd);
  return true;
}

}  // namespace

std::vector<uint8_t> EncodeFieldList(std::span<const FieldSpec> fields) {
  std::vector<uint8_t> out{kGroup};
  for (const FieldSpec& field : fields) {
    out.push_back(kMember);
    PutU32(out, field.offset);
    for (const char* c = field.name; *c; ++c) out.push_back(static_cast<uint8_t>(*c));
    out.push_back(0);
    if (field.count > 1) {
      out.push_back(kDimension);
      PutU32(out, field.count);
    }
    EncodeType(out, field);
  }
  out.push_back(0);
  return out;
}

int32_t ParseFieldList(std::span<const uint8_t> list, std::vector<FieldInfo>& fields) {
  fields.clear();
  Cursor cursor(list);
  uint32_t extent = 0;
  if (cursor.Byte() != kGroup || !ParseMembers(cursor, &fields, extent)) {
    fields.clear();
    return kInvalidDescriptor;
  }
  return 0;
}

}  // namespace rk
