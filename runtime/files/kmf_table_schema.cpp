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

#include "runtime/core/collation.h"

namespace rk::kmf {
namespace {

bool SameText(const OptionalText& a, const OptionalText& b) {
  if (a.has_value() != b.has_value()) return false;
  if (!a) return true;
  return a->size() == b->size() && CompareCollated(a->c_str(), b->c_str()) == 0;
}

bool SameField(const FieldDefinition& a, const FieldDefinition& b) {
  return a.type == b.type && a.offset == b.offset && SameText(a.name, b.name) &&
         a.elements == b.elements && a.totalLength == b.totalLength && a.index == b.index &&
         a.decimalPlaces == b.decimalPlaces && a.decimalSize == b.decimalSize &&
         a.declaredLength == b.declaredLength;
}

bool SameMemo(const MemoDefinition& a, const MemoDefinition& b) {
  return SameText(a.externalName, b.externalName) && SameText(a.label, b.label) &&
         a.size == b.size && (a.flags & kMemoBlob) == (b.flags & kMemoBlob);
}

bool SameKey(const KeyDefinition& a, const KeyDefinition& b) {
  return SameText(a.label, b.label) && a.flags == b.flags && a.components == b.components;
}

template <typename T, typename Same>
bool SameList(const std::vector<T>& a, const std::vector<T>& b, Same same) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!same(a[i], b[i])) return false;
  }
  return true;
}

}  // namespace

bool SameDeclaration(const TableDefinition& stored, const TableDefinition& declared) {
  return stored.recordLength == declared.recordLength &&
         SameList(stored.fields, declared.fields, SameField) &&
         SameList(stored.memos, declared.memos, SameMemo) &&
         SameList(stored.keys, declared.keys, SameKey);
}

}  // namespace rk::kmf
