#include "runtime/core/international_settings.h"

#include <cstdlib>

#include "runtime/core/calendar_names.h"
#include "runtime/platform/international_profile.h"

namespace rk {
namespace {

struct EnvironmentForms {
  InternationalSettings settings;
  PictureForm shortTime;
  PictureForm longTime;
  PictureForm shortDate;
  PictureForm longDate;

  explicit EnvironmentForms(const InternationalSettings& from)
      : settings(from),
        shortTime(BuildTimeForm(from, false)),
        longTime(BuildTimeForm(from, true)),
        shortDate(BuildShortDateForm(from.shortDate)),
        longDate(BuildLongDateForm(from.longDate)) {}
};

EnvironmentForms& Forms() {
  static EnvironmentForms forms{InternationalSettings()};
  return forms;
}

const PictureForm& NoForm() {
  static const PictureForm empty;
  return empty;
}

std::string Profile(const char* key, std::string_view defaultValue) {
  return platform::ProfileString("intl", key, defaultValue);
}

}  // namespace

InternationalSettings ReadInternationalSettings() {
  InternationalSettings defaults;
  InternationalSettings settings;
  settings.clockFormat = std::atoi(Profile("iTime", "0").c_str());
  settings.hourLeadingZero = std::atoi(Profile("iTLzero", "1").c_str());
  settings.timeSeparator = Profile("sTime", defaults.timeSeparator).substr(0, 1);
  settings.amText = Profile("s1159", defaults.amText);
  settings.pmText = Profile("s2359", defaults.pmText);
  settings.shortDate = Profile("sShortDate", defaults.shortDate);
  settings.longDate = Profile("sLongDate", defaults.longDate);
  return settings;
}

void ApplyInternationalSettings(const InternationalSettings& settings) {
  Forms() = EnvironmentForms(settings);
  SetInternationalDayPeriods(settings.amText, settings.pmText);
}

const InternationalSettings& CurrentInternationalSettings() {
  return Forms().settings;
}

const PictureForm& EnvironmentTimeForm(int form) {
  if (form == 7) return Forms().shortTime;
  if (form == 8) return Forms().longTime;
  return NoForm();
}

const PictureForm& EnvironmentDateForm(int form) {
  if (form == 17) return Forms().shortDate;
  if (form == 18) return Forms().longDate;
  return NoForm();
}

}  // namespace rk
