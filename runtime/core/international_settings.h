// The system's international settings (clock, AM/PM texts, short and long date
// formats) and the picture forms built from them: time forms 7 (short) and 8
// (long), date forms 17 (short) and 18 (long).
//
// The settings are read once at start-up, before the environment file, and only
// read afterwards.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/core/picture.h"

namespace rk {

struct InternationalSettings {
  int clockFormat = 0;              // "iTime": 0 = 12-hour clock with AM/PM appended, else 24-hour
  int hourLeadingZero = 1;          // "iTLzero": non-zero keeps the hour's leading zero
  std::string timeSeparator = ":";  // "sTime"
  std::string amText = "AM";        // "s1159"
  std::string pmText = "PM";        // "s2359"
  std::string shortDate = "MM/dd/yy";                 // "sShortDate"
  std::string longDate = "ddd', 'MMMM' 'dd', 'yyyy";  // "sLongDate"
};

using PictureForm = std::vector<PictureElement>;

// The profile keys of the system's section "intl", defaults where a key is missing.
InternationalSettings ReadInternationalSettings();

// Builds the four environment forms and installs the AM/PM texts of the
// environment time forms. Until it is called the defaults apply.
void ApplyInternationalSettings(const InternationalSettings& settings);
const InternationalSettings& CurrentInternationalSettings();

// Element tables of the environment forms: time 7 or 8, date 17 or 18. Any other
// form number gives an empty table.
const PictureForm& EnvironmentTimeForm(int form);
const PictureForm& EnvironmentDateForm(int form);

// Hour, separator, minutes, with form 8 separator and seconds, and with a
// 12-hour clock a space and the AM/PM positions.
PictureForm BuildTimeForm(const InternationalSettings& settings, bool withSeconds);
// Date form 17 from a short date format such as "MM/dd/yy" or "dd.MM.yyyy".
PictureForm BuildShortDateForm(std::string_view format);
// Date form 18 from a long date format such as "dddd, d. MMMM yyyy". Day, month
// and year appear in the order the format names them, the month as its name
// ("MMM" three letters, "MMMM" up to twelve) or as digits ("M", "MM"), with the
// format's literal texts between them. A weekday ("ddd", "dddd") has no element
// of its own, so it is left out, and so is literal text before the first or
// after the last of the three fields. A format without any of the three fields
// gives the form of the default format.
PictureForm BuildLongDateForm(std::string_view format);

}  // namespace rk
