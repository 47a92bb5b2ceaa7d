// Prints a definition tree as indented text: records with their kinds, control
// numbers, texts and positions, then the variables in binding order.
#pragma once

#include <string>

#include "runtime/windows/definition_tree.h"

namespace rk {

std::string DumpStructure(const StructureRecord& structure);

}  // namespace rk
