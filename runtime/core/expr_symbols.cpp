#include "runtime/core/expr_symbols.h"

#include <map>

#include "runtime/core/collation.h"
#include "runtime/core/type_codes.h"
#include "runtime/core/value_stack.h"

namespace rk {

// Ordered by collating weight without regard to case.
struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return CompareCollatedNoCase(a.c_str(), b.c_str()) < 0;
  }
};

struct BoundNames {
  std::map<std::string, std::shared_ptr<const Symbol>, NameLess> symbols;
};

void BoundNamesDeleter::operator()(BoundNames* names) const {
  delete names;
}

namespace {

// The table of the runtime thread being served.
BoundNamesSlot current;

void Enter(BoundNames& table, std::shared_ptr<Symbol> symbol) {
  std::string key = symbol->name;
  table.symbols.insert_or_assign(std::move(key), std::move(symbol));
}

BoundNames& Table() {
  if (current) return *current;
  current.reset(new BoundNames);
  for (const BuiltinFunction& function : BuiltinFunctions()) {
    auto symbol = std::make_shared<Symbol>();
    symbol->kind = SymbolKind::kFunction;
    symbol->name = std::string(function.name);
    symbol->function = &function;
    symbol->resultClass = function.resultClass;
    Enter(*current, std::move(symbol));
  }
  for (const KeywordOperator& keyword : KeywordOperators()) {
    auto symbol = std::make_shared<Symbol>();
    symbol->kind = SymbolKind::kKeyword;
    symbol->name = std::string(keyword.name);
    symbol->op = keyword.op;
    Enter(*current, std::move(symbol));
  }
  return *current;
}

// Names stop at an embedded NUL, which the collated comparison could not see past.
std::string NameOf(std::string_view name) {
  name = name.substr(0, std::min(name.find('\0'), kMaxBoundNameLength));
  return std::string(name);
}

}  // namespace

void Bind(std::string_view name, const ValueRef& ref) {
  auto symbol = std::make_shared<Symbol>();
  symbol->kind = SymbolKind::kVariable;
  symbol->name = NameOf(name);
  symbol->ref = ref;
  symbol->resultClass = VariableResultClass(*symbol);
  Enter(Table(), std::move(symbol));
}

void BindFromStack(const ValueRef& ref) {
  std::string name = Values().PopString();
  Bind(name, ref);
}

bool BindProcedure(std::string_view name, ProcedureAddress address, int argumentCount,
                   ResultClass resultClass) {
  bool classMatches =
      (resultClass == ResultClass::kInteger && std::holds_alternative<LongProcedure>(address)) ||
      (resultClass == ResultClass::kReal && std::holds_alternative<RealProcedure>(address)) ||
      (resultClass == ResultClass::kText && std::holds_alternative<TextProcedure>(address));
  if (!classMatches || argumentCount < 0) return false;
  auto symbol = std::make_shared<Symbol>();
  symbol->kind = SymbolKind::kProcedure;
  symbol->name = NameOf(name);
  symbol->procedure = address;
  symbol->argumentCount = argumentCount;
  symbol->resultClass = resultClass;
  Enter(Table(), std::move(symbol));
  return true;
}

void Unbind() {
  current.reset();
}

std::shared_ptr<const Symbol> LookupSymbol(std::string_view name) {
  BoundNames& table = Table();
  auto found = table.symbols.find(NameOf(name));
  if (found == table.symbols.end()) return nullptr;
  return found->second;
}

void SwapBoundNames(BoundNamesSlot& slot) {
  current.swap(slot);
}

ResultClass VariableResultClass(const Symbol& variable) {
  uint8_t type = variable.ref.Type();
  if (IsTextType(type) || type == kGroup) return ResultClass::kText;
  if (IsIntegerType(type)) return ResultClass::kInteger;
  return ResultClass::kReal;
}

bool IsDimensioned(const Symbol& variable) {
  return (variable.ref.flags & kRefDimensioned) != 0;
}

}  // namespace rk
