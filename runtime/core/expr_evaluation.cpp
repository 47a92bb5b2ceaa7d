#include "runtime/core/expr_evaluation.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "runtime/core/error_state.h"
#include "runtime/core/expr_symbols.h"
#include "runtime/core/number_text.h"
#include "runtime/core/runtime_error_codes.h"
#include "runtime/core/value_ref.h"
#include "runtime/core/value_stack.h"

namespace rk {
namespace {

void DropTo(size_t depth) {
  ValueStack& stack = Values();
  while (stack.Depth() > depth) stack.Pop();
}

// Pushes the arguments as texts, the first on top, calls the procedure and
// leaves the stack at `depth`, plus the result slot for a text procedure. A
// procedure that pops too few or too many slots cannot unbalance its caller.
template <typename Answer>
Answer CallProcedure(const ExprNode& node, Answer (*readAnswer)(const ProcedureAddress&)) {
  ValueStack& stack = Values();
  size_t depth = stack.Depth();
  for (auto child = node.children.rbegin(); child != node.children.rend(); ++child) {
    PushValue(**child);
  }
  Answer answer = readAnswer(node.symbol->procedure);
  DropTo(depth);
  return answer;
}

int32_t LongAnswer(const ProcedureAddress& address) {
  return std::get<LongProcedure>(address)();
}
double RealAnswer(const ProcedureAddress& address) {
  return std::get<RealProcedure>(address)();
}

void PushProcedureText(const ExprNode& node) {
  ValueStack& stack = Values();
  size_t depth = stack.Depth();
  for (auto child = node.children.rbegin(); child != node.children.rend(); ++child) {
    PushValue(**child);
  }
  std::get<TextProcedure>(node.symbol->procedure)();
  // The procedure should leave exactly its result where its arguments were.
  if (stack.Depth() == depth + 1) return;
  std::string result = stack.Depth() > depth ? std::string(stack.Top()) : std::string();
  DropTo(depth);
  stack.PushCopy(result);
}

double ProcedureReal(const ExprNode& node) {
  switch (node.resultClass) {
    case ResultClass::kInteger:
      return CallProcedure(node, LongAnswer);
    case ResultClass::kReal:
      return CallProcedure(node, RealAnswer);
    default:
      PushProcedureText(node);
      return Values().PopAsReal();
  }
}

// The element of a dimensioned variable; an index outside 1..count gives none.
bool ElementOf(const ExprNode& node, ValueRef& element) {
  const ValueRef& array = node.symbol->ref;
  int32_t index = LongValue(*node.children[0]);
  if (index < 1 || static_cast<uint32_t>(index) > array.count || array.address == nullptr) {
    return false;
  }
  element = MakeValueRef(array.Type(), static_cast<int32_t>(array.Size()), array.Places(),
                         static_cast<char*>(array.address) + (index - 1) * array.Size());
  return true;
}

void PushSlice(const ExprNode& node) {
  int32_t from = LongValue(*node.children[0]);
  int32_t to = LongValue(*node.children[1]);
  ValueStack& stack = Values();
  PushRef(node.symbol->ref);
  std::string_view text = stack.Top();
  int64_t first = std::max<int64_t>(from, 1);
  int64_t last = std::min<int64_t>(to, static_cast<int64_t>(text.size()));
  std::string slice;
  if (first <= last) slice.assign(text.substr(first - 1, last - first + 1));
  stack.Pop();
  stack.PushCopy(slice);
}

double Arithmetic(uint8_t op, double left, double right) {
  switch (op) {
    case kOpPower:
      return std::pow(left, right);
    case kOpMultiply:
      return left * right;
    case kOpDivide:
      return left / right;
    case kOpRemainder:
      return std::fmod(left, right);
    case kOpAdd:
      return left + right;
    default:
      return left - right;
  }
}

bool ComparisonHolds(uint8_t op, int sign) {
  switch (op) {
    case kOpEqual:
      return sign == 0;
    case kOpNotEqual:
      return sign != 0;
    case kOpLess:
      return sign < 0;
    case kOpGreater:
      return sign > 0;
    case kOpLessEqual:
      return sign <= 0;
    default:
      return sign >= 0;
  }
}

// Comparisons and logical operators, which yield 1 or 0. AND, OR and XOR
// evaluate both operands.
bool LogicalValue(const ExprNode& node) {
  const ExprNode& left = *node.children[0];
  if (node.kind == NodeKind::kUnary) return !TruthValue(left);
  const ExprNode& right = *node.children[1];
  if (IsComparison(node.op)) return ComparisonHolds(node.op, CompareOperands(left, right));
  bool a = TruthValue(left);
  bool b = TruthValue(right);
  switch (node.op) {
    case kOpAnd:
      return a && b;
    case kOpOr:
      return a || b;
    default:
      return a != b;
  }
}

bool IsLogical(const ExprNode& node) {
  return (node.kind == NodeKind::kUnary && node.op == kOpNot) ||
         (node.kind == NodeKind::kBinary && node.op >= kOpEqual && node.op != kOpConcat);
}

double TextAsReal(const ExprNode& node) {
  PushValue(node);
  return Values().PopAsReal();
}

bool HasRoom(const ExprNode& tree) {
  if (Values().Depth() + static_cast<size_t>(tree.stackNeed) <= ValueStack::kSlots) return true;
  SetError(runtime_error_code::kInvalidExpression,
           MessageText(runtime_error_code::kInvalidExpression));
  return false;
}

int ChildrenNeed(const ExprNode& node, bool keepsEarlierArguments) {
  int need = 0;
  for (size_t i = 0; i < node.children.size(); ++i) {
    int held = keepsEarlierArguments ? static_cast<int>(i) : 0;
    need = std::max(need, held + node.children[i]->stackNeed);
  }
  return need;
}

}  // namespace

int32_t TruncateToLong(double x) {
  if (std::isnan(x)) return 0;
  double t = std::trunc(x);
  if (t <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  if (t >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(t);
}

int32_t LongValue(const ExprNode& node) {
  switch (node.kind) {
    case NodeKind::kInteger:
      return node.integer;
    case NodeKind::kVariable:
      if (node.resultClass == ResultClass::kInteger) return RefAsLong(node.symbol->ref);
      break;
    case NodeKind::kFunction:
      if (node.resultClass == ResultClass::kInteger) return CallBuiltinLong(node);
      break;
    case NodeKind::kProcedure:
      if (node.resultClass == ResultClass::kInteger) return CallProcedure(node, LongAnswer);
      break;
    default:
      if (IsLogical(node)) return LogicalValue(node) ? 1 : 0;
      break;
  }
  return TruncateToLong(RealValue(node));
}

double RealValue(const ExprNode& node) {
  switch (node.kind) {
    case NodeKind::kInteger:
      return node.integer;
    case NodeKind::kReal:
      return node.real;
    case NodeKind::kText:
    case NodeKind::kPicture:
      return TextToReal(node.text);
    case NodeKind::kVariable:
      return RefAsReal(node.symbol->ref);
    case NodeKind::kFunction:
      if (node.resultClass == ResultClass::kInteger) return CallBuiltinLong(node);
      if (node.resultClass == ResultClass::kReal) return CallBuiltinReal(node);
      return TextAsReal(node);
    case NodeKind::kProcedure:
      return ProcedureReal(node);
    case NodeKind::kSubscript: {
      ValueRef element;
      return ElementOf(node, element) ? RefAsReal(element) : 0;
    }
    case NodeKind::kSlice:
      return TextAsReal(node);
    case NodeKind::kUnary:
      if (node.op == kOpNegate) return -RealValue(*node.children[0]);
      return LogicalValue(node) ? 1 : 0;
    case NodeKind::kBinary:
      if (node.op == kOpConcat) return TextAsReal(node);
      if (IsLogical(node)) return LogicalValue(node) ? 1 : 0;
      return Arithmetic(node.op, RealValue(*node.children[0]), RealValue(*node.children[1]));
  }
  return 0;
}

void PushValue(const ExprNode& node) {
  ValueStack& stack = Values();
  switch (node.kind) {
    case NodeKind::kInteger:
      return stack.PushLong(node.integer);
    case NodeKind::kText:
    case NodeKind::kPicture:
      return stack.PushText(node.text);
    case NodeKind::kVariable:
      return PushRef(node.symbol->ref);
    case NodeKind::kFunction:
      if (node.resultClass == ResultClass::kText) return PushBuiltinText(node);
      break;
    case NodeKind::kProcedure:
      if (node.resultClass == ResultClass::kText) return PushProcedureText(node);
      break;
    case NodeKind::kSubscript: {
      ValueRef element;
      if (ElementOf(node, element)) return PushRef(element);
      return stack.PushEmpty();
    }
    case NodeKind::kSlice:
      return PushSlice(node);
    case NodeKind::kBinary:
      if (node.op == kOpConcat) {
        PushValue(*node.children[0]);
        PushValue(*node.children[1]);
        return stack.Concat();
      }
      break;
    default:
      break;
  }
  if (node.resultClass == ResultClass::kInteger) return stack.PushLong(LongValue(node));
  stack.PushReal(RealValue(node));
}

bool TruthValue(const ExprNode& node) {
  switch (node.kind) {
    case NodeKind::kVariable:
      return IsTrue(node.symbol->ref);
    case NodeKind::kSubscript: {
      ValueRef element;
      return ElementOf(node, element) && IsTrue(element);
    }
    default:
      break;
  }
  if (IsTextNode(node)) {
    PushValue(node);
    return Values().IsNonBlank();
  }
  if (node.resultClass == ResultClass::kInteger) return LongValue(node) != 0;
  return RealValue(node) != 0;
}

int CompareOperands(const ExprNode& left, const ExprNode& right) {
  if (IsTextNode(left) && IsTextNode(right)) {
    PushValue(left);
    PushValue(right);
    int sign = Values().CompareTop();
    return (sign > 0) - (sign < 0);
  }
  double a = RealValue(left);
  double b = RealValue(right);
  if (ApproximatelyEqual(a, b)) return 0;
  return a < b ? -1 : 1;
}

bool IsTextNode(const ExprNode& node) {
  return node.resultClass == ResultClass::kText || node.resultClass == ResultClass::kPicture;
}

// A text node holds its own slot; two-text operations hold the left operand
// while the right one is evaluated; calls hold their earlier arguments.
void ComputeStackNeeds(ExprNode& tree) {
  for (auto& child : tree.children) ComputeStackNeeds(*child);
  bool holdsLeft =
      tree.kind == NodeKind::kBinary &&
      (tree.op == kOpConcat ||
       (IsComparison(tree.op) && IsTextNode(*tree.children[0]) && IsTextNode(*tree.children[1])));
  bool holdsArguments = tree.kind == NodeKind::kFunction || tree.kind == NodeKind::kProcedure;
  int need = ChildrenNeed(tree, holdsLeft || holdsArguments);
  if (holdsArguments) need += 1;
  tree.stackNeed = std::max(need, 1);
}

int32_t EvaluateAsLong(const ExprNode& tree) {
  return HasRoom(tree) ? LongValue(tree) : 0;
}

double EvaluateAsReal(const ExprNode& tree) {
  return HasRoom(tree) ? RealValue(tree) : 0;
}

std::string EvaluateAsText(const ExprNode& tree) {
  if (!HasRoom(tree)) return {};
  PushValue(tree);
  return Values().PopString();
}

bool EvaluateAsTruth(const ExprNode& tree) {
  return HasRoom(tree) && TruthValue(tree);
}

}  // namespace rk
