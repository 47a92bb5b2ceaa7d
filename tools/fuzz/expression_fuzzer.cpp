// Expressions from any text, over a few bound names of each kind: a LONG, a
// REAL, a DECIMAL, a STRING and a dimensioned LONG. The text must parse or be
// refused with 800 or 801; a tree must evaluate in every class and leave the
// value stack as it found it.
#include <cstring>
#include <string_view>

#include "runtime/core/error_state.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_parser.h"
#include "runtime/core/expr_symbols.h"
#include "runtime/core/runtime_error_codes.h"
#include "runtime/core/type_codes.h"
#include "runtime/core/value_ref.h"
#include "runtime/core/value_stack.h"
#include "tools/fuzz/fuzz_inputs.h"

namespace rk::fuzz {
namespace {

struct Variables {
  int32_t count = 7;
  double price = 12.5;
  uint8_t amount[5] = {0x00, 0x01, 0x23, 0x45, 0x67};  // 123.4567
  char title[12];
  int32_t list[4] = {1, -2, 300, 40000};
};

void BindAll(Variables& v) {
  std::memcpy(v.title, "THE THIRD MA", sizeof v.title);
  Bind("COUNT", MakeValueRef(kLong, -1, 0, &v.count));
  Bind("PRICE", MakeValueRef(kReal, -1, 0, &v.price));
  Bind("VID:AMOUNT", MakeValueRef(kDecimal, 5, 4, v.amount));
  Bind("TITLE", MakeValueRef(kString, sizeof v.title, 0, v.title));
  ValueRef list = MakeValueRef(kLong | kRefDimensioned, -1, 0, v.list);
  list.count = 4;
  Bind("LIST", list);
}

}  // namespace

int ExpressionInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  Unbind();
  Values().Clear();
  ClearError();
  Variables variables;
  BindAll(variables);
  ExprTree tree = Evaluate(text);
  if (!tree) {
    if (ErrorCode() != runtime_error_code::kInvalidExpression &&
        ErrorCode() != runtime_error_code::kNoBind)
      Broken();
    Unbind();
    return 0;
  }
  size_t depth = Values().Depth();
  EvaluateAsText(*tree);
  EvaluateAsLong(*tree);
  EvaluateAsReal(*tree);
  EvaluateAsTruth(*tree);
  if (Values().Depth() != depth) Broken();
  tree.reset();
  Unbind();
  return 0;
}

}  // namespace rk::fuzz
