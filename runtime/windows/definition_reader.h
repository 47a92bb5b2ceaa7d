// Reads a stored definition (layout in definition_layout.h) into a definition tree.
// Every offset, length and kind code is checked against the buffer: a damaged
// definition gives an error text naming the problem and its offset, never a read
// outside the buffer.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/windows/definition_tree.h"

namespace rk {

// Splits a resource into its tag and a definition buffer: two zero bytes, then the
// blob. Returns false, with an error text, when the resource has no NUL-terminated
// tag.
bool SplitDefinitionResource(std::span<const uint8_t> resource, std::string& tag,
                             std::vector<uint8_t>& buffer, std::string& error);

// The offset of the top-level record labelled `label` (exact comparison), or 0 when
// no record has that label. Returns nothing, with an error text, when the chain of
// top-level records is damaged.
std::optional<int32_t> FindStructureOffset(std::span<const uint8_t> buffer, std::string_view label,
                                           std::string& error);

// The WINDOW or REPORT record at `offset` with everything below it.
std::optional<StructureRecord> ReadStructure(std::span<const uint8_t> buffer, int32_t offset,
                                             std::string& error);

// Every top-level record of a buffer, in chain order.
std::optional<std::vector<StructureRecord>> ReadStructures(std::span<const uint8_t> buffer,
                                                           std::string& error);

// A whole resource: tag and structures.
std::optional<Definition> ReadDefinitionResource(std::span<const uint8_t> resource,
                                                 std::string& error);

}  // namespace rk
