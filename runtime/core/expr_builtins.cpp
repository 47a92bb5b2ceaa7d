// Evaluation of the built-in functions. Arguments are evaluated in the class the
// function needs: numbers through LongValue/RealValue (an integer taken from a
// real is truncated toward zero), texts pushed on the value stack, where the
// string, picture and date services do their work.
#include "runtime/core/expr_builtins.h"

#include <sys/resource.h>

#include <cmath>
#include <random>

#include "runtime/core/age_text.h"
#include "runtime/core/day_number.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_tree.h"
#include "runtime/core/number_text.h"
#include "runtime/core/picture_format.h"
#include "runtime/core/picture_stack.h"
#include "runtime/core/string_functions.h"
#include "runtime/core/time_value.h"
#include "runtime/core/value_stack.h"

namespace rk {
namespace {

const ExprNode& Argument(const ExprNode& call, size_t index) {
  return *call.children[index];
}
bool HasArgument(const ExprNode& call, size_t index) {
  return call.children.size() > index;
}

int32_t LongArgument(const ExprNode& call, size_t index, int32_t absent) {
  return HasArgument(call, index) ? LongValue(Argument(call, index)) : absent;
}

double RealArgument(const ExprNode& call, size_t index) {
  return RealValue(Argument(call, index));
}

// BSHIFT: left for a positive count, logical right for a negative one; a count
// of 32 or more either way shifts everything out.
int32_t ShiftBits(int32_t value, int32_t count) {
  uint32_t bits = static_cast<uint32_t>(value);
  if (count >= 32 || count <= -32) return 0;
  bits = count >= 0 ? bits << count : bits >> -count;
  return static_cast<int32_t>(bits);
}

int32_t DatePart(int32_t dayNumber, int32_t CalendarDate::*part) {
  CalendarDate date;
  if (!DayToDate(dayNumber, date)) return 0;
  return date.*part;
}

// Inclusive at both ends, with the ends counted as reached when the value is
// approximately equal to them, as in comparisons.
bool InRange(double value, double low, double high) {
  bool aboveLow = value >= low || ApproximatelyEqual(value, low);
  bool belowHigh = value <= high || ApproximatelyEqual(value, high);
  return aboveLow && belowHigh;
}

int32_t RandomBetween(int32_t first, int32_t second) {
  thread_local std::mt19937 generator{std::random_device{}()};
  int32_t low = std::min(first, second);
  int32_t high = std::max(first, second);
  return std::uniform_int_distribution<int32_t>(low, high)(generator);
}

// The largest resident size of the process so far, in kilobytes.
int32_t MemoryFigure() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<int32_t>(std::min<long>(usage.ru_maxrss, INT32_MAX));
}

// Rounds to a power of ten given as the power itself (0.01 hundredths, 100
// hundreds), halves away from zero. A step that is not positive leaves the
// value as it is. Halves are recognised with a tolerance, since 2.675 / 0.01 is
// 267.49999999999997 in doubles.
double RoundTo(double value, double step) {
  if (!(step > 0) || !std::isfinite(value)) return value;
  double inverse = 1 / step;
  bool fraction = step < 1 && std::fabs(inverse - std::round(inverse)) < 1e-9 * inverse;
  double scaled = fraction ? value * std::round(inverse) : value / step;
  double whole = std::trunc(scaled);
  double rest = std::fabs(scaled - whole);
  if (rest >= 0.5 || ApproximatelyEqual(rest, 0.5)) whole += std::copysign(1.0, scaled);
  return fraction ? whole / std::round(inverse) : whole * step;
}

double MathFunction(Builtin id, double x) {
  switch (id) {
    case Builtin::kAbs:
      return std::fabs(x);
    case Builtin::kAcos:
      return std::acos(x);
    case Builtin::kAsin:
      return std::asin(x);
    case Builtin::kAtan:
      return std::atan(x);
    case Builtin::kCos:
      return std::cos(x);
    case Builtin::kSin:
      return std::sin(x);
    case Builtin::kTan:
      return std::tan(x);
    case Builtin::kLog10:
      return std::log10(x);
    case Builtin::kLoge:
      return std::log(x);
    default:
      return std::sqrt(x);
  }
}

// FORMAT and DEFORMAT with the value on top of the stack and the picture pushed
// above it. DEFORMAT without a picture reads the text as a string picture of its
// own length.
void ApplyPicture(const ExprNode& call) {
  ValueStack& stack = Values();
  if (HasArgument(call, 1)) {
    PushValue(Argument(call, 1));
    return call.function == Builtin::kFormat ? FormatOnStack() : DeformatOnStack();
  }
  std::string value = Deformat(stack.Top(), nullptr);
  stack.Pop();
  stack.PushCopy(value);
}

// Functions that work on the top of the value stack take their text argument
// there first; the numeric arguments are evaluated afterwards, which needs no
// further slot.
void PushTextFunction(const ExprNode& call) {
  ValueStack& stack = Values();
  PushValue(Argument(call, 0));
  switch (call.function) {
    case Builtin::kAll:
      return ALL(LongArgument(call, 1, 0));
    case Builtin::kCenter:
      return CENTER(LongArgument(call, 1, kNoLength));
    case Builtin::kLeft:
      return LEFT(LongArgument(call, 1, kNoLength));
    case Builtin::kRight:
      return RIGHT(LongArgument(call, 1, kNoLength));
    case Builtin::kClip:
      return CLIP();
    case Builtin::kLower:
      return LOWER();
    case Builtin::kUpper:
      return UPPER();
    case Builtin::kSub:
      return SUB(LongArgument(call, 1, 1), LongArgument(call, 2, INT32_MAX));  // default: the rest
    case Builtin::kDeformat:
    case Builtin::kFormat:
      return ApplyPicture(call);
    default:
      stack.Pop();
      return stack.PushEmpty();
  }
}

}  // namespace

