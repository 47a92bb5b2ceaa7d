// Definitions built in memory for the definition tests: one that uses every record
// kind and field the format stores.
#pragma once

#include "runtime/windows/definition_tree.h"

namespace rk::testing {

// A form window (sheet, tabs, option, lists, every control kind, nested menus,
// value list) and a report (paper, page header and footer, a break with group
// header, detail bands), under the tag "TEST.qvw$sample".
Definition RichDefinition();

DataDescriptor Descriptor(uint8_t type, int32_t size, int32_t places = 0);

}  // namespace rk::testing
