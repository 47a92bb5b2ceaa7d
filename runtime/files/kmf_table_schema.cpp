#include "runtime/files/kmf_table_schema.h"

namespace rk::kmf {

std::optional<KeyLayout> KeyLayoutFor(const TableDefinition& definition, const KeyDefinition& key,
                                      bool oem) {
  KeyLayout layout;
  layout.noCase = (key.flags & kKeyNoCase) != 0;
  layout.oem = oem;
  for (const KeyComponentDefinition& component : key.components) {
    if (component.field >= definition.fields.size()) return std::nullopt;
    const FieldDefinition& field = definition.fields[component.field];
    if (static_cast<uint32_t>(field.offset) + field.totalLength > definition.recordLength) {
      return std::nullopt;
    }
    layout.components.push_back(
        {field.type, field.offset, field.totalLength, component.descending == 1});
  }
  return layout;
}

size_t LongestKeyEntry(const KeyLayout& layout) {
  return 4 + 1 + KeyValueLength(layout) + 4;
}

size_t LongestDataRecord(const TableDefinition& definition) {
  return 4 + 1 + 4 + definition.recordLength;
}

}  // namespace rk::kmf
