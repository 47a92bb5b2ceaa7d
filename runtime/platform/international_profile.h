// The system's international settings as the runtime reads them: the keys of the
// profile section "intl" ("iTime", "iTLzero", "sTime", "s1159", "s2359",
// "sShortDate", "sLongDate"), translated from the POSIX time locale.
//
// The "C" and "POSIX" locales say nothing of their own, so every key keeps the
// caller's default there; so does any key the locale leaves empty.
#pragma once

#include <string>
#include <string_view>

namespace rk::platform {

// The locale facts the translation reads (nl_langinfo of the time category),
// as Windows-1252 texts.
struct TimeLocale {
  std::string name;            // the locale's name, e.g. "de_DE.UTF-8" or "C"
  std::string dateFormat;      // D_FMT, e.g. "%d.%m.%Y"
  std::string timeFormat;      // T_FMT, e.g. "%H:%M:%S" or "%I:%M:%S %p"
  std::string dateTimeFormat;  // D_T_FMT, e.g. "%a %d %b %Y %r %Z"
  std::string amText;          // AM_STR
  std::string pmText;          // PM_STR
};

// The time locale of the process (LC_TIME as set by setlocale).
TimeLocale CurrentTimeLocale();

// The value of a key of section "intl" under a locale; the default when the
// locale says nothing about it or the key is unknown.
std::string InternationalValue(const TimeLocale& locale, std::string_view key,
                               std::string_view defaultValue);

// The same for the process's current locale.
std::string ProfileString(std::string_view section, std::string_view key,
                          std::string_view defaultValue);

}  // namespace rk::platform
