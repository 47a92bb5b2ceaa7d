// The table of built-in function names and keyword operators.
#include "runtime/core/expr_builtins.h"
#include "runtime/core/expr_tree.h"

namespace rk {
namespace {

constexpr ResultClass kInt = ResultClass::kInteger;
constexpr ResultClass kReal = ResultClass::kReal;
constexpr ResultClass kText = ResultClass::kText;

// Ordered by Builtin, so that an id indexes its own entry.
constexpr BuiltinFunction kFunctions[] = {
    {"ABS", Builtin::kAbs, 1, 1, kReal},
    {"ACOS", Builtin::kAcos, 1, 1, kReal},
    {"ASIN", Builtin::kAsin, 1, 1, kReal},
    {"ATAN", Builtin::kAtan, 1, 1, kReal},
    {"COS", Builtin::kCos, 1, 1, kReal},
    {"SIN", Builtin::kSin, 1, 1, kReal},
    {"TAN", Builtin::kTan, 1, 1, kReal},
    {"AGE", Builtin::kAge, 1, 2, kText},
    {"ALL", Builtin::kAll, 1, 2, kText},
    {"BAND", Builtin::kBand, 2, 2, kInt},
    {"BOR", Builtin::kBor, 2, 2, kInt},
    {"BXOR", Builtin::kBxor, 2, 2, kInt},
    {"BSHIFT", Builtin::kBshift, 2, 2, kInt},
    {"CENTER", Builtin::kCenter, 1, 2, kText},
    {"LEFT", Builtin::kLeft, 1, 2, kText},
    {"RIGHT", Builtin::kRight, 1, 2, kText},
    {"CHR", Builtin::kChr, 1, 1, kText},
    {"CLIP", Builtin::kClip, 1, 1, kText},
    {"LOWER", Builtin::kLower, 1, 1, kText},
    {"UPPER", Builtin::kUpper, 1, 1, kText},
    {"CLOCK", Builtin::kClock, 0, 0, kInt},
    {"TODAY", Builtin::kToday, 0, 0, kInt},
    {"DATE", Builtin::kDate, 3, 3, kInt},
    {"DAY", Builtin::kDay, 1, 1, kInt},
    {"MONTH", Builtin::kMonth, 1, 1, kInt},
    {"YEAR", Builtin::kYear, 1, 1, kInt},
    {"DEFORMAT", Builtin::kDeformat, 1, 2, kText},
    {"FORMAT", Builtin::kFormat, 2, 2, kText},
    {"INRANGE", Builtin::kInrange, 3, 3, kInt},
    {"INSTRING", Builtin::kInstring, 2, 4, kInt},
    {"INT", Builtin::kInt, 1, 1, kInt},
    {"LEN", Builtin::kLen, 1, 1, kInt},
    {"LOG10", Builtin::kLog10, 1, 1, kReal},
    {"LOGE", Builtin::kLoge, 1, 1, kReal},
    {"MEMORY", Builtin::kMemory, 0, 1, kInt},
    {"NUMERIC", Builtin::kNumeric, 1, 1, kInt},
    {"RANDOM", Builtin::kRandom, 2, 2, kInt},
    {"ROUND", Builtin::kRound, 2, 2, kReal},
    {"SQRT", Builtin::kSqrt, 1, 1, kReal},
    {"SUB", Builtin::kSub, 2, 3, kText},
    {"VAL", Builtin::kVal, 1, 1, kInt},
};

constexpr bool TableFollowsIds() {
  for (size_t i = 0; i < std::size(kFunctions); ++i) {
    if (static_cast<size_t>(kFunctions[i].id) != i) return false;
  }
  return true;
}
static_assert(TableFollowsIds(), "kFunctions must be ordered by Builtin");

constexpr KeywordOperator kKeywords[] = {
    {"AND", kOpAnd},
    {"NOT", kOpNot},
    {"OR", kOpOr},
    {"XOR", kOpXor},
};

}  // namespace

std::span<const BuiltinFunction> BuiltinFunctions() {
  return kFunctions;
}
std::span<const KeywordOperator> KeywordOperators() {
  return kKeywords;
}
const BuiltinFunction& BuiltinInfo(Builtin id) {
  return kFunctions[static_cast<size_t>(id)];
}

}  // namespace rk
