// The month names and AM/PM texts that pictures write and read back.
//
// Long names (up to 12 characters) are what every formatted month name is taken
// from; short names (up to 3 characters) are what typed month names are matched
// against. The runtime's AM/PM pair serves every time picture except the
// environment's own time forms, which use the pair of the system's international
// settings. All are set at start-up (environment file, international settings)
// and only read afterwards.
#pragma once

#include <string>
#include <string_view>

namespace rk {

inline constexpr size_t kLongMonthNameLength = 12;
inline constexpr size_t kShortMonthNameLength = 3;
inline constexpr size_t kDayPeriodTextLength = 2;

// month 1-12; anything else gives the empty text.
std::string_view LongMonthName(int month);
std::string_view ShortMonthName(int month);
// Texts are cut to their table's length.
void SetLongMonthName(int month, std::string_view name);
void SetShortMonthName(int month, std::string_view name);

struct DayPeriodTexts {
  std::string am = "AM";
  std::string pm = "PM";
};

// "AM"/"PM" unless the environment file replaces them.
const DayPeriodTexts& RuntimeDayPeriods();
// The texts of the system's international settings, for time forms 7 and 8.
const DayPeriodTexts& InternationalDayPeriods();
void SetRuntimeDayPeriods(std::string_view am, std::string_view pm);
void SetInternationalDayPeriods(std::string_view am, std::string_view pm);

// Back to the built-in English names and "AM"/"PM" for both pairs.
void ResetCalendarNames();

}  // namespace rk
