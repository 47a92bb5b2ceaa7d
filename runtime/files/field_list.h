// A record's field list: the type descriptor of its record buffer, written and
// read in the descriptor byte language. Layout (numbers little-endian):
//
//   0x16                                  GROUP: the record
//   member*                               one per field
//   0x00                                  end of the group
//
//   member := 0x18 offset:u32 name:NUL-terminated descriptor   placed, named member
//           | descriptor                  bare member, placed after the previous one
//   descriptor := 0x17 count:u32 descriptor                    array (counts multiply)
//           | 1..9 | 13 | 14                                    simple type
//           | 10 | 11, size:u8, places:u8                       packed decimal
//           | 18 | 19 | 20, length:u32, picture:NUL-terminated  texts
//           | 21, length:u32                                    fixed text area
//           | 0x16 member* 0x00                                 nested group
//
// Fields are numbered from 1 in list order; a nested group is one field (its raw
// bytes), its own members are not numbered.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rk {

struct FieldInfo {
  int32_t number = 0;  // from 1
  std::string name;    // "HTA:TITLE"
  uint32_t offset = 0;
  uint8_t type = 0;     // TypeCode
  uint32_t size = 0;    // bytes of one element
  uint8_t places = 0;   // DECIMAL and PDECIMAL
  uint32_t count = 1;   // elements; more than 1 for an array
  std::string picture;  // the picture text of a text field, usually empty

  uint32_t end() const { return offset + size * count; }
};

// One field as an application declares it, for EncodeFieldList.
struct FieldSpec {
  const char* name;
  uint32_t offset;
  uint8_t type;
  uint32_t size = 0;  // texts, decimals and groups; simple types take their own size
  uint8_t places = 0;
  uint32_t count = 1;
  const char* picture = nullptr;  // texts: the picture text, none when null
};

std::vector<uint8_t> EncodeFieldList(std::span<const FieldSpec> fields);

// Reads a record's field list. Returns 0, or 75 "Invalid Field Type Descriptor" when the list does
// not begin with GROUP, is malformed (including running past its length) or has a field of no
// bytes.
int32_t ParseFieldList(std::span<const uint8_t> list, std::vector<FieldInfo>& fields);

}  // namespace rk
