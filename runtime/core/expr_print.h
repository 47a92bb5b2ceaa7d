// PrintTree: writes an expression tree back as text.
#pragma once

#include <string>

#include "runtime/core/expr_tree.h"

namespace rk {

// Operators are spelled " + ", " AND ", "NOT " and so on, arguments are separated
// by ", " and slices by " : ". Parentheses appear only where the text would
// otherwise parse into a different tree, so printing and parsing again gives the
// same tree.
std::string PrintTree(const ExprNode& tree);

}  // namespace rk