int32_t CallBuiltinLong(const ExprNode& call) {
  ValueStack& stack = Values();
  switch (call.function) {
    case Builtin::kBand:
      return LongArgument(call, 0, 0) & LongArgument(call, 1, 0);
    case Builtin::kBor:
      return LongArgument(call, 0, 0) | LongArgument(call, 1, 0);
    case Builtin::kBxor:
      return LongArgument(call, 0, 0) ^ LongArgument(call, 1, 0);
    case Builtin::kBshift:
      return ShiftBits(LongArgument(call, 0, 0), LongArgument(call, 1, 0));
    case Builtin::kClock:
      return Clock();
    case Builtin::kToday:
      return Today();
    case Builtin::kDate:
      return BuildDate(LongArgument(call, 0, 0), LongArgument(call, 1, 0),
                       LongArgument(call, 2, 0));
    case Builtin::kDay:
      return DatePart(LongArgument(call, 0, 0), &CalendarDate::day);
    case Builtin::kMonth:
      return DatePart(LongArgument(call, 0, 0), &CalendarDate::month);
    case Builtin::kYear:
      return DatePart(LongArgument(call, 0, 0), &CalendarDate::year);
    case Builtin::kInrange:
      return InRange(RealArgument(call, 0), RealArgument(call, 1), RealArgument(call, 2));
    case Builtin::kInstring: {
      int32_t step = LongArgument(call, 2, 0);
      int32_t start = LongArgument(call, 3, 1);
      PushValue(Argument(call, 1));
      PushValue(Argument(call, 0));
      return INSTRING(step, start);
    }
    case Builtin::kInt:
      return TruncateToLong(RealArgument(call, 0));
    case Builtin::kLen:
      PushValue(Argument(call, 0));
      return static_cast<int32_t>(stack.PopLength());
    case Builtin::kMemory:
      return MemoryFigure();
    case Builtin::kNumeric:
      PushValue(Argument(call, 0));
      return NUMERIC() ? 1 : 0;
    case Builtin::kRandom:
      return RandomBetween(LongArgument(call, 0, 0), LongArgument(call, 1, 0));
    case Builtin::kVal: {
      PushValue(Argument(call, 0));
      std::string_view text = stack.Top();
      int32_t code = text.empty() ? 0 : static_cast<uint8_t>(text.front());
      stack.Pop();
      return code;
    }
    default:
      return TruncateToLong(CallBuiltinReal(call));
  }
}

double CallBuiltinReal(const ExprNode& call) {
  if (call.function == Builtin::kRound) {
    return RoundTo(RealArgument(call, 0), RealArgument(call, 1));
  }
  if (BuiltinInfo(call.function).resultClass == ResultClass::kInteger) {
    return CallBuiltinLong(call);
  }
  return MathFunction(call.function, RealArgument(call, 0));
}

void PushBuiltinText(const ExprNode& call) {
  ValueStack& stack = Values();
  switch (call.function) {
    case Builtin::kAge:
      return stack.PushCopy(AgeText(LongArgument(call, 0, 0), LongArgument(call, 1, kNoLength)));
    case Builtin::kChr: {
      char c = static_cast<char>(LongArgument(call, 0, 0) & 0xFF);
      return stack.PushCopy(std::string_view(&c, 1));
    }
    default:
      return PushTextFunction(call);
  }
}

}  // namespace rk
