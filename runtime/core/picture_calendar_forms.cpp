#include "runtime/core/picture_calendar_forms.h"

namespace rk {
namespace {

// A compact notation for the fixed forms, one character per element:
//   m month digit  d day digit  y year digit  N month-name letter
//   h hour digit   n minute digit  s second digit  A the two AM/PM positions
//   / , : separators (_ a space separator)
//   an upper-case field letter (M, D, H) is a digit blank while zero; any other
//   character is a literal.
PictureForm FromPattern(const char* pattern) {
  PictureForm form;
  for (const char* p = pattern; *p; ++p) {
    switch (*p) {
      case 'M':
        form.push_back({' ', kMonthDigit});
        break;
      case 'm':
        form.push_back({'0', kMonthDigit});
        break;
      case 'D':
        form.push_back({' ', kDayDigit});
        break;
      case 'd':
        form.push_back({'0', kDayDigit});
        break;
      case 'y':
        form.push_back({'0', kYearDigit});
        break;
      case 'N':
        form.push_back({' ', kMonthLetter});
        break;
      case 'H':
        form.push_back({' ', kHourDigit});
        break;
      case 'h':
        form.push_back({'0', kHourDigit});
        break;
      case 'n':
        form.push_back({'0', kMinuteDigit});
        break;
      case 's':
        form.push_back({'0', kSecondDigit});
        break;
      case 'A':
        form.push_back({'A', kDayPeriod});
        form.push_back({'M', kLiteral});
        break;
      case '/':
        form.push_back({'/', kSeparator});
        break;
      case ',':
        form.push_back({',', kSeparator});
        break;
      case ':':
        form.push_back({':', kSeparator});
        break;
      case '_':
        form.push_back({' ', kSeparator});
        break;
      default:
        form.push_back({static_cast<uint8_t>(*p), kLiteral});
    }
  }
  return form;
}

constexpr const char* kDatePatterns[] = {
    nullptr,
    "Mm/dd/yy",               // 1
    "Mm/dd/yyyy",             // 2
    "NNN Dd,yyyy",            // 3
    "NNNNNNNNNNNN Dd, yyyy",  // 4
    "Dd/mm/yy",               // 5
    "Dd/mm/yyyy",             // 6
    "Dd_NNN_yy",              // 7
    "Dd_NNN_yyyy",            // 8
    "yy/mm/dd",               // 9
    "yyyy/mm/dd",             // 10
    "yymmdd",                 // 11
    "yyyymmdd",               // 12
    "mm/yy",                  // 13
    "mm/yyyy",                // 14
    "yy/mm",                  // 15
    "yyyy/mm",                // 16
};

constexpr const char* kTimePatterns[] = {
    nullptr,
    "Hh:nn",      // 1
    "Hhnn",       // 2
    "Hh:nnA",     // 3
    "Hh:nn:ss",   // 4
    "Hhnnss",     // 5
    "Hh:nn:ssA",  // 6
};

}  // namespace

PictureForm DateFormLayout(int form) {
  if (form >= 1 && form <= 16) return FromPattern(kDatePatterns[form]);
  if (form == 17 || form == 18) return EnvironmentDateForm(form);
  return {};
}

PictureForm TimeFormLayout(int form) {
  if (form >= 1 && form <= 6) return FromPattern(kTimePatterns[form]);
  if (form == 7 || form == 8) return EnvironmentTimeForm(form);
  return {};
}

}  // namespace rk
