// The tree that an expression text is parsed into. Every node can give its value
// as text on the value stack, as a 32-bit integer or as a double (see
// expr_evaluation.h); the filter analysis (expr_filter.h) adds a key level to
// each node.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/core/expr_builtins.h"

namespace rk {

struct Symbol;

// Operator codes; a lower code binds tighter.
enum OperatorCode : uint8_t {
  kOpPower = 2,
  kOpMultiply = 3,
  kOpDivide = 4,
  kOpRemainder = 5,
  kOpNegate = 6,
  kOpAdd = 7,
  kOpSubtract = 8,
  kOpConcat = 9,
  kOpEqual = 10,
  kOpNotEqual = 11,
  kOpLess = 12,
  kOpGreater = 13,
  kOpLessEqual = 14,
  kOpGreaterEqual = 15,
  kOpNot = 16,
  kOpAnd = 17,
  kOpOr = 18,
  kOpXor = 19,
  kOpComma = 20,
  kOpSlice = 21,
};

constexpr bool IsComparison(uint8_t op) {
  return op >= kOpEqual && op <= kOpGreaterEqual;
}

enum class NodeKind : uint8_t {
  kInteger,    // integer
  kReal,       // real
  kText,       // text
  kPicture,    // text = the picture with its '@'
  kVariable,   // symbol
  kFunction,   // function, children = arguments
  kProcedure,  // symbol, children = arguments
  kUnary,      // op (kOpNegate or kOpNot), children[0]
  kBinary,     // op, children[0] left, children[1] right
  kSubscript,  // symbol, children[0] = the index (counted from 1)
  kSlice,      // symbol, children[0] = from, children[1] = to (counted from 1)
};

// A level not computed yet.
inline constexpr int kNoLevel = -1;

struct ExprNode {
  NodeKind kind = NodeKind::kInteger;
  ResultClass resultClass = ResultClass::kInteger;
  uint8_t op = 0;
  Builtin function = Builtin::kAbs;
  int32_t integer = 0;
  double real = 0;
  std::string text;
  // Variables and procedures keep their symbol alive, so a tree stays valid when
  // the names are unbound.
  std::shared_ptr<const Symbol> symbol;
  std::vector<std::unique_ptr<ExprNode>> children;
  // Value stack slots this subtree may hold at once while it is evaluated.
  int stackNeed = 0;
  // Leading key components needed to decide this node (filter analysis).
  int level = kNoLevel;
};

using ExprTree = std::unique_ptr<ExprNode>;

// True when the node's value is a text (texts and pictures), so that a
// comparison with another text compares collated texts rather than numbers.
bool IsTextNode(const ExprNode& node);

}  // namespace rk
