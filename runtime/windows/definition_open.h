// What a procedure calls to get its window or report: look the definition up,
// read it into a tree and bind the procedure's variables to it. Failures are the
// runtime's internal errors: 502 "WSLDIAL" when the definition is not found or is
// damaged, 501 "WSLDIAL" when the variable list runs out, 501 "CTLUSE" for an
// array descriptor.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "runtime/windows/definition_tree.h"
#include "runtime/windows/variable_binding.h"

namespace rk {

struct DefinitionFailure {
  int32_t error = 0;    // 501 or 502
  std::string context;  // "WSLDIAL" or "CTLUSE", with the reason for a damaged definition
};

// The structure labelled `label` under `tag`, bound to `addresses` (zero-terminated
// list). On failure nothing, and `failure` says why.
std::optional<StructureRecord> LoadDefinition(std::string_view tag, std::string_view label,
                                              void* const* addresses, DefinitionFailure& failure);

// The same from a definition already in memory (a buffer with its two lead bytes),
// without searching any resource.
std::optional<StructureRecord> LoadDefinition(std::span<const uint8_t> buffer,
                                              std::string_view label, void* const* addresses,
                                              DefinitionFailure& failure);

// LoadDefinition that raises the failure as a runtime error (which ends the program).
StructureRecord OpenDefinition(std::string_view tag, std::string_view label,
                               void* const* addresses);

}  // namespace rk
