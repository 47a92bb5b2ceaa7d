// Writes day numbers through date pictures and time values through time pictures.
#include "runtime/core/calendar_names.h"
#include "runtime/core/day_number.h"
#include "runtime/core/picture_output.h"
#include "runtime/core/time_value.h"

namespace rk {
namespace {

struct CalendarFields {
  int32_t month = 0;
  int32_t day = 0;
  int32_t year = 0;
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
};

bool HasDayPeriod(const CompiledPicture& picture) {
  for (int i = 0; i < picture.Width(); ++i) {
    if (picture.Code(i) == kDayPeriod) return true;
  }
  return false;
}

bool ReadFields(int32_t value, const CompiledPicture& picture, CalendarFields& fields) {
  if (picture.Kind() == PictureKind::kDate) {
    CalendarDate date;
    if (!DayToDate(value, date)) return false;
    fields.month = date.month;
    fields.day = date.day;
    fields.year = date.year;
    return true;
  }
  ClockTime time;
  if (!ValueToTime(value, time)) return false;
  fields.hour = time.hours;
  fields.minute = time.minutes;
  fields.second = time.seconds;
  return true;
}

int32_t FieldValue(uint8_t code, const CalendarFields& fields, int digits, bool twelveHour) {
  switch (code) {
    case kMonthDigit:
      return fields.month;
    case kDayDigit:
      return fields.day;
    case kYearDigit:
      return digits <= 2 ? fields.year % 100 : fields.year;
    case kHourDigit:
      if (!twelveHour) return fields.hour;
      return fields.hour % 12 == 0 ? 12 : fields.hour % 12;
    case kMinuteDigit:
      return fields.minute;
    default:
      return fields.second;
  }
}

// Letters of the upper-case form. Month names come from the name table, which
// the environment file may fill with letters beyond ASCII.
char UpperLetter(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

class CalendarWriter {
 public:
  CalendarWriter(const CompiledPicture& picture, const CalendarFields& fields)
      : picture_(picture),
        fields_(fields),
        twelveHour_(HasDayPeriod(picture)),
        out_(picture.Width()) {}

  std::string Write() {
    int width = picture_.Width();
    for (int i = 0; i < width;) {
      uint8_t code = picture_.Code(i);
      int run = RunLength(i);
      if (code >= kMonthDigit && code <= kSecondDigit && code != kMonthLetter) {
        WriteField(i, run);
        i += run;
      } else if (code == kMonthLetter) {
        WriteMonthName(run);
        i += run;
      } else if (code == kDayPeriod) {
        i += WriteDayPeriod(i);
      } else {
        out_.Put(static_cast<char>(picture_.Display(i++)));
      }
    }
    return out_.Finish();
  }

 private:
  int RunLength(int i) const {
    int end = i + 1;
    while (end < picture_.Width() && picture_.Code(end) == picture_.Code(i)) ++end;
    return end - i;
  }

  // Most significant digit first; a leading zero shows the element's display
  // character, except in the field's last position.
  void WriteField(int first, int digits) {
    int32_t value = FieldValue(picture_.Code(first), fields_, digits, twelveHour_);
    char text[kMaxPictureWidth];
    for (int k = digits - 1; k >= 0; --k) {
      text[k] = static_cast<char>('0' + value % 10);
      value /= 10;
    }
    bool leading = true;
    for (int k = 0; k < digits; ++k) {
      leading = leading && text[k] == '0' && k < digits - 1;
      out_.Put(leading ? static_cast<char>(picture_.Display(first + k)) : text[k]);
    }
  }

  // Only as many letters as the name has: the rest of the field is not padded.
  void WriteMonthName(int positions) {
    std::string_view name = LongMonthName(fields_.month);
    bool keepCase = picture_.Variant();
    for (int k = 0; k < positions && k < static_cast<int>(name.size()); ++k) {
      out_.Put(keepCase ? name[k] : UpperLetter(name[k]));
    }
  }

  // Returns the number of elements written: the indicator and the position of
  // its second letter.
  int WriteDayPeriod(int i) {
    const DayPeriodTexts& periods =
        picture_.Variant() ? InternationalDayPeriods() : RuntimeDayPeriods();
    const std::string& text = fields_.hour < 12 ? periods.am : periods.pm;
    out_.Put(text.empty() ? ' ' : text[0]);
    if (i + 1 >= picture_.Width()) return 1;
    out_.Put(text.size() > 1 ? text[1] : ' ');
    return 2;
  }

  const CompiledPicture& picture_;
  const CalendarFields& fields_;
  bool twelveHour_;
  PictureOutput out_;
};

}  // namespace

std::string FormatCalendarPicture(int32_t value, const CompiledPicture& picture) {
  CalendarFields fields;
  if ((value == 0 && picture.BlankWhenZero()) || !ReadFields(value, picture, fields)) {
    return PictureOutput(picture.Width()).Blank();
  }
  return CalendarWriter(picture, fields).Write();
}

}  // namespace rk
