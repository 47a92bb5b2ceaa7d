// The order in which a key sorts its leading components, for the view engine's
// join matches and range limits: each component's value is encoded as the key
// stores it (bytes that compare as the key orders), and each component can be
// filled with the lowest or highest value the key can hold, so that SET(key,
// key) positions before or after every entry with the same leading components.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/files/field_list.h"
#include "runtime/files/file_descriptor.h"
#include "runtime/files/kmf_key_value.h"

namespace rk {

class KeyOrder {
 public:
  KeyOrder() = default;
  // The first `count` components of `key` (all when count exceeds them) over the
  // fields of the key's file.
  KeyOrder(const KeyDescriptor& key, const std::vector<FieldInfo>& fields, size_t count);

  size_t size() const { return fields_.size(); }
  const FieldInfo& field(size_t index) const { return fields_[index]; }
  bool descending(size_t index) const { return layouts_[index].components[0].descending; }
  bool noCase() const { return noCase_; }

  // Component `index` of `record` as the key compares it.
  std::string Encode(size_t index, const uint8_t* record) const;
  // Components 0..count-1 of `record`, one after the other.
  std::string EncodePrefix(size_t count, const uint8_t* record) const;
  // Fills component `index` of `record` with the value that sorts first (or last)
  // in the key.
  void FillExtreme(size_t index, uint8_t* record, bool last) const;

 private:
  void FillText(size_t index, uint8_t* at, bool highest) const;
  void FindExtremeCharacters(bool oem);

  std::vector<FieldInfo> fields_;
  std::vector<kmf::KeyLayout> layouts_;  // one component each
  bool noCase_ = false;
  // The characters the key weighs lowest and highest: [0] among all, [1] among
  // all but the terminator of a CSTRING.
  uint8_t lowest_[2] = {0, 1};
  uint8_t highest_[2] = {255, 255};
};

// True when the component ignores case: a text field of a NOCASE key.
bool ComponentIgnoresCase(const KeyDescriptor& key, const FieldInfo& field);

}  // namespace rk
