#include "runtime/core/age_text.h"

#include "runtime/core/day_number.h"

namespace rk {
namespace {

const std::string& Unplaceable() {
  static const std::string stars(255, '*');
  return stars;
}

// A birth after the base is taken as a birth a century earlier.
bool PlaceBirthBeforeBase(int32_t& birthDay, int32_t baseDay) {
  if (birthDay <= baseDay) return true;
  CalendarDate birth;
  if (!DayToDate(birthDay, birth)) return false;
  birthDay = DateToDay(birth.year - 100, birth.month, birth.day);
  return birthDay >= 0 && birthDay <= baseDay;
}

}  // namespace

std::string AgeText(int32_t birthDay, int32_t baseDay) {
  if (baseDay == -1) baseDay = Today();
  CalendarDate base;
  CalendarDate birth;
  if (!DayToDate(baseDay, base) || !PlaceBirthBeforeBase(birthDay, baseDay) ||
      !DayToDate(birthDay, birth)) {
    return Unplaceable();
  }
  int32_t days = baseDay - birthDay;
  if (days < 61) return std::to_string(days) + " DAYS";
  int32_t months = (base.year - birth.year) * 12 + (base.month - birth.month);
  if (base.day < birth.day) --months;
  if (months <= 24) return std::to_string(months) + " MOS";
  int32_t years = base.year - birth.year;
  if (base.month < birth.month || (base.month == birth.month && base.day < birth.day)) --years;
  return std::to_string(years) + " YRS";
}

}  // namespace rk
