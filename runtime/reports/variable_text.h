// The text a bound variable shows: its value formatted through a picture, or
// plainly without one.
#pragma once

#include <string>

#include "runtime/windows/definition_tree.h"

namespace rk {

// Empty when the descriptor is not bound to a plain variable. A picture that
// does not compile shows the value plainly.
std::string FormattedVariable(const DataDescriptor& use, const std::string& picture);

// The bytes of a bound variable (a break variable's value as remembered).
std::string VariableBytes(const DataDescriptor& use);

}  // namespace rk
