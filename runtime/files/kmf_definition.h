// The stored table definition: a byte stream cut into 512-byte definition records.
//
// Items: byte; 16-bit number (LE, low 16 bits of the value); text (its bytes and a
// terminating 0; empty = 0, 0; absent = 0, 1). In order:
//   version (16): 1, or 2 when a memo is a blob; 3 and up are refused
//   record length (16), field count (16), memo count (16), key count (16)
//   per field: type (byte), offset (16), name (text), elements (16), total length
//              (16), group flag (16), field index (16); DECIMAL: places (byte), size
//              (byte); STRING, CSTRING, PSTRING: declared length (16), picture (text)
//   per memo:  external name (text, absent when not declared), label (text),
//              size (16), flags (16; 4 = blob)
//   per key:   external name (text), label (text), flags (byte: 0x01 DUP, 0x02 OPT,
//              0x04 NOCASE, 0x08, 0x10 PRIMARY, 0x20 dynamic, 0x40 dynamic without
//              components), component count (16), per component: field index (16)
//              and direction (16, 1 = descending)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rk::kmf {

using OptionalText = std::optional<std::string>;

struct FieldDefinition {
  uint8_t type = 0;
  uint16_t offset = 0;
  OptionalText name;
  uint16_t elements = 1;
  uint16_t totalLength = 0;
  uint16_t groupFlag = 0;
  uint16_t index = 0;
  uint8_t decimalPlaces = 0;    // DECIMAL only
  uint8_t decimalSize = 0;      // DECIMAL only
  uint16_t declaredLength = 0;  // texts only
  OptionalText picture;         // texts only
  bool operator==(const FieldDefinition&) const = default;
};

struct MemoDefinition {
  OptionalText externalName;
  OptionalText label;
  uint16_t size = 0;
  uint16_t flags = 0;
  bool operator==(const MemoDefinition&) const = default;
};

inline constexpr uint8_t kKeyDup = 0x01;
inline constexpr uint8_t kKeyOpt = 0x02;
inline constexpr uint8_t kKeyNoCase = 0x04;
inline constexpr uint8_t kKeyPrimary = 0x10;
inline constexpr uint8_t kKeyDynamic = 0x20;
inline constexpr uint8_t kKeyDynamicNoComponents = 0x40;
inline constexpr uint16_t kMemoBlob = 4;

struct KeyComponentDefinition {
  uint16_t field = 0;
  uint16_t descending = 0;
  bool operator==(const KeyComponentDefinition&) const = default;
};

struct KeyDefinition {
  OptionalText externalName;
  OptionalText label;
  uint8_t flags = 0;
  std::vector<KeyComponentDefinition> components;
  bool operator==(const KeyDefinition&) const = default;
};

struct TableDefinition {
  uint16_t version = 1;
  uint16_t recordLength = 0;
  std::vector<FieldDefinition> fields;
  std::vector<MemoDefinition> memos;
  std::vector<KeyDefinition> keys;
  bool operator==(const TableDefinition&) const = default;
};

std::string EncodeDefinition(const TableDefinition& definition);
// False, with a short reason, when the stream ends early, the version is 3 or
// higher, or a field or key refers outside the declaration.
bool DecodeDefinition(std::string_view stream, TableDefinition& definition, std::string& problem);

}  // namespace rk::kmf
