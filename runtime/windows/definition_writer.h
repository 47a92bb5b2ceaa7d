// Stores a definition tree in the binary definition format (layout in
// definition_layout.h). Used by the definition compiler at build time and by
// anything that builds a definition in memory.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/windows/definition_tree.h"

namespace rk {

// The blob: the bytes that are loaded at buffer offset 2.
std::vector<uint8_t> WriteDefinitionBlob(const std::vector<StructureRecord>& structures);

// The whole resource: the tag, a NUL, then the blob.
std::vector<uint8_t> WriteDefinitionResource(const Definition& definition);

}  // namespace rk
