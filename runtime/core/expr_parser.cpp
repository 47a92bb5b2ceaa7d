#include "runtime/core/expr_parser.h"

#include "runtime/core/error_state.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_symbols.h"
#include "runtime/core/expr_tokenizer.h"
#include "runtime/core/runtime_error_codes.h"
#include "runtime/core/value_stack.h"

namespace rk {
namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : tokens_(text) {}

  ExprTree Parse() {
    ExprTree tree = Expression();
    if (!tree || errorCode_ != 0 || tokens_.Current().kind != TokenKind::kEnd) return Fail();
    return tree;
  }

  int32_t errorCode() const { return errorCode_; }

 private:
  using Level = ExprTree (Parser::*)();

  ExprTree Fail(int32_t code = runtime_error_code::kInvalidExpression) {
    if (errorCode_ == 0) errorCode_ = code;
    return nullptr;
  }

  // The keyword operator that the current token names, or 0.
  uint8_t CurrentKeyword() {
    const Token& token = tokens_.Current();
    if (token.kind != TokenKind::kName) return 0;
    std::shared_ptr<const Symbol> symbol = LookupSymbol(token.text);
    return symbol && symbol->kind == SymbolKind::kKeyword ? symbol->op : 0;
  }

  static ExprTree MakeBinary(uint8_t op, ExprTree left, ExprTree right) {
    auto node = std::make_unique<ExprNode>();
    node->kind = NodeKind::kBinary;
    node->op = op;
    node->resultClass = op == kOpConcat     ? ResultClass::kText
                        : op <= kOpSubtract ? ResultClass::kReal
                                            : ResultClass::kInteger;
    node->children.push_back(std::move(left));
    node->children.push_back(std::move(right));
    return node;
  }

  static ExprTree MakeUnary(uint8_t op, ExprTree operand) {
    auto node = std::make_unique<ExprNode>();
    node->kind = NodeKind::kUnary;
    node->op = op;
    node->resultClass = op == kOpNot ? ResultClass::kInteger : ResultClass::kReal;
    node->children.push_back(std::move(operand));
    return node;
  }

  // One left-associative level: operand { op operand }, where `nextOp` answers
  // the operator code at the current token (consuming it) or 0.
  template <typename NextOperator>
  ExprTree LeftAssociative(Level operand, NextOperator nextOp) {
    ExprTree left = (this->*operand)();
    while (left) {
      uint8_t op = nextOp();
      if (op == 0) break;
      ExprTree right = (this->*operand)();
      if (!right) return nullptr;
      left = MakeBinary(op, std::move(left), std::move(right));
    }
    return left;
  }

  ExprTree Expression() {
    return LeftAssociative(&Parser::Term1, [this]() -> uint8_t {
      uint8_t op = CurrentKeyword();
      if (op != kOpOr && op != kOpXor) return 0;
      tokens_.Advance();
      return op;
    });
  }

  ExprTree Term1() {
    return LeftAssociative(&Parser::Term2, [this]() -> uint8_t {
      if (CurrentKeyword() != kOpAnd) return 0;
      tokens_.Advance();
      return kOpAnd;
    });
  }

  ExprTree Term2() {
    if (CurrentKeyword() != kOpNot && !tokens_.IsOperator('~')) return Comparison();
    if (++depth_ > kMaxExpressionNesting * 4) return Fail();
    tokens_.Advance();
    ExprTree operand = Term2();
    --depth_;
    return operand ? MakeUnary(kOpNot, std::move(operand)) : nullptr;
  }

  ExprTree Comparison() {
    return LeftAssociative(&Parser::Concat, [this]() { return ComparisonOperator(); });
  }

