// Binds a definition's descriptors to the procedure's variables: the procedure
// passes a zero-terminated list of addresses, taken one per descriptor in binding
// order (binding_order.h).
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/core/runtime_error_codes.h"
#include "runtime/windows/definition_tree.h"

namespace rk {

inline constexpr std::string_view kContextDialog = "WSLDIAL";
inline constexpr std::string_view kContextControlUse = "CTLUSE";

struct BindingOutcome {
  int32_t error = 0;         // 0, or 501
  std::string_view context;  // "WSLDIAL": list exhausted; "CTLUSE": an array descriptor
  bool ok() const { return error == 0; }
};

// Fills each descriptor's binding: type 25 a row queue, type 24 a member binding,
// any other type but 23 a plain variable. Type 23 (an array) cannot be bound.
// Addresses left over after the last descriptor are ignored.
BindingOutcome BindVariables(StructureRecord& structure, void* const* addresses);

}  // namespace rk
