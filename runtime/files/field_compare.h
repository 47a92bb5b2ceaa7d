// Comparison of one field's values in two records of the same layout, by value:
// numbers by their value, texts through the collating sequence with trailing
// spaces ignored.
#pragma once

#include <cstdint>

#include "runtime/files/field_list.h"

namespace rk {

// -1, 0 or 1 as a's value of the field is below, equal to or above b's.
int CompareFieldValues(const FieldInfo& field, const uint8_t* a, const uint8_t* b);

}  // namespace rk
