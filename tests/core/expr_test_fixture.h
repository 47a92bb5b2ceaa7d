// The fixture of the expression tests: a fresh table of bound names, an empty
// value stack and a clear error state for every test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "runtime/core/error_state.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_parser.h"
#include "runtime/core/expr_symbols.h"
#include "runtime/core/value_stack.h"

namespace rk {

class ExprTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Unbind();
    Values().Clear();
    ClearError();
  }
  void TearDown() override { Unbind(); }

  // The text value, or "error N" when the expression is refused. Evaluation
  // must leave the value stack as it found it.
  static std::string Eval(std::string_view text) {
    ExprTree tree = Evaluate(text);
    if (!tree) return "error " + std::to_string(ErrorCode());
    std::string value = EvaluateAsText(*tree);
    EXPECT_EQ(Values().Depth(), 0u) << text;
    return value;
  }
};

}  // namespace rk
