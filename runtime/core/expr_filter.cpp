#include "runtime/core/expr_filter.h"

#include <algorithm>
#include <cmath>

#include "runtime/core/collation.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_symbols.h"
#include "runtime/core/number_text.h"
#include "runtime/core/type_codes.h"
#include "runtime/core/value_stack.h"

namespace rk {
namespace {

// --- Levels -------------------------------------------------------------------

bool IsLeaf(const ExprNode& node) {
  return node.kind == NodeKind::kVariable || node.kind == NodeKind::kSubscript ||
         node.kind == NodeKind::kSlice || node.kind == NodeKind::kProcedure;
}

int CombineLevels(const ExprNode& node) {
  bool smaller = node.kind == NodeKind::kBinary && (node.op == kOpAnd || node.op == kOpOr);
  int level = smaller ? kNeverKnown : 0;
  for (const auto& child : node.children) {
    level = smaller ? std::min(level, child->level) : std::max(level, child->level);
  }
  return level;
}

// The byte range a reference's data occupies.
const char* DataBegin(const ValueRef& ref) {
  return static_cast<const char*>(ref.address);
}

bool SameField(const ValueRef& a, const ValueRef& b) {
  return a.address == b.address && a.Type() == b.Type();
}

bool InsideArea(const ValueRef& ref, const void* area, size_t size) {
  const char* begin = static_cast<const char*>(area);
  const char* data = DataBegin(ref);
  return begin != nullptr && data >= begin && data < begin + size;
}

bool InsideRecord(const ValueRef& ref, const FilterKey& key) {
  return InsideArea(ref, key.record, key.recordSize);
}

bool InsideLaterArea(const ValueRef& ref, const FilterKey& key) {
  return std::any_of(key.laterAreas.begin(), key.laterAreas.end(), [&](const RecordArea& area) {
    return InsideArea(ref, area.begin, area.size);
  });
}

// The position of the component that `ref` is (1 for the first), or 0.
int ComponentPosition(const ValueRef& ref, const FilterKey& key) {
  for (size_t i = 0; i < key.components.size(); ++i) {
    if (SameField(ref, key.components[i].field)) return static_cast<int>(i + 1);
  }
  return 0;
}

// --- Three-valued evaluation ------------------------------------------------

Truth FromBool(bool value) {
  return value ? Truth::kTrue : Truth::kFalse;
}

// --- Bounds -------------------------------------------------------------------

enum class NumberKind : uint8_t { kNone, kWhole, kReal };

// Numeric components whose order is the order of their value; exact-decimal and
// other types get no bounds and are read in full.
NumberKind NumberKindOf(uint8_t type) {
  if (IsIntegerType(type)) return NumberKind::kWhole;
  if (type == kSReal || type == kReal) return NumberKind::kReal;
  return NumberKind::kNone;
}

// The range of values an integer-typed field can hold (as day and time numbers
// for packed dates and times).
void WholeRange(uint8_t type, double& low, double& high) {
  switch (type) {
    case kByte:
      low = 0, high = 255;
      break;
    case kShort:
      low = -32768, high = 32767;
      break;
    case kUShort:
      low = 0, high = 65535;
      break;
    case kDate:
      low = 0, high = 109211;
      break;
    case kTime:
      low = 0, high = 8640000;
      break;
    default:
      low = -2147483648.0, high = 2147483647.0;
      break;
  }
}

struct Range {
  KeyLimit lower;
  KeyLimit upper;
};

class BoundsFinder {
 public:
  BoundsFinder(const FilterKey& key, size_t index)
      : component_(key.components[index]),
        level_(static_cast<int>(index + 1)),
        type_(component_.field.Type()),
        isText_(IsTextType(type_)),
        numberKind_(NumberKindOf(type_)) {}

  bool Usable() const {
    // Digraphs make key order differ from the comparison's order.
    if (isText_) return !HasDigraphs();
    return numberKind_ != NumberKind::kNone && !component_.noCase;
  }

  Range Find(const ExprNode& node, bool negated) {
    if (node.kind == NodeKind::kUnary && node.op == kOpNot) {
      return Find(*node.children[0], !negated);
    }
    if (node.kind != NodeKind::kBinary) return {};
    if (node.op == kOpAnd || node.op == kOpOr) {
      Range left = Find(*node.children[0], negated);
      Range right = Find(*node.children[1], negated);
      // Under NOT, AND behaves as OR and OR as AND.
      bool intersect = (node.op == kOpAnd) != negated;
      return intersect ? Intersect(left, right) : Unite(left, right);
    }
    if (IsComparison(node.op)) return Compared(node, negated);
    return {};
  }

