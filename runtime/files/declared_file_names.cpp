#include "runtime/files/declared_file_names.h"

#include "runtime/core/expr_symbols.h"
#include "runtime/core/value_ref.h"
#include "runtime/files/declared_file.h"

namespace rk {

void BindFileNames(DeclaredFile& file) {
  for (const FieldInfo& field : file.fields()) {
    Bind(field.name, MakeValueRef(field.type, static_cast<int32_t>(field.size), field.places,
                                  file.record() + field.offset));
  }
  for (int number = 1; number <= file.memoCount(); ++number) {
    MemoDescriptor& memo = file.memo(number);
    Bind(MemoLabel(memo), MakeValueRef(kString, static_cast<int32_t>(memo.size), 0, memo.buffer));
  }
}

}  // namespace rk
