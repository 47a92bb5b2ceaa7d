// Key values: the bytes of a record's key components, transformed so that they
// sort as unsigned bytes in the order of the values.
//
// Each component is as long as its field, most significant first:
//   STRING   the bytes; NOCASE upper-cases them; then the collating weights
//            (for files with the OEM attribute: converted to OEM, then the
//            OEM table)
//   CSTRING  the text up to its terminator, space padded, then as STRING
//   PSTRING  the text (length from its first byte) zero padded, then as STRING
//   USHORT, ULONG  bytes reversed
//   SHORT, LONG    bytes reversed, first byte XOR 0x80
//   SREAL, REAL    bytes reversed; negative: every byte inverted, else sign bit set
//   DECIMAL  sign nibble not 0: nibble cleared and every byte inverted; then the
//            first byte XOR 0x80
//   others   unchanged
// A descending component has every byte of its encoding inverted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rk::kmf {

struct KeyComponent {
  uint8_t type = 0;
  uint32_t offset = 0;  // in the record buffer
  uint32_t length = 0;  // the field's length
  bool descending = false;
};

struct KeyLayout {
  std::vector<KeyComponent> components;
  bool noCase = false;
  bool oem = false;
};

std::string EncodeKeyValue(const KeyLayout& layout, const uint8_t* record);
size_t KeyValueLength(const KeyLayout& layout);
// True when every component is empty: a STRING all spaces, a CSTRING or PSTRING
// whose first byte is 0, any other field all zero bytes. An OPT key then gets no
// entry.
bool KeyFieldsEmpty(const KeyLayout& layout, const uint8_t* record);

}  // namespace rk::kmf
