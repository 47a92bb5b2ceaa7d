// Layout: see field_list.h.
#include "runtime/files/field_list.h"

#include "runtime/core/type_codes.h"
#include "runtime/core/type_descriptor.h"
#include "runtime/files/error_codes.h"

namespace rk {
namespace {

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
      for (const char* c = field.picture; c && *c; ++c) out.push_back(static_cast<uint8_t>(*c));
      out.push_back(0);
      break;
    case kTextArea:
      PutU32(out, field.size);
      break;
    case kGroup:  // a group of one text area: its raw bytes
      out.push_back(kTextArea);
      PutU32(out, field.size);
      out.push_back(0);
      break;
    default:
      break;
  }
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
  DescriptorReader reader(list);
  DescriptorItem record;
  bool empty = false;
  if (!reader.Next(record) || record.code != kGroup) return file_error::kInvalidDescriptor;
  bool whole = ForEachMember(record, [&](const DescriptorItem& member, uint32_t offset) {
    if (member.size == 0 || member.count == 0) empty = true;  // a field of no bytes
    fields.push_back({.number = static_cast<int32_t>(fields.size()) + 1,
                      .name = std::string(member.name),
                      .offset = offset,
                      .type = member.code,
                      .size = member.size,
                      .places = member.places,
                      .count = member.count,
                      .picture = std::string(member.picture)});
  });
  if (!whole || empty) {
    fields.clear();
    return file_error::kInvalidDescriptor;
  }
  return 0;
}

}  // namespace rk
