#include "runtime/core/calendar_names.h"

#include <array>

namespace rk {
namespace {

constexpr std::array<const char*, 12> kEnglishMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

struct CalendarNames {
  std::array<std::string, 12> longNames;
  std::array<std::string, 12> shortNames;
  DayPeriodTexts runtimePeriods;
  DayPeriodTexts internationalPeriods;

  CalendarNames() {
    for (size_t i = 0; i < 12; ++i) {
      longNames[i] = kEnglishMonths[i];
      shortNames[i] = longNames[i].substr(0, kShortMonthNameLength);
    }
  }
};

CalendarNames& Names() {
  static CalendarNames names;
  return names;
}

bool IsMonth(int month) {
  return month >= 1 && month <= 12;
}

DayPeriodTexts CutPeriods(std::string_view am, std::string_view pm) {
  return {std::string(am.substr(0, kDayPeriodTextLength)),
          std::string(pm.substr(0, kDayPeriodTextLength))};
}

}  // namespace

std::string_view LongMonthName(int month) {
  return IsMonth(month) ? std::string_view(Names().longNames[month - 1]) : std::string_view();
}

std::string_view ShortMonthName(int month) {
  return IsMonth(month) ? std::string_view(Names().shortNames[month - 1]) : std::string_view();
}

void SetLongMonthName(int month, std::string_view name) {
  if (IsMonth(month)) Names().longNames[month - 1] = name.substr(0, kLongMonthNameLength);
}

void SetShortMonthName(int month, std::string_view name) {
  if (IsMonth(month)) Names().shortNames[month - 1] = name.substr(0, kShortMonthNameLength);
}

const DayPeriodTexts& RuntimeDayPeriods() {
  return Names().runtimePeriods;
}
const DayPeriodTexts& InternationalDayPeriods() {
  return Names().internationalPeriods;
}

void SetRuntimeDayPeriods(std::string_view am, std::string_view pm) {
  Names().runtimePeriods = CutPeriods(am, pm);
}

void SetInternationalDayPeriods(std::string_view am, std::string_view pm) {
  Names().internationalPeriods = CutPeriods(am, pm);
}

void ResetCalendarNames() {
  Names() = CalendarNames();
}

}  // namespace rk
