// Applies the keys of an environment file to the runtime's tables.
#include <charconv>

#include "runtime/core/calendar_names.h"
#include "runtime/core/collation.h"
#include "runtime/core/environment_file.h"
#include "runtime/core/error_state.h"
#include "runtime/core/international_settings.h"
#include "runtime/platform/code_page.h"

namespace rk {
namespace {

constexpr int32_t kFirstButtonTextId = 32512;
constexpr std::string_view kMessagePrefix = "QVNMSG";

bool IsWindows(std::string_view item) {
  return SameEnvironmentKey(item, "WINDOWS");
}

std::string OemToAnsiText(std::string_view text) {
  std::string converted(text);
  platform::OemToAnsiBuffer(converted.data(), converted.size());
  return converted;
}

class SettingsApplier {
 public:
  void Apply(const EnvironmentSetting& setting) {
    const std::string& key = setting.key;
    if (SameEnvironmentKey(key, "QVNCOLSEQ")) {
      // The collating list is the one value taken as it stands.
      CollatingSequence(FirstItem(setting.value));
      return;
    }
    std::string value = oemText_ ? OemToAnsiText(setting.value) : setting.value;
    if (SameEnvironmentKey(key, "QVNCHARSET")) {
      CharacterSet(FirstItem(value));
    } else if (SameEnvironmentKey(key, "QVNCASE")) {
      CasePairs(EnvironmentItems(value, false));
    } else if (SameEnvironmentKey(key, "QVNMONTH")) {
      MonthNames(EnvironmentItems(value, false), SetLongMonthName);
    } else if (SameEnvironmentKey(key, "QVNMON")) {
      MonthNames(EnvironmentItems(value, false), SetShortMonthName);
    } else if (SameEnvironmentKey(key, "QVNAMPM")) {
      DayPeriods(EnvironmentItems(value, false));
    } else if (SameEnvironmentKey(key, "QVNDIGRAPH")) {
      Digraphs(EnvironmentItems(value, false));
    } else if (SameEnvironmentKey(key, "QVNBUTTON")) {
      ButtonTexts(EnvironmentItems(value, false));
    } else if (key.size() > kMessagePrefix.size() &&
               SameEnvironmentKey(std::string_view(key).substr(0, kMessagePrefix.size()),
                                  kMessagePrefix)) {
      MessageText(std::string_view(key).substr(kMessagePrefix.size()), FirstItem(value));
    }
  }

 private:
  static std::string FirstItem(std::string_view value) {
    std::vector<std::string> items = EnvironmentItems(value, true);
    return items.empty() ? std::string() : items.front();
  }

  void CharacterSet(std::string_view item) {
    oemText_ = SameEnvironmentKey(item, "OEM");
    SetOemData(oemText_);
  }

  void CollatingSequence(const std::string& list) {
    if (list.empty()) {
      SetBinaryCollation();
    } else if (IsWindows(list)) {
      SetSystemCollation();
    } else {
      SetCollatingList(oemText_ ? OemToAnsiText(list) : list);
    }
  }

  static void CasePairs(const std::vector<std::string>& items) {
    if (items.size() == 1 && items[0].empty()) {
      SetAsciiCasePairs();
    } else if (items.size() == 1 && IsWindows(items[0])) {
      SetSystemCasePairs();
    } else if (items.size() != 2 || !SetCasePairs(items[0], items[1])) {
      SetSystemCasePairs();  // a pair list that does not pair up
    }
  }

  // Empty items leave their month's name as it was.
  static void MonthNames(const std::vector<std::string>& items,
                         void (*set)(int, std::string_view)) {
    for (size_t i = 0; i < items.size() && i < 12; ++i) {
      if (!items[i].empty()) set(static_cast<int>(i) + 1, items[i]);
    }
  }

  static void DayPeriods(const std::vector<std::string>& items) {
    if (items.size() == 1 && IsWindows(items[0])) {
      const DayPeriodTexts& system = InternationalDayPeriods();
      SetRuntimeDayPeriods(system.am, system.pm);
    } else if (items.size() >= 2) {
      SetRuntimeDayPeriods(items[0], items[1]);
    }
  }

  // Groups of three characters, in one item or several.
  static void Digraphs(const std::vector<std::string>& items) {
    std::vector<Digraph> digraphs;
    for (const std::string& item : items) {
      for (size_t i = 0; i + 3 <= item.size() && digraphs.size() < kMaxDigraphs; i += 3) {
        auto at = [&](size_t k) { return static_cast<uint8_t>(item[i + k]); };
        digraphs.push_back({at(0), at(1), at(2)});
      }
    }
    SetDigraphs(digraphs);
  }

  static void ButtonTexts(const std::vector<std::string>& items) {
    for (size_t i = 0; i < items.size(); ++i) {
      if (!items[i].empty())
        SetMessageOverride(kFirstButtonTextId + static_cast<int32_t>(i), items[i]);
    }
  }

  static void MessageText(std::string_view number, const std::string& text) {
    int32_t id = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), id);
    if (error != std::errc() || end != number.data() + number.size() || id < 0) return;
    SetMessageOverride(id, text);
  }

  bool oemText_ = OemData();
};

}  // namespace

void ApplyEnvironmentSettings(const std::vector<EnvironmentSetting>& settings) {
  SettingsApplier applier;
  for (const EnvironmentSetting& setting : settings) applier.Apply(setting);
}

}  // namespace rk
