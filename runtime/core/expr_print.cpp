#include "runtime/core/expr_print.h"

#include "runtime/core/expr_symbols.h"
#include "runtime/core/number_text.h"

namespace rk {
namespace {

// Grammar level of a node: 0 for operands, then one step per grammar rule from
// the sign (1) up to OR and XOR (9).
int GrammarLevel(const ExprNode& node) {
  if (node.kind == NodeKind::kUnary) return node.op == kOpNegate ? 1 : 7;
  if (node.kind != NodeKind::kBinary) return 0;
  switch (node.op) {
    case kOpPower:
      return 2;
    case kOpMultiply:
    case kOpDivide:
    case kOpRemainder:
      return 3;
    case kOpAdd:
    case kOpSubtract:
      return 4;
    case kOpConcat:
      return 5;
    case kOpAnd:
      return 8;
    case kOpOr:
    case kOpXor:
      return 9;
    default:
      return 6;  // comparisons
  }
}

std::string_view Spelling(uint8_t op) {
  switch (op) {
    case kOpPower:
      return " ^ ";
    case kOpMultiply:
      return " * ";
    case kOpDivide:
      return " / ";
    case kOpRemainder:
      return " % ";
    case kOpNegate:
      return "-";
    case kOpAdd:
      return " + ";
    case kOpSubtract:
      return " - ";
    case kOpConcat:
      return " & ";
    case kOpEqual:
      return " = ";
    case kOpNotEqual:
      return " <> ";
    case kOpLess:
      return " < ";
    case kOpGreater:
      return " > ";
    case kOpLessEqual:
      return " <= ";
    case kOpGreaterEqual:
      return " >= ";
    case kOpNot:
      return "NOT ";
    case kOpAnd:
      return " AND ";
    case kOpOr:
      return " OR ";
    case kOpXor:
      return " XOR ";
    case kOpComma:
      return ", ";
    default:
      return " : ";
  }
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    quoted.push_back(c);
    if (c == '\'') quoted.push_back('\'');
  }
  quoted.push_back('\'');
  return quoted;
}

class Printer {
 public:
  std::string Print(const ExprNode& node) {
    switch (node.kind) {
      case NodeKind::kInteger:
        return std::to_string(node.integer);
      case NodeKind::kReal:
        return RealToText(node.real);
      case NodeKind::kText:
        return Quoted(node.text);
      case NodeKind::kPicture:
        return node.text;
      case NodeKind::kVariable:
        return node.symbol->name;
      case NodeKind::kFunction:
        return std::string(BuiltinInfo(node.function).name) + "(" + List(node, kOpComma) + ")";
      case NodeKind::kProcedure:
        return node.symbol->name + "(" + List(node, kOpComma) + ")";
      case NodeKind::kSubscript:
        return node.symbol->name + "[" + List(node, kOpComma) + "]";
      case NodeKind::kSlice:
        return node.symbol->name + "[" + List(node, kOpSlice) + "]";
      case NodeKind::kUnary:
        return Unary(node);
      case NodeKind::kBinary:
        return Binary(node);
    }
    return {};
  }

 private:
  std::string List(const ExprNode& node, uint8_t separator) {
    std::string text;
    for (size_t i = 0; i < node.children.size(); ++i) {
      if (i > 0) text += Spelling(separator);
      text += Print(*node.children[i]);
    }
    return text;
  }

  std::string Operand(const ExprNode& child, bool parenthesise) {
    std::string text = Print(child);
    return parenthesise ? "(" + text + ")" : text;
  }

  // A sign takes only a primary; NOT takes a comparison or another NOT.
  std::string Unary(const ExprNode& node) {
    const ExprNode& operand = *node.children[0];
    int limit = node.op == kOpNegate ? 0 : GrammarLevel(node);
    return std::string(Spelling(node.op)) + Operand(operand, GrammarLevel(operand) > limit);
  }

  // Levels are left-associative, so a right operand of the same level keeps its
  // parentheses: 1 - (2 - 3).
  std::string Binary(const ExprNode& node) {
    int level = GrammarLevel(node);
    const ExprNode& left = *node.children[0];
    const ExprNode& right = *node.children[1];
    return Operand(left, GrammarLevel(left) > level) + std::string(Spelling(node.op)) +
           Operand(right, GrammarLevel(right) >= level);
  }
};

}  // namespace

std::string PrintTree(const ExprNode& tree) {
  return Printer().Print(tree);
}

}  // namespace rk
