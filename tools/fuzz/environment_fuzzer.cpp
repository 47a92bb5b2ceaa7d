// Environment files from any bytes: every line that parses is applied, and the
// settings it changed must then serve dates, times, message texts and ordering
// without harm. The order of texts must stay an order: a before b exactly when
// b is after a.
#include <algorithm>
#include <string>
#include <string_view>

#include "runtime/core/calendar_names.h"
#include "runtime/core/collation.h"
#include "runtime/core/day_number.h"
#include "runtime/core/environment_file.h"
#include "runtime/core/error_state.h"
#include "runtime/core/picture_format.h"
#include "runtime/platform/code_page.h"
#include "tools/fuzz/fuzz_inputs.h"

namespace rk::fuzz {
namespace {

void Reset() {
  ResetCalendarNames();
  ResetCharacterSets();
  ClearMessageOverrides();
  ClearError();
}

int Sign(int x) {
  return (x > 0) - (x < 0);
}

void UseSettings(std::string_view text) {
  std::string day = std::to_string(DateToDay(1995, 10, 3));
  for (const char* picture : {"@D4", "@D7", "@D17", "@T3", "@T8"}) FormatText(day, picture);
  Deformat(" 3 OCT 95", "@D7");
  for (int32_t code : {2, 33, 801, 90}) MessageText(code);
  // Two texts cut from the input itself, so that the fuzzer can aim at the
  // characters it just reordered.
  std::string a(text.substr(0, text.size() / 2));
  std::string b(text.substr(text.size() / 2));
  a.erase(std::find(a.begin(), a.end(), '\0'), a.end());
  b.erase(std::find(b.begin(), b.end(), '\0'), b.end());
  if (Sign(CompareCollated(a.c_str(), b.c_str())) != -Sign(CompareCollated(b.c_str(), a.c_str())))
    Broken();
  if (Sign(CompareCollatedNoCase(a.c_str(), b.c_str())) !=
      -Sign(CompareCollatedNoCase(b.c_str(), a.c_str())))
    Broken();
  std::string key = a;
  MakeSortKey(key.data(), key.size());
  UpperBuffer(a.data(), a.size());
  LowerBuffer(b.data(), b.size());
}

}  // namespace

int EnvironmentInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  Reset();
  ApplyEnvironmentSettings(ParseEnvironmentText(text));
  UseSettings(text);
  Reset();
  return 0;
}

}  // namespace rk::fuzz
