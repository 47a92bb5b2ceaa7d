// Evaluation of an expression tree as a 32-bit integer, a double or a text on the
// value stack. Arithmetic is done in doubles; an integer taken from a real is
// truncated toward zero; texts used as numbers go through TextToReal.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/core/expr_tree.h"

namespace rk {

// The entry points for callers. Each first checks that the value stack has room
// for the deepest part of the tree; without it the error state is set (800) and
// the result is 0 or the empty text.
int32_t EvaluateAsLong(const ExprNode& tree);
double EvaluateAsReal(const ExprNode& tree);
std::string EvaluateAsText(const ExprNode& tree);
// The truth value: a number that is not zero, a text that is not blank.
bool EvaluateAsTruth(const ExprNode& tree);

// Value stack slots the tree may hold at once while it is evaluated, computed
// and stored in every node by ComputeStackNeeds.
void ComputeStackNeeds(ExprNode& tree);

// The node-level requests, for the built-ins and the filter analysis; they do
// not check the value stack's room.
int32_t LongValue(const ExprNode& node);
double RealValue(const ExprNode& node);
void PushValue(const ExprNode& node);
bool TruthValue(const ExprNode& node);
// Sign of left compared with right under the comparison rule: texts by
// collating weight with trailing spaces ignored, anything else as doubles that
// count as equal when approximately equal.
int CompareOperands(const ExprNode& left, const ExprNode& right);

// Truncation toward zero into 32 bits; NaN gives 0 and values beyond the range
// the nearest end of it.
int32_t TruncateToLong(double x);

}  // namespace rk
