// eval EXPRESSION: the text value of an expression over the built-in functions.
// A refused expression fails with the error code and the text of the error state.
#include <string>

#include "runtime/core/error_state.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_parser.h"
#include "tools/rkcalc/command_table.h"

namespace rk::rkcalc {
namespace {

CommandResult Eval(const std::vector<std::string>& args) {
  ExprTree tree = Evaluate(args[0]);
  if (!tree) return {false, std::to_string(ErrorCode()) + " " + ErrorName()};
  std::string value = EvaluateAsText(*tree);
  if (ErrorCode() != 0) return {false, std::to_string(ErrorCode()) + " " + ErrorName()};
  return {true, value};
}

const CommandRegistrar evalCommand({"eval", 1, "eval EXPRESSION", Eval});

}  // namespace
}  // namespace rk::rkcalc
