// The order in which a definition's data descriptors take the procedure's variable
// addresses: chain order; a record's own descriptor before its children; a
// container's children before its next sibling; a LIST's USE before its FROM. A
// FROM takes an address only when it is a row queue (type 25); a FROM of constant
// choices takes none. The report's preview-queue descriptor is not positional.
#pragma once

#include <type_traits>
#include <vector>

#include "runtime/windows/definition_tree.h"

namespace rk {

inline constexpr uint8_t kQueueDescriptorType = 25;

enum class BindingRole { kUse, kFrom, kBreak };

namespace binding_order_detail {

// ControlList and BandList are std::vector of records, const or not.
template <typename ControlList, typename Visit>
void Controls(ControlList& controls, Visit& visit) {
  for (auto& control : controls) {
    if (control.use) visit(*control.use, &control, BindingRole::kUse);
    if (control.from && control.from->type == kQueueDescriptorType) {
      visit(*control.from, &control, BindingRole::kFrom);
    }
    Controls(control.children, visit);
  }
}

template <typename BandList, typename Visit>
void Bands(BandList& bands, Visit& visit) {
  for (auto& band : bands) {
    using ControlPointer = decltype(&band.controls[0]);
    if (band.use) visit(*band.use, ControlPointer{nullptr}, BindingRole::kBreak);
    Controls(band.controls, visit);
    Bands(band.bands, visit);
  }
}

}  // namespace binding_order_detail

// Calls visit(descriptor, owning control or nullptr for a BREAK, role) for every
// descriptor that takes an address, in binding order. Works on const and mutable
// structures alike.
template <typename Structure, typename Visit>
requires std::is_same_v<std::remove_const_t<Structure>, StructureRecord>
void ForEachBoundDescriptor(Structure& structure, Visit visit) {
  binding_order_detail::Controls(structure.controls, visit);
  binding_order_detail::Bands(structure.bands, visit);
}

}  // namespace rk
