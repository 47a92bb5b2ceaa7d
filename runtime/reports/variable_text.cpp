#include "runtime/reports/variable_text.h"

#include "runtime/core/picture.h"
#include "runtime/core/picture_format.h"
#include "runtime/core/type_codes.h"
#include "runtime/core/value_ref.h"
#include "runtime/core/value_stack.h"

namespace rk {

namespace {

bool Bound(const DataDescriptor& use) {
  return use.binding.kind == BindingKind::kVariable && use.binding.address != nullptr;
}

}  // namespace

std::string FormattedVariable(const DataDescriptor& use, const std::string& picture) {
  if (!Bound(use)) return {};
  ValueRef ref = MakeValueRef(use.type, use.size, use.places, use.binding.address);
  std::string value;
  if (IsTextType(ref.Type())) {
    value = RefText(ref);
  } else {
    PushRef(ref);
    value = Values().PopString();
  }
  if (picture.empty()) return value;
  // A memo shown through a string picture wider than a picture can be (the
  // application's "s1000") prints its text as it is.
  CompiledPicture compiled;
  if (CompilePicture(picture, compiled) == 0) return value;
  return FormatText(value, compiled);
}

std::string VariableBytes(const DataDescriptor& use) {
  if (!Bound(use) || use.size <= 0) return {};
  return std::string(static_cast<const char*>(use.binding.address), static_cast<size_t>(use.size));
}

}  // namespace rk
