// A field's value inside a record, and the comparison of one field's values in
// two records of the same layout: numbers by their value, texts through the
// collating sequence with trailing spaces ignored.
#pragma once

#include <cstdint>

#include "runtime/core/value_ref.h"
#include "runtime/files/field_list.h"

namespace rk {

// A reference to the field's value inside a record.
ValueRef FieldValueRef(const FieldInfo& field, uint8_t* record);

// -1, 0 or 1 as a's value of the field is below, equal to or above b's.
int CompareFieldValues(const FieldInfo& field, const uint8_t* a, const uint8_t* b);

}  // namespace rk
