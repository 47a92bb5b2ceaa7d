// The rows a list box shows: the entries of its FROM queue (fields numbered
// from 1, read by number from each entry's copy of the record) or the choices
// of a constant FROM text, separated by "|" (one field each).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/windows/definition_tree.h"

namespace rk {

struct QueueDescriptor;

class ListRows {
 public:
  explicit ListRows(const ControlRecord& record);

  int32_t Count() const;
  // The field's value as text (numbers in their plain text form); empty when
  // the row or the field does not exist.
  std::string FieldText(int32_t row, int32_t field) const;
  int32_t FieldNumber(int32_t row, int32_t field) const;
  // Moves on whenever the queue's entries change.
  uint32_t Changes() const;

 private:
  QueueDescriptor* queue_ = nullptr;
  std::vector<std::string> choices_;
};

}  // namespace rk