 private:
  // Whether `node` is the component itself as the comparison sees it.
  bool IsComponent(const ExprNode& node) const {
    if (node.kind == NodeKind::kVariable) return SameField(node.symbol->ref, component_.field);
    // UPPER(field) = value decides a key that ignores case.
    return component_.noCase && node.kind == NodeKind::kFunction &&
           (node.function == Builtin::kUpper || node.function == Builtin::kLower) &&
           IsComponent(*node.children[0]);
  }

  static uint8_t Mirrored(uint8_t op) {
    switch (op) {
      case kOpLess:
        return kOpGreater;
      case kOpGreater:
        return kOpLess;
      case kOpLessEqual:
        return kOpGreaterEqual;
      case kOpGreaterEqual:
        return kOpLessEqual;
      default:
        return op;
    }
  }

  static uint8_t Negated(uint8_t op) {
    switch (op) {
      case kOpEqual:
        return kOpNotEqual;
      case kOpNotEqual:
        return kOpEqual;
      case kOpLess:
        return kOpGreaterEqual;
      case kOpGreater:
        return kOpLessEqual;
      case kOpLessEqual:
        return kOpGreater;
      default:
        return kOpLess;
    }
  }

  // UPPER(field) or LOWER(field) of a whole-number component: the text of such a
  // number is its own digits, so equal texts mean equal numbers.
  bool IsFoldedNumber(const ExprNode& node) const {
    return numberKind_ == NumberKind::kWhole && type_ != kDate && type_ != kTime &&
           node.kind == NodeKind::kFunction &&
           (node.function == Builtin::kUpper || node.function == Builtin::kLower) &&
           node.children.size() == 1 && node.children[0]->kind == NodeKind::kVariable &&
           SameField(node.children[0]->symbol->ref, component_.field);
  }

  // A text value counts as the number TextToReal reads from it: no other number
  // has that text.
  Range FoldedEquality(const ExprNode& value) const {
    double number = RealValue(value);
    if (std::isnan(number)) return {};
    return {NumberLimit(number, false), NumberLimit(number, true)};
  }

  Range Compared(const ExprNode& node, bool negated) {
    const ExprNode* left = node.children[0].get();
    const ExprNode* right = node.children[1].get();
    uint8_t op = node.op;
    if (!IsComponent(*left) && !IsFoldedNumber(*left)) {
      std::swap(left, right);
      op = Mirrored(op);
    }
    bool folded = IsFoldedNumber(*left);
    if ((!IsComponent(*left) && !folded) || right->level >= level_) return {};
    if (negated) op = Negated(op);
    if (folded) return op == kOpEqual ? FoldedEquality(*right) : Range{};
    if (op == kOpNotEqual) return {};
    // A key that ignores case orders values differently from the comparison,
    // except that equal values stay together.
    if (component_.noCase && op != kOpEqual) return {};
    if (isText_ && !IsTextNode(*right)) return {};  // compared as numbers

    KeyLimit limit = isText_ ? TextLimit(*right) : KeyLimit{};
    Range range;
    bool lower = op == kOpEqual || op == kOpGreater || op == kOpGreaterEqual;
    bool upper = op == kOpEqual || op == kOpLess || op == kOpLessEqual;
    if (isText_) {
      if (lower) range.lower = limit;
      if (upper) range.upper = limit;
      return range;
    }
    double value = RealValue(*right);
    if (std::isnan(value)) return {};
    if (lower) range.lower = NumberLimit(value, false);
    if (upper) range.upper = NumberLimit(value, true);
    return range;
  }

  static KeyLimit TextLimit(const ExprNode& node) {
    KeyLimit limit;
    limit.present = true;
    PushValue(node);
    limit.text = Values().PopString();
    return limit;
  }

