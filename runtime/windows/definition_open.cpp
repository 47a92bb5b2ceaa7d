#include "runtime/windows/definition_open.h"

#include "runtime/core/halt.h"
#include "runtime/core/runtime_error_codes.h"
#include "runtime/windows/definition_lookup.h"
#include "runtime/windows/definition_reader.h"

namespace rk {
namespace {

std::optional<StructureRecord> NotFound(DefinitionFailure& failure, const std::string& problem) {
  failure.error = runtime_error_code::kInternalError02;
  failure.context = std::string(kContextDialog);
  if (!problem.empty()) failure.context += " (" + problem + ")";
  return std::nullopt;
}

std::optional<StructureRecord> ReadAndBind(std::span<const uint8_t> buffer, int32_t offset,
                                           void* const* addresses, DefinitionFailure& failure) {
  std::string problem;
  std::optional<StructureRecord> structure = ReadStructure(buffer, offset, problem);
  if (!structure) return NotFound(failure, problem);
  BindingOutcome outcome = BindVariables(*structure, addresses);
  if (!outcome.ok()) {
    failure.error = outcome.error;
    failure.context = std::string(outcome.context);
    return std::nullopt;
  }
  return structure;
}

}  // namespace

std::optional<StructureRecord> LoadDefinition(std::string_view tag, std::string_view label,
                                              void* const* addresses, DefinitionFailure& failure) {
  std::string problem;
  std::optional<FoundDefinition> found = FindDefinition(tag, label, &problem);
  if (!found) return NotFound(failure, problem);
  return ReadAndBind(found->buffer, found->offset, addresses, failure);
}

std::optional<StructureRecord> LoadDefinition(std::span<const uint8_t> buffer,
                                              std::string_view label, void* const* addresses,
                                              DefinitionFailure& failure) {
  std::string problem;
  std::optional<int32_t> offset = FindStructureOffset(buffer, label, problem);
  if (!offset || *offset == 0) return NotFound(failure, problem);
  return ReadAndBind(buffer, *offset, addresses, failure);
}

StructureRecord OpenDefinition(std::string_view tag, std::string_view label,
                               void* const* addresses) {
  DefinitionFailure failure;
  std::optional<StructureRecord> structure = LoadDefinition(tag, label, addresses, failure);
  if (!structure) RuntimeError(failure.error, failure.context);
  return std::move(*structure);
}

}  // namespace rk
