// The names that expressions can use: built-in functions, keyword operators,
// variables bound with BIND and procedures bound with BindProcedure.
//
// The names live in one table per runtime thread, created with the built-ins on
// first use and destroyed by UNBIND. Names are compared case-insensitively by
// collating weight, so upper(hta:notes) finds UPPER and HTA:NOTES.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "runtime/core/expr_builtins.h"
#include "runtime/core/value_ref.h"

namespace rk {

enum class SymbolKind : uint8_t { kFunction, kKeyword, kVariable, kProcedure };

// A procedure that expressions can call. Its arguments are on the value stack as
// texts, the first argument on top; it pops them and answers in its class: a
// LONG, a double, or (for a text procedure) its result pushed on the stack.
using LongProcedure = int32_t (*)();
using RealProcedure = double (*)();
using TextProcedure = void (*)();
using ProcedureAddress = std::variant<LongProcedure, RealProcedure, TextProcedure>;

struct Symbol {
  SymbolKind kind = SymbolKind::kVariable;
  std::string name;
  const BuiltinFunction* function = nullptr;  // kFunction
  uint8_t op = 0;                             // kKeyword: the OperatorCode
  ValueRef ref{};                             // kVariable
  ProcedureAddress procedure{};               // kProcedure
  int argumentCount = 0;                      // kProcedure
  ResultClass resultClass = ResultClass::kInteger;
};

inline constexpr size_t kMaxBoundNameLength = 99;

// Enters a variable under `name` (cut to kMaxBoundNameLength characters),
// replacing any symbol of that name.
void Bind(std::string_view name, const ValueRef& ref);
// BIND as the compiled program calls it: the name is popped from the value stack.
void BindFromStack(const ValueRef& ref);
// Enters a procedure. Refused (false) when the address does not answer in
// `resultClass` or the argument count is negative.
bool BindProcedure(std::string_view name, ProcedureAddress address, int argumentCount,
                   ResultClass resultClass);
// Destroys the whole table; the built-ins come back on next use. Trees already
// parsed keep the symbols they use.
void Unbind();

// The symbol of that name, or none.
std::shared_ptr<const Symbol> LookupSymbol(std::string_view name);

// The class in which a variable's value is read: text for text types and whole
// groups, integer for the integer types, real otherwise.
ResultClass VariableResultClass(const Symbol& variable);
bool IsDimensioned(const Symbol& variable);

// The bound names of one runtime thread. The window system keeps one slot per
// thread and swaps it with the current table whenever the served thread changes.
struct BoundNames;
struct BoundNamesDeleter {
  void operator()(BoundNames* names) const;
};
using BoundNamesSlot = std::unique_ptr<BoundNames, BoundNamesDeleter>;
void SwapBoundNames(BoundNamesSlot& slot);

}  // namespace rk
