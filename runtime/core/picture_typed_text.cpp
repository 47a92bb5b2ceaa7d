#include "runtime/core/picture_typed_text.h"

#include <vector>

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
bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || static_cast<uint8_t>(c) >= 0xC0;
}

bool IsFixedPosition(uint8_t code) {
  return code == kDecimalPoint || code == kSeparator || code == kLiteral || code == kCurrency;
}

// The display character of the first element with the code; 0 when none.
char DisplayOf(const CompiledPicture& picture, uint8_t code) {
  for (int i = 0; i < picture.Width(); ++i) {
    if (picture.Code(i) == code) return static_cast<char>(picture.Display(i));
  }
  return 0;
}

// A number typed anywhere in the text: the picture's decimal character is the
// point, its grouping character is dropped, and a parenthesis marks a negative
// number as the picture would show it.
std::string ReadFreeNumber(std::string_view text, const CompiledPicture& picture) {
  const char point = DisplayOf(picture, kDecimalPoint);
  const char grouping = DisplayOf(picture, kGrouping);
  std::string normal;
  for (char c : text) {
    if (point != 0 && point != '.' && c == '.') continue;  // '.' groups where ',' is the point
    if (c == point) {
      normal += '.';
    } else if (c == '(') {
      normal += '-';
    } else if (grouping == 0 || c != grouping) {
      normal += c;
    }
  }
  return Deformat(normal, nullptr);
}

struct Token {
  std::string_view text;
  bool digits;
};

std::vector<Token> SplitIntoTokens(std::string_view text) {
  std::vector<Token> tokens;
  for (size_t i = 0; i < text.size();) {
    const bool digits = IsDigit(text[i]);
    if (!digits && !IsLetter(text[i])) {
      ++i;
      continue;
    }
    size_t end = i + 1;
    while (end < text.size() && (digits ? IsDigit(text[end]) : IsLetter(text[end]))) ++end;
    tokens.push_back({text.substr(i, end - i), digits});
    i = end;
  }
  return tokens;
}

// The picture's date or time fields in the order they are written.
std::vector<uint8_t> FieldOrder(const CompiledPicture& picture) {
  std::vector<uint8_t> order;
  for (int i = 0; i < picture.Width(); ++i) {
    const uint8_t code = picture.Code(i);
    const bool field = code >= kMonthDigit && code <= kSecondDigit;
    if (field && (order.empty() || order.back() != code)) order.push_back(code);
  }
  return order;
}

// Gives each field of the picture the next group of digits (a month written as
// a name takes the next word instead). Answers false for a group too long to be
// any field.
bool ReadFreeFields(std::string_view text, const CompiledPicture& picture, TypedFields& fields) {
  constexpr size_t kLongestField = 4;
  std::vector<Token> tokens = SplitIntoTokens(text);
  size_t nextDigits = 0;
  size_t nextWord = 0;
  auto nextOf = [&](bool digits, size_t& from) -> const Token* {
    while (from < tokens.size() && tokens[from].digits != digits) ++from;
    return from < tokens.size() ? &tokens[from++] : nullptr;
  };
  for (uint8_t code : FieldOrder(picture)) {
    fields.digits[code] = 1;
    if (code == kMonthLetter) {
      const Token* word = nextOf(false, nextWord);
      if (word != nullptr && (fields.values[kMonthDigit] = MatchMonthName(word->text)) != 0) {
        fields.present[kMonthDigit] = true;
      }
      continue;
    }
    const Token* group = nextOf(true, nextDigits);
    if (group == nullptr) continue;
    if (group->text.size() > kLongestField) return false;
    for (char c : group->text) fields.values[code] = fields.values[code] * 10 + (c - '0');
    fields.present[code] = true;
    fields.digits[code] = static_cast<int>(group->text.size());
  }
  return true;
}

void ReadFreeDayPeriod(std::string_view text, const CompiledPicture& picture, TypedFields& fields) {
  const DayPeriodTexts& periods =
      picture.Variant() ? InternationalDayPeriods() : RuntimeDayPeriods();
  for (const Token& token : SplitIntoTokens(text)) {
    if (token.digits) continue;
    const uint8_t first = ToUpper(static_cast<uint8_t>(token.text[0]));
    if (!periods.pm.empty() && first == ToUpper(static_cast<uint8_t>(periods.pm[0]))) {
      fields.pm = true;
    } else if (!periods.am.empty() && first == ToUpper(static_cast<uint8_t>(periods.am[0]))) {
      fields.am = true;
    }
  }
}

// Typed freely, a day or month that the calendar does not have is a mistake,
// not a request to carry into the next month or year.
bool DayAndMonthExist(const TypedFields& fields) {
  const int32_t month = fields.values[kMonthDigit];
  const int32_t day = fields.values[kDayDigit];
  if (fields.present[kMonthDigit] && (month < 1 || month > 12)) return false;
  if (!fields.present[kDayDigit]) return true;
  int32_t year = fields.values[kYearDigit];
  if (fields.digits[kYearDigit] <= 2) year += 1900;
  const int32_t longest = fields.present[kMonthDigit] ? DaysInMonth(year, month) : 31;
  return day >= 1 && day <= longest;
}

std::string ReadFreeDate(std::string_view text, const CompiledPicture& picture) {
  TypedFields fields;
  if (!ReadFreeFields(text, picture, fields) || !DayAndMonthExist(fields)) return "-1";
  // A picture without a day field reads as the first of the month.
  fields.digits[kDayDigit] = DisplayOf(picture, kDayDigit) != 0 ? 1 : 0;
  return DateValue(fields);
}

std::string ReadFreeTime(std::string_view text, const CompiledPicture& picture) {
  TypedFields fields;
  if (!ReadFreeFields(text, picture, fields)) return "-1";
  ReadFreeDayPeriod(text, picture, fields);
  return TimeValue(fields);
}

}  // namespace

bool LinesUpWithPicture(std::string_view text, const CompiledPicture& picture) {
  if (!picture.IsValid() || text.size() != static_cast<size_t>(picture.Width())) return false;
  for (int i = 0; i < picture.Width(); ++i) {
    if (IsFixedPosition(picture.Code(i)) && static_cast<uint8_t>(text[i]) != picture.Display(i)) {
      return false;
    }
  }
  return true;
}

std::string ReadTypedText(std::string_view text, const CompiledPicture& picture) {
  if (!picture.IsValid() || LinesUpWithPicture(text, picture)) return Deformat(text, &picture);
  switch (picture.Kind()) {
    case PictureKind::kNumeric:
    case PictureKind::kScientific:
      return ReadFreeNumber(text, picture);
    case PictureKind::kDate:
      return ReadFreeDate(text, picture);
    case PictureKind::kTime:
      return ReadFreeTime(text, picture);
    default:
      return Deformat(text, &picture);  // strings, patterns, key-in templates
  }
}

bool PictureCanShow(std::string_view value, const CompiledPicture& picture) {
  switch (picture.Kind()) {
    case PictureKind::kNumeric:
    case PictureKind::kScientific:
      return FormatText(value, picture).find('#') == std::string::npos;
    case PictureKind::kDate:
    case PictureKind::kTime:
      return value != "-1";
    default:
      return true;
  }
}

}  // namespace rk
