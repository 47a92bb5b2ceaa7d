#include "runtime/core/string_functions.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "runtime/core/clipped_text.h"
#include "runtime/core/collation.h"
#include "runtime/core/number_text.h"
#include "runtime/core/text_length_limit.h"
#include "runtime/core/value_stack.h"

namespace rk {
namespace {

constexpr size_t kDefaultAllLength = 255;
constexpr size_t kNumericLimit = 39;

// The requested length, or the text's own length when it was left out.
size_t LengthOr(int32_t length, size_t fallback) {
  if (length == kNoLength) return fallback;
  return length < 0 ? 0 : static_cast<size_t>(length);
}

// A result longer than any text may be is refused before it is built: the
// empty text replaces the top, as after an allocation that failed.
bool Refused(size_t width) {
  if (TextLengthAllowed(width)) return false;
  Values().Pop();
  Values().PushEmpty();
  return true;
}

void ReplaceTop(const std::string& text) {
  Values().Pop();
  Values().PushCopy(text);
}

}  // namespace

void CLIP() {
  Values().SetTopLength(ClipRight(Values().Top()).size());
}

void LEFT(int32_t length) {
  std::string_view text = Values().Top();
  size_t width = LengthOr(length, text.size());
  if (Refused(width)) return;
  size_t leading = std::min(text.find_first_not_of(' '), text.size());
  std::string result(text.substr(leading));
  result.resize(text.size(), ' ');
  result.resize(width, ' ');
  ReplaceTop(result);
}

void RIGHT(int32_t length) {
  std::string_view text = Values().Top();
  size_t width = LengthOr(length, text.size());
  if (Refused(width)) return;
  std::string_view content = ClipRight(text);
  if (content.size() > width) content.remove_prefix(content.size() - width);
  std::string result(width - content.size(), ' ');
  result += content;
  ReplaceTop(result);
}

void CENTER(int32_t length) {
  std::string_view text = Values().Top();
  size_t width = LengthOr(length, text.size());
  if (Refused(width)) return;
  std::string_view content = ClipBoth(text);
  std::string result;
  if (content.size() <= width) {
    size_t spare = width - content.size();
    result.assign((spare + 1) / 2, ' ');
    result += content;
    result.resize(width, ' ');
  } else {
    size_t excess = content.size() - width;
    result = content.substr((excess + 1) / 2, width);
  }
  ReplaceTop(result);
}

void SUB(int32_t start, int32_t length) {
  std::string_view text = Values().Top();
  int64_t size = static_cast<int64_t>(text.size());
  int64_t first = start < 0 ? size + start + 1 : start;
  first = std::max<int64_t>(first, 1);
  if (first > size || length <= 0) {
    Values().Pop();
    Values().PushEmpty();
    return;
  }
  ReplaceTop(std::string(text.substr(static_cast<size_t>(first - 1), static_cast<size_t>(length))));
}

void UPPER() {
  ValueStack& values = Values();
  if (char* text = values.WritableTop()) UpperBuffer(text, values.TopLength());
}

void LOWER() {
  ValueStack& values = Values();
  if (char* text = values.WritableTop()) LowerBuffer(text, values.TopLength());
}

int32_t INSTRING(int32_t step, int32_t start) {
  std::string_view sub = Values().Peek(0);
  std::string_view text = Values().Peek(1);
  int32_t result = 0;
  if (step == 0) step = static_cast<int32_t>(sub.size());
  int64_t last = static_cast<int64_t>(text.size()) - static_cast<int64_t>(sub.size()) + 1;
  if (!sub.empty() && start > 0 && step != 0 && last >= 1) {
    int64_t position = start;
    // Searching backwards from beyond the end: go straight to the first
    // position in reach instead of stepping through the ones that are not.
    if (step < 0 && position > last) position -= (position - last - step - 1) / -step * -step;
    for (; position >= 1 && (step < 0 || position <= last); position += step) {
      if (position <= last && text.compare(position - 1, sub.size(), sub) == 0) {
        result = static_cast<int32_t>((position - 1) / step + 1);
        break;
      }
    }
  }
  Values().Pop();
  Values().Pop();
  return result;
}

void ALL(int32_t length) {
  std::string_view text = Values().Top();
  size_t width = length == 0 ? kDefaultAllLength : length < 0 ? 0 : static_cast<size_t>(length);
  if (Refused(width)) return;
  std::string result;
  if (!text.empty()) {
    // Doubling what is already there: a long fill takes a few copies, not one
    // append per repetition.
    result.reserve(width);
    result.append(text.substr(0, width));
    while (result.size() < width) result.append(result, 0, width - result.size());
  }
  ReplaceTop(result);
}

bool NUMERIC() {
  std::string_view text = ClipRight(Values().Top()).substr(0, kNumericLimit);
  bool numeric = text.empty() || NumberPrefixLength(text) == text.size();
  Values().Pop();
  return numeric;
}

int32_t LEN() {
  return static_cast<int32_t>(Values().PopLength());
}

}  // namespace rk