  // Reads one comparison operator, made of one or two operator tokens.
  uint8_t ComparisonOperator() {
    const Token& token = tokens_.Current();
    if (token.kind != TokenKind::kOperator) return 0;
    char first = token.symbol;
    if (first != '=' && first != '<' && first != '>' && first != '~') return 0;
    tokens_.Advance();
    char second = tokens_.Current().kind == TokenKind::kOperator ? tokens_.Current().symbol : 0;
    uint8_t pair = 0;
    if ((first == '<' && second == '=') || (first == '=' && second == '<')) pair = kOpLessEqual;
    if ((first == '>' && second == '=') || (first == '=' && second == '>')) pair = kOpGreaterEqual;
    if ((first == '<' && second == '>') || (first == '~' && second == '=')) pair = kOpNotEqual;
    if (pair != 0) {
      tokens_.Advance();
      return pair;
    }
    switch (first) {
      case '=':
        return kOpEqual;
      case '<':
        return kOpLess;
      case '>':
        return kOpGreater;
      default:
        Fail();  // a lone '~' after an operand
        return 0;
    }
  }

  ExprTree Concat() {
    return LeftAssociative(&Parser::Sum, [this]() -> uint8_t {
      if (!tokens_.IsOperator('&')) return 0;
      tokens_.Advance();
      return kOpConcat;
    });
  }

  ExprTree Sum() {
    return LeftAssociative(&Parser::Product, [this]() -> uint8_t {
      uint8_t op = tokens_.IsOperator('+') ? kOpAdd : tokens_.IsOperator('-') ? kOpSubtract : 0;
      if (op != 0) tokens_.Advance();
      return op;
    });
  }

  ExprTree Product() {
    return LeftAssociative(&Parser::Power, [this]() -> uint8_t {
      uint8_t op = tokens_.IsOperator('*')   ? kOpMultiply
                   : tokens_.IsOperator('/') ? kOpDivide
                   : tokens_.IsOperator('%') ? kOpRemainder
                                             : 0;
      if (op != 0) tokens_.Advance();
      return op;
    });
  }

  ExprTree Power() {
    return LeftAssociative(&Parser::Unary, [this]() -> uint8_t {
      if (!tokens_.IsOperator('^')) return 0;
      tokens_.Advance();
      return kOpPower;
    });
  }

  // A sign applies to a primary only: -2 ^ 2 is 4 and - -2 is refused.
  ExprTree Unary() {
    if (tokens_.IsOperator('+')) {
      tokens_.Advance();
      return Primary();
    }
    if (!tokens_.IsOperator('-')) return Primary();
    tokens_.Advance();
    ExprTree operand = Primary();
    return operand ? MakeUnary(kOpNegate, std::move(operand)) : nullptr;
  }

  ExprTree Primary() {
    const Token& token = tokens_.Current();
    auto node = std::make_unique<ExprNode>();
    switch (token.kind) {
      case TokenKind::kInteger:
        node->kind = NodeKind::kInteger;
        node->integer = token.integer;
        break;
      case TokenKind::kReal:
        node->kind = NodeKind::kReal;
        node->resultClass = ResultClass::kReal;
        node->real = token.real;
        break;
      case TokenKind::kText:
        node->kind = NodeKind::kText;
        node->resultClass = ResultClass::kText;
        node->text = token.text;
        break;
      case TokenKind::kPicture:
        node->kind = NodeKind::kPicture;
        node->resultClass = ResultClass::kPicture;
        node->text = token.text;
        break;
      case TokenKind::kName:
        return Named();
      case TokenKind::kOperator:
        if (token.symbol == '(') return Parenthesised();
        return Fail();  // an operator where an operand is expected
      default:
        return Fail();
    }
    tokens_.Advance();
    return node;
  }

  // Runs `parse` one nesting level deeper, refusing too deep a nesting.
  template <typename Parse>
  bool Nested(Parse parse) {
    if (++depth_ > kMaxExpressionNesting) {
      Fail();
      return false;
    }
    bool parsed = parse();
    --depth_;
    return parsed;
  }

  bool Expect(char symbol) {
    if (!tokens_.IsOperator(symbol)) return false;
    tokens_.Advance();
    return true;
  }

