#include "runtime/windows/variable_binding.h"

#include "runtime/core/runtime_error_codes.h"
#include "runtime/core/type_codes.h"
#include "runtime/windows/binding_order.h"

namespace rk {

BindingOutcome BindVariables(StructureRecord& structure, void* const* addresses) {
  BindingOutcome outcome;
  ForEachBoundDescriptor(structure, [&](DataDescriptor& descriptor, auto*, BindingRole) {
    if (!outcome.ok()) return;
    if (descriptor.type == kDimension) {
      outcome = {runtime_error_code::kInternalError01, kContextControlUse};
      return;
    }
    void* address = addresses ? *addresses : nullptr;
    if (!address) {
      outcome = {runtime_error_code::kInternalError01, kContextDialog};
      return;
    }
    ++addresses;
    BindingKind kind = descriptor.type == kQueueDescriptorType ? BindingKind::kQueue
                       : descriptor.type == kMember            ? BindingKind::kMember
                                                               : BindingKind::kVariable;
    descriptor.binding = {kind, address};
  });
  return outcome;
}

}  // namespace rk
