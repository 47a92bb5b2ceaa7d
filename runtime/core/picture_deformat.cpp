// Reads typed text back through a picture: the text and the element table are
// walked together. The result is the value as text: a number's digits with an
// optional '-', '.' and exponent; a date's day number; a time's time value.
#include <string>

#include "runtime/core/calendar_names.h"
#include "runtime/core/collation.h"
#include "runtime/core/day_number.h"
#include "runtime/core/picture_format.h"
#include "runtime/core/picture_typed_fields.h"

namespace rk {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads the typed text position by position; past its end every position is a space.
class TypedText {
 public:
  explicit TypedText(std::string_view text) : text_(text) {}
  char Peek() const { return pos_ < text_.size() ? text_[pos_] : ' '; }
  char Next() { return pos_ < text_.size() ? text_[pos_++] : (++pos_, ' '); }
  std::string_view Rest() const {
    return pos_ < text_.size() ? text_.substr(pos_) : std::string_view();
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// A string picture (or none): any number found anywhere in the text. An 'E' or
// 'e' counts as the exponent only once a digit has been read, so that the
// letters of a word before the number ("Price 12") do not turn it into zero.
std::string ScanForNumber(std::string_view text) {
  std::string digits;
  bool negative = false;
  bool seenPoint = false;
  bool seenExponent = false;
  bool seenDigit = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (IsDigit(c)) {
      digits += c;
      seenDigit = true;
    } else if (c == '.' && !seenPoint) {
      digits += c;
      seenPoint = true;
    } else if ((c == 'E' || c == 'e') && !seenExponent && seenDigit) {
      digits += c;
      seenExponent = true;
      if (i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-')) digits += text[++i];
    } else if (c == '-') {
      negative = true;
    }
  }
  return negative ? "-" + digits : digits;
}

class NumberReader {
 public:
  std::string Read(std::string_view text, const CompiledPicture& picture) {
    TypedText typed(text);
    for (int i = 0; i < picture.Width(); ++i) {
      uint8_t code = picture.Code(i);
      if (code == kImpliedPoint) continue;  // takes no position in the text
      char c = typed.Next();
      bool pointFollows = i + 1 < picture.Width() && picture.Code(i + 1) == kImpliedPoint;
      ReadPosition(code, c);
      if (pointFollows) digits_ += '.';
    }
    return negative_ ? "-" + digits_ : digits_;
  }

 private:
  void ReadPosition(uint8_t code, char c) {
    switch (code) {
      case kDigitShown:
      case kDigitBlank:
        if (c == ' ') c = '0';
        [[fallthrough]];
      case kGrouping:
      case kSign:
        ReadSignOrDigit(c);
        break;
      case kDecimalPoint:
        digits_ += '.';
        break;
      case kExponentSign:
        digits_ += 'e';
        digits_ += c == '-' ? '-' : '+';
        break;
      case kKeyInAny:
      case kKeyInCaret:
      case kKeyInUnderscore:
      case kKeyInQuestion:
      case kKeyInBar:
        digits_ += c;
        break;
      default:  // literals and currency
        break;
    }
  }

  void ReadSignOrDigit(char c) {
    if (c == '-' || c == '(') {
      negative_ = true;
    } else if (c == '+') {
      negative_ = false;
    } else if (IsDigit(c)) {
      digits_ += c;
    }
  }

  std::string digits_;
  bool negative_ = false;
};

class CalendarReader {
 public:
  explicit CalendarReader(const CompiledPicture& picture) : picture_(picture) {}

  TypedFields Read(std::string_view text) {
    TypedText typed(text);
    for (int i = 0; i < picture_.Width();) {
      uint8_t code = picture_.Code(i);
      int run = RunLength(i);
      if (code == kMonthLetter) {
        ReadMonthName(typed, run);
      } else if (code >= kMonthDigit && code <= kSecondDigit) {
        ReadField(typed, code, run);
      } else if (code == kDayPeriod) {
        ReadDayPeriod(typed.Next());
        run = 1;
      } else {
        typed.Next();
        run = 1;
      }
      i += run;
    }
    return fields_;
  }

 private:
  int RunLength(int i) const {
    int end = i + 1;
    while (end < picture_.Width() && picture_.Code(end) == picture_.Code(i)) ++end;
    return end - i;
  }

  void ReadField(TypedText& typed, uint8_t code, int run) {
    fields_.digits[code] += run;
    for (int k = 0; k < run; ++k) {
      char c = typed.Next();
      if (!IsDigit(c)) continue;
      fields_.values[code] = fields_.values[code] * 10 + (c - '0');
      fields_.present[code] = true;
    }
  }

  // A month name is written only as long as it is, so the text holds the name's
  // letters and then whatever follows the field.
  void ReadMonthName(TypedText& typed, int run) {
    if (int32_t month = MatchMonthName(typed.Rest())) {
      fields_.values[kMonthDigit] = month;
      fields_.present[kMonthDigit] = true;
    }
    for (int k = 0; k < run; ++k) {
      char c = typed.Peek();
      if (c == ' ' || IsDigit(c) || typed.Rest().empty()) break;
      typed.Next();
    }
  }

  void ReadDayPeriod(char c) {
    const DayPeriodTexts& periods =
        picture_.Variant() ? InternationalDayPeriods() : RuntimeDayPeriods();
    auto same = [c](const std::string& text) {
      return !text.empty() &&
             ToUpper(static_cast<uint8_t>(c)) == ToUpper(static_cast<uint8_t>(text[0]));
    };
    if (same(periods.pm)) {
      fields_.pm = true;
    } else if (same(periods.am)) {
      fields_.am = true;
    }
  }

  const CompiledPicture& picture_;
  TypedFields fields_;
};

}  // namespace

int32_t MatchMonthName(std::string_view typed) {
  char head[kShortMonthNameLength + 1] = {};
  for (size_t i = 0; i < kShortMonthNameLength && i < typed.size(); ++i) head[i] = typed[i];
  for (int month = 1; month <= 12; ++month) {
    std::string_view name = ShortMonthName(month);
    if (name.empty()) continue;
    char candidate[kShortMonthNameLength + 1] = {};
    name.copy(candidate, kShortMonthNameLength);
    if (CompareCountedNoCase(head, candidate, kShortMonthNameLength) == 0) return month;
  }
  return 0;
}

std::string DateValue(const TypedFields& f) {
  bool month = f.present[kMonthDigit];
  bool day = f.present[kDayDigit];
  bool year = f.present[kYearDigit];
  if (!month && !day && !year) return "0";
  int32_t yearValue = f.values[kYearDigit];
  if (f.digits[kYearDigit] <= 2) yearValue += 1900;
  // Forms without a day field stand for the first of the month.
  int32_t dayValue = f.digits[kDayDigit] == 0 && month && year ? 1 : f.values[kDayDigit];
  return std::to_string(BuildDate(f.values[kMonthDigit], dayValue, yearValue));
}

std::string TimeValue(const TypedFields& f) {
  int32_t hours = f.values[kHourDigit];
  int32_t minutes = f.values[kMinuteDigit];
  int32_t seconds = f.values[kSecondDigit];
  if (f.pm && hours != 12) hours += 12;
  if (f.am && hours == 12) hours = 0;
  if (hours >= 24 || minutes >= 60 || seconds >= 60) return "-1";
  if (!f.present[kHourDigit] && !f.present[kMinuteDigit] && !f.present[kSecondDigit]) return "0";
  return std::to_string(hours * 360000 + minutes * 6000 + seconds * 100 + 1);
}

std::string Deformat(std::string_view text, const CompiledPicture* picture) {
  if (picture == nullptr) return ScanForNumber(text);
  if (!picture->IsValid()) return std::string(text);
  switch (picture->Kind()) {
    case PictureKind::kString:
      return ScanForNumber(text);
    case PictureKind::kDate:
      return DateValue(CalendarReader(*picture).Read(text));
    case PictureKind::kTime:
      return TimeValue(CalendarReader(*picture).Read(text));
    default:
      return NumberReader().Read(text, *picture);
  }
}

}  // namespace rk