  ExprTree Parenthesised() {
    ExprTree inner;
    bool parsed = Nested([&]() {
      tokens_.Advance();
      inner = Expression();
      return inner && Expect(')');
    });
    return parsed ? std::move(inner) : Fail();
  }

  ExprTree Named() {
    std::shared_ptr<const Symbol> symbol = LookupSymbol(tokens_.Current().text);
    if (!symbol) return Fail(runtime_error_code::kNoBind);
    tokens_.Advance();
    switch (symbol->kind) {
      case SymbolKind::kFunction:
        return Call(std::move(symbol));
      case SymbolKind::kProcedure:
        return Call(std::move(symbol));
      case SymbolKind::kVariable:
        return Variable(std::move(symbol));
      default:
        return Fail();  // a keyword where an operand is expected
    }
  }

  // A function or procedure call. A function without arguments may be written
  // without its parentheses (TODAY).
  ExprTree Call(std::shared_ptr<const Symbol> symbol) {
    auto node = std::make_unique<ExprNode>();
    int minArguments = 0;
    int maxArguments = 0;
    if (symbol->kind == SymbolKind::kFunction) {
      node->kind = NodeKind::kFunction;
      node->function = symbol->function->id;
      node->resultClass = symbol->function->resultClass;
      minArguments = symbol->function->minArguments;
      maxArguments = symbol->function->maxArguments;
    } else {
      node->kind = NodeKind::kProcedure;
      node->resultClass = symbol->resultClass;
      node->symbol = symbol;
      minArguments = maxArguments = symbol->argumentCount;
    }
    if (!tokens_.IsOperator('(')) return minArguments == 0 ? std::move(node) : Fail();
    bool parsed = Nested([&]() {
      tokens_.Advance();
      if (Expect(')')) return true;
      do {
        ExprTree argument = Expression();
        if (!argument) return false;
        node->children.push_back(std::move(argument));
      } while (Expect(','));
      return Expect(')');
    });
    if (!parsed) return Fail();
    int count = static_cast<int>(node->children.size());
    if (count < minArguments || count > maxArguments) return Fail();
    return node;
  }

  // A variable, an element of a dimensioned variable, or a slice of its text.
  ExprTree Variable(std::shared_ptr<const Symbol> symbol) {
    auto node = std::make_unique<ExprNode>();
    node->kind = NodeKind::kVariable;
    node->resultClass = VariableResultClass(*symbol);
    node->symbol = std::move(symbol);
    if (!tokens_.IsOperator('[')) return node;
    bool parsed = Nested([&]() {
      tokens_.Advance();
      ExprTree first = Expression();
      if (!first) return false;
      node->children.push_back(std::move(first));
      if (Expect(':')) {
        ExprTree last = Expression();
        if (!last) return false;
        node->children.push_back(std::move(last));
        node->kind = NodeKind::kSlice;
        node->resultClass = ResultClass::kText;
      } else {
        // Only dimensioned variables take an index, and only one: the element
        // count is all that is known of their shape.
        if (!IsDimensioned(*node->symbol)) return false;
        node->kind = NodeKind::kSubscript;
      }
      return Expect(']');
    });
    return parsed ? std::move(node) : Fail();
  }

  Tokenizer tokens_;
  int depth_ = 0;
  int32_t errorCode_ = 0;
};

}  // namespace

ExprTree Evaluate(std::string_view text) {
  Parser parser(text);
  ExprTree tree = parser.Parse();
  if (tree) ComputeStackNeeds(*tree);
  // A tree that could not be evaluated even on an empty value stack is refused.
  if (tree && tree->stackNeed > static_cast<int>(ValueStack::kSlots)) tree.reset();
  if (!tree) {
    int32_t code =
        parser.errorCode() == 0 ? runtime_error_code::kInvalidExpression : parser.errorCode();
    SetError(code, MessageText(code));
    return nullptr;
  }
  ClearError();
  return tree;
}

}  // namespace rk
