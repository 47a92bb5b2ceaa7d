// The built-in functions and keyword operators of the expression language: their
// names, argument counts and result classes, and their evaluation.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace rk {

// Result classes of functions, procedures and nodes.
enum class ResultClass : uint8_t { kInteger = 1, kReal = 2, kPicture = 3, kText = 4 };

enum class Builtin : uint8_t {
  kAbs,
  kAcos,
  kAsin,
  kAtan,
  kCos,
  kSin,
  kTan,
  kAge,
  kAll,
  kBand,
  kBor,
  kBxor,
  kBshift,
  kCenter,
  kLeft,
  kRight,
  kChr,
  kClip,
  kLower,
  kUpper,
  kClock,
  kToday,
  kDate,
  kDay,
  kMonth,
  kYear,
  kDeformat,
  kFormat,
  kInrange,
  kInstring,
  kInt,
  kLen,
  kLog10,
  kLoge,
  kMemory,
  kNumeric,
  kRandom,
  kRound,
  kSqrt,
  kSub,
  kVal,
};

struct BuiltinFunction {
  std::string_view name;
  Builtin id;
  uint8_t minArguments;  // fewer is a parse error
  uint8_t maxArguments;  // more is a parse error
  ResultClass resultClass;
};

struct KeywordOperator {
  std::string_view name;
  uint8_t op;  // OperatorCode
};

std::span<const BuiltinFunction> BuiltinFunctions();
std::span<const KeywordOperator> KeywordOperators();
const BuiltinFunction& BuiltinInfo(Builtin id);

struct ExprNode;

// Evaluation of a call node, in the class the function declares: integer and
// real functions answer CallBuiltinLong/CallBuiltinReal, text functions push
// their result with PushBuiltinText.
int32_t CallBuiltinLong(const ExprNode& call);
double CallBuiltinReal(const ExprNode& call);
void PushBuiltinText(const ExprNode& call);

}  // namespace rk
