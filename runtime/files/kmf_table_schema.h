// What a table's stored definition means for its records: the key layouts that
// build key values from a record buffer.
#pragma once

#include <optional>

#include "runtime/files/kmf_definition.h"
#include "runtime/files/kmf_key_value.h"

namespace rk::kmf {

// The layout of a key, or nothing when a component names a field outside the
// record.
std::optional<KeyLayout> KeyLayoutFor(const TableDefinition& definition, const KeyDefinition& key,
                                      bool oem);

inline bool KeyMaintained(const KeyDefinition& key) {
  return (key.flags & (kKeyDynamic | kKeyDynamicNoComponents)) == 0;
}

// Length of the longest key entry of a key (table, key number, value, record
// number) and of a data record, so that a declaration that could not be stored is
// refused before anything is written.
size_t LongestKeyEntry(const KeyLayout& layout);
size_t LongestDataRecord(const TableDefinition& definition);

}  // namespace rk::kmf

namespace rk::kmf {

// The stored definition against a declaration: types, offsets, lengths, memo and
// key declarations equal, names equal through the collating weights.
bool SameDeclaration(const TableDefinition& stored, const TableDefinition& declared);

}  // namespace rk::kmf