  // Comparisons of numbers count approximately equal values as equal, so a limit
  // must let them in: a whole-number field takes the first whole number inside
  // (or approximately at) the limit, within the type's range; a real field the
  // limit widened by more than the tolerance.
  KeyLimit NumberLimit(double value, bool upper) const {
    KeyLimit limit;
    limit.present = true;
    if (numberKind_ == NumberKind::kWhole) {
      double step = upper ? 1 : -1;
      double whole = upper ? std::floor(value) : std::ceil(value);
      if (ApproximatelyEqual(whole + step, value)) whole += step;
      double low = 0, high = 0;
      WholeRange(type_, low, high);
      limit.number = std::clamp(whole, low, high);
    } else {
      double slack = std::fabs(value) * 0x1p-48 + 0x1p-49;
      limit.number = upper ? value + slack : value - slack;
    }
    return limit;
  }

  int Order(const KeyLimit& a, const KeyLimit& b) const {
    if (isText_) return CompareSpacePadded(a.text, b.text);
    return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
  }

  const KeyLimit& Tighter(const KeyLimit& a, const KeyLimit& b, bool upper) const {
    if (!a.present) return b;
    if (!b.present) return a;
    int order = Order(a, b);
    return (upper ? order <= 0 : order >= 0) ? a : b;
  }

  const KeyLimit& Looser(const KeyLimit& a, const KeyLimit& b, bool upper) const {
    if (!a.present) return a;
    if (!b.present) return b;
    int order = Order(a, b);
    return (upper ? order >= 0 : order <= 0) ? a : b;
  }

  Range Intersect(const Range& a, const Range& b) const {
    return {Tighter(a.lower, b.lower, false), Tighter(a.upper, b.upper, true)};
  }

  Range Unite(const Range& a, const Range& b) const {
    return {Looser(a.lower, b.lower, false), Looser(a.upper, b.upper, true)};
  }

  const KeyComponent& component_;
  int level_;
  uint8_t type_;
  bool isText_;
  NumberKind numberKind_;
};

}  // namespace

void AssignLevels(ExprNode& tree, const LeafLevel& leafLevel) {
  for (auto& child : tree.children) AssignLevels(*child, leafLevel);
  int level = CombineLevels(tree);
  if (IsLeaf(tree)) level = std::max(level, leafLevel(tree));
  tree.level = level;
}

void AssignKeyLevels(ExprNode& tree, const FilterKey& key) {
  int wholeKey = static_cast<int>(key.components.size()) + 1;
  AssignLevels(tree, [&](const ExprNode& leaf) {
    if (leaf.kind == NodeKind::kProcedure) return kNeverKnown;
    const ValueRef& ref = leaf.symbol->ref;
    int position = ComponentPosition(ref, key);
    if (position != 0 && leaf.kind == NodeKind::kVariable) return position;
    if (InsideLaterArea(ref, key)) return kNeverKnown;
    return InsideRecord(ref, key) ? wholeKey : 0;
  });
}

Truth EvaluateKnown(const ExprNode& tree, int known) {
  if (tree.level > known) return Truth::kUnknown;
  if (tree.kind == NodeKind::kUnary && tree.op == kOpNot) {
    Truth operand = EvaluateKnown(*tree.children[0], known);
    if (operand == Truth::kUnknown) return operand;
    return operand == Truth::kTrue ? Truth::kFalse : Truth::kTrue;
  }
  if (tree.kind == NodeKind::kBinary && (tree.op == kOpAnd || tree.op == kOpOr)) {
    Truth left = EvaluateKnown(*tree.children[0], known);
    Truth right = EvaluateKnown(*tree.children[1], known);
    Truth decisive = tree.op == kOpAnd ? Truth::kFalse : Truth::kTrue;
    if (left == decisive || right == decisive) return decisive;
    if (left == Truth::kUnknown || right == Truth::kUnknown) return Truth::kUnknown;
    return tree.op == kOpAnd ? Truth::kTrue : Truth::kFalse;
  }
  return FromBool(EvaluateAsTruth(tree));
}

ComponentBounds FindComponentBounds(const ExprNode& tree, const FilterKey& key, size_t index) {
  if (index >= key.components.size()) return {};
  BoundsFinder finder(key, index);
  if (!finder.Usable()) return {};
  Range range = finder.Find(tree, false);
  return {range.lower, range.upper};
}

void StoreLimit(const KeyComponent& component, const KeyLimit& limit) {
  if (!limit.present) return;
  ValueRef field = component.field;  // refers to the same storage
  if (IsTextType(field.Type())) {
    Values().PushText(limit.text);
    AssignText(field);
  } else {
    AssignReal(field, limit.number);
  }
}

}  // namespace rk
