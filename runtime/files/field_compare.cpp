#include "runtime/files/field_compare.h"

#include "runtime/core/type_codes.h"
#include "runtime/core/value_ref.h"

namespace rk {

ValueRef FieldValueRef(const FieldInfo& field, uint8_t* record) {
  // A nested group or a text area is compared as the text of its bytes.
  uint8_t type = field.type == kGroup || field.type == kTextArea ? uint8_t{kString} : field.type;
  return MakeValueRef(type, static_cast<int32_t>(field.size), field.places, record + field.offset);
}

int CompareFieldValues(const FieldInfo& field, const uint8_t* a, const uint8_t* b) {
  return CompareRefs(FieldValueRef(field, const_cast<uint8_t*>(a)),
                     FieldValueRef(field, const_cast<uint8_t*>(b)));
}

}  // namespace rk
