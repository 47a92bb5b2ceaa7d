// Builds the element tables of the environment's time and date forms from the
// formats of the international settings.
#include <algorithm>

#include "runtime/core/calendar_names.h"
#include "runtime/core/international_settings.h"
#include "runtime/core/quoted_text.h"

namespace rk {
namespace {

void Append(PictureForm& form, int count, uint8_t display, uint8_t code) {
  for (int i = 0; i < count; ++i) form.push_back({display, code});
}

// A field of two digits (or four for a long year) whose first digit is blank
// while zero unless the field keeps its leading zero.
void AppendDigits(PictureForm& form, int digits, bool leadingZero, uint8_t code) {
  form.push_back({static_cast<uint8_t>(leadingZero ? '0' : ' '), code});
  Append(form, digits - 1, '0', code);
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

bool IsDateLetter(char c) {
  return c == 'd' || c == 'D' || c == 'M' || c == 'm' || c == 'y' || c == 'Y';
}

char FieldOf(char c) {
  switch (c) {
    case 'D':
    case 'd':
      return 'd';
    case 'M':
    case 'm':
      return 'M';
    default:
      return 'y';
  }
}

// One token of a long date format: a run of one field letter, or literal text.
struct DateToken {
  char field = 0;  // 'd', 'M', 'y', or 0 for literal text
  int run = 0;
  std::string literal;
};

std::vector<DateToken> TokenizeDateFormat(std::string_view format) {
  std::vector<DateToken> tokens;
  auto literal = [&tokens]() -> std::string& {
    if (tokens.empty() || tokens.back().field != 0) tokens.push_back({});
    return tokens.back().literal;
  };
  size_t i = 0;
  while (i < format.size()) {
    char c = format[i];
    if (c == '\'') {
      literal() += ReadQuoted(format, i);
    } else if (IsDateLetter(c)) {
      char field = FieldOf(c);
      int run = 0;
      while (i < format.size() && IsDateLetter(format[i]) && FieldOf(format[i]) == field) {
        ++run;
        ++i;
      }
      tokens.push_back({field, run, {}});
    } else {
      literal() += c;
      ++i;
    }
  }
  return tokens;
}

bool IsWeekday(const DateToken& token) {
  return token.field == 'd' && token.run >= 3;
}

void AppendLongDateField(PictureForm& form, const DateToken& token) {
  switch (token.field) {
    case 'd':
      AppendDigits(form, 2, token.run == 2, kDayDigit);
      break;
    case 'M':
      if (token.run >= 4) {
        Append(form, static_cast<int>(kLongMonthNameLength), ' ', kMonthLetter);
      } else if (token.run == 3) {
        Append(form, 3, ' ', kMonthLetter);
      } else {
        AppendDigits(form, 2, token.run == 2, kMonthDigit);
      }
      break;
    default:
      AppendDigits(form, token.run >= 3 ? 4 : 2, true, kYearDigit);
  }
}

}  // namespace

PictureForm BuildTimeForm(const InternationalSettings& settings, bool withSeconds) {
  PictureForm form;
  AppendDigits(form, 2, settings.hourLeadingZero != 0, kHourDigit);
  auto separator = [&] {
    for (char c : settings.timeSeparator) form.push_back({static_cast<uint8_t>(c), kSeparator});
  };
  separator();
  AppendDigits(form, 2, true, kMinuteDigit);
  if (withSeconds) {
    separator();
    AppendDigits(form, 2, true, kSecondDigit);
  }
  if (settings.clockFormat == 0) {
    form.push_back({' ', kLiteral});
    form.push_back({'A', kDayPeriod});
    form.push_back({'M', kLiteral});
  }
  return form;
}

PictureForm BuildShortDateForm(std::string_view format) {
  bool dayZero = Contains(format, "dd");
  bool monthZero = Contains(format, "MM");
  int yearDigits = Contains(format, "yyy") ? 4 : 2;
  auto separatorAt = std::find_if(format.begin(), format.end(),
                                  [](char c) { return !IsDateLetter(c) && c != '\''; });
  // Fields are taken in the order the format starts with: day first, year first
  // (year, month, day), otherwise month first.
  char first = format.empty() ? 'M' : FieldOf(format.front());
  if (!format.empty() && !IsDateLetter(format.front())) first = 'M';
  const char* order = first == 'd' ? "dMy" : first == 'y' ? "yMd" : "Mdy";
  PictureForm form;
  for (int i = 0; i < 3; ++i) {
    if (i > 0 && separatorAt != format.end()) {
      form.push_back({static_cast<uint8_t>(*separatorAt), kSeparator});
    }
    switch (order[i]) {
      case 'd':
        AppendDigits(form, 2, dayZero, kDayDigit);
        break;
      case 'M':
        AppendDigits(form, 2, monthZero, kMonthDigit);
        break;
      default:
        AppendDigits(form, yearDigits, true, kYearDigit);
    }
  }
  return form;
}

PictureForm BuildLongDateForm(std::string_view format) {
  std::vector<DateToken> tokens = TokenizeDateFormat(format);
  PictureForm form;
  std::string pendingLiteral;
  bool anyField = false;
  for (const DateToken& token : tokens) {
    if (token.field == 0) {
      if (anyField) pendingLiteral += token.literal;
      continue;
    }
    if (IsWeekday(token)) continue;
    for (char c : pendingLiteral) form.push_back({static_cast<uint8_t>(c), kLiteral});
    pendingLiteral.clear();
    AppendLongDateField(form, token);
    anyField = true;
  }
  if (!anyField || form.size() > static_cast<size_t>(kMaxPictureWidth)) {
    return BuildLongDateForm(InternationalSettings().longDate);
  }
  return form;
}

}  // namespace rk
