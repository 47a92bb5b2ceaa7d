#include "runtime/platform/international_profile.h"

#include <langinfo.h>
#include <locale.h>

#include <cctype>

#include "runtime/platform/code_page.h"

namespace rk::platform {
namespace {

bool SaysNothing(const TimeLocale& locale) {
  const std::string& name = locale.name;
  return name.empty() || name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// Replaces the composite conversions by the parts they stand for.
std::string ExpandComposites(std::string_view format, std::string_view dateFormat) {
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      out += format[i];
      continue;
    }
    char c = format[++i];
    switch (c) {
      case 'r':
        out += "%I:%M:%S %p";
        break;
      case 'T':
        out += "%H:%M:%S";
        break;
      case 'R':
        out += "%H:%M";
        break;
      case 'D':
        out += "%m/%d/%y";
        break;
      case 'F':
        out += "%Y-%m-%d";
        break;
      case 'x':
        out += ExpandComposites(dateFormat, {});
        break;
      default:
        out += '%';
        out += c;
    }
  }
  return out;
}

// The conversion letter of "%X" or "%-X" at position i (which holds '%'), and
// whether the '-' flag asks for no padding; 0 when there is none.
char ConversionAt(std::string_view format, size_t i, bool& unpadded, size_t& length) {
  unpadded = false;
  length = 1;
  if (i + 1 >= format.size()) return 0;
  size_t j = i + 1;
  if (format[j] == '-' || format[j] == '_' || format[j] == '0') {
    unpadded = format[j] != '0';
    ++j;
  }
  if (j >= format.size()) return 0;
  length = j - i + 1;
  return format[j];
}

bool IsTimeConversion(char c) {
  return std::string_view("HIklMSpPrRTXZzcs").find(c) != std::string_view::npos;
}

// The field letters a strftime date conversion stands for ("" for the ones that
// have no counterpart).
std::string_view DateFieldFor(char c, bool unpadded) {
  switch (c) {
    case 'd':
      return unpadded ? "d" : "dd";
    case 'e':
      return "d";
    case 'm':
      return unpadded ? "M" : "MM";
    case 'y':
      return "yy";
    case 'Y':
      return "yyyy";
    case 'a':
      return "ddd";
    case 'A':
      return "dddd";
    case 'b':
    case 'h':
      return "MMM";
    case 'B':
      return "MMMM";
    default:
      return "";
  }
}

void AppendQuoted(std::string& out, std::string_view literal) {
  if (literal.empty()) return;
  out += '\'';
  for (char c : literal) {
    if (c == '\'') out += '\'';
    out += c;
  }
  out += '\'';
}

// A strftime date format as field letters and quoted literal texts; stops at the
// first time conversion and drops the literal text that precedes it.
std::string TranslateDateFormat(std::string_view format) {
  std::string out;
  std::string literal;
  for (size_t i = 0; i < format.size();) {
    if (format[i] != '%') {
      literal += format[i++];
      continue;
    }
    bool unpadded = false;
    size_t length = 1;
    char c = ConversionAt(format, i, unpadded, length);
    i += length;
    if (c == '%') {
      literal += '%';
      continue;
    }
    if (IsTimeConversion(c)) break;
    std::string_view field = DateFieldFor(c, unpadded);
    if (field.empty()) continue;
    AppendQuoted(out, literal);
    literal.clear();
    out += field;
  }
  return out;
}

bool NamesDayMonthYear(std::string_view format) {
  return format.find('d') != std::string_view::npos && format.find('M') != std::string_view::npos &&
         format.find('y') != std::string_view::npos;
}

// The first hour conversion of a time format: its letter, its padding, and the
// character that follows it.
struct HourField {
  char letter = 0;
  bool unpadded = false;
  char next = 0;
};

HourField FindHour(std::string_view format) {
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    bool unpadded = false;
    size_t length = 1;
    char c = ConversionAt(format, i, unpadded, length);
    if (c == 'H' || c == 'I' || c == 'k' || c == 'l') {
      size_t after = i + length;
      return {c, unpadded, after < format.size() ? format[after] : '\0'};
    }
    i += length - 1;
  }
  return {};
}

std::string ClockFormat(std::string_view timeFormat, std::string_view fallback) {
  HourField hour = FindHour(timeFormat);
  if (hour.letter == 0) return std::string(fallback);
  return hour.letter == 'I' || hour.letter == 'l' ? "0" : "1";
}

std::string HourLeadingZero(std::string_view timeFormat, std::string_view fallback) {
  HourField hour = FindHour(timeFormat);
  if (hour.letter == 0) return std::string(fallback);
  bool padded = (hour.letter == 'H' || hour.letter == 'I') && !hour.unpadded;
  return padded ? "1" : "0";
}

std::string TimeSeparator(std::string_view timeFormat, std::string_view fallback) {
  HourField hour = FindHour(timeFormat);
  unsigned char next = static_cast<unsigned char>(hour.next);
  if (hour.letter == 0 || next == '%' || next == 0 || std::isalnum(next)) {
    return std::string(fallback);
  }
  return std::string(1, hour.next);
}

std::string DateFormat(std::string_view strftimeFormat, std::string_view fallback) {
  std::string format = TranslateDateFormat(strftimeFormat);
  return NamesDayMonthYear(format) ? format : std::string(fallback);
}

std::string NonEmpty(const std::string& value, std::string_view fallback) {
  return value.empty() ? std::string(fallback) : value;
}

}  // namespace

TimeLocale CurrentTimeLocale() {
  // The locale's texts come in its own character set; the runtime's are 1252.
  std::string_view codeset = nl_langinfo(CODESET);
  bool utf8 = codeset == "UTF-8" || codeset == "utf8";
  auto text = [utf8](nl_item item) {
    std::string value = nl_langinfo(item);
    return utf8 ? Utf8ToAnsi(value) : value;
  };
  TimeLocale locale;
  const char* name = setlocale(LC_TIME, nullptr);
  locale.name = name ? name : "";
  locale.dateFormat = text(D_FMT);
  locale.timeFormat = text(T_FMT);
  locale.dateTimeFormat = text(D_T_FMT);
  locale.amText = text(AM_STR);
  locale.pmText = text(PM_STR);
  return locale;
}

std::string InternationalValue(const TimeLocale& locale, std::string_view key,
                               std::string_view defaultValue) {
  if (SaysNothing(locale)) return std::string(defaultValue);
  std::string timeFormat = ExpandComposites(locale.timeFormat, locale.dateFormat);
  if (key == "iTime") return ClockFormat(timeFormat, defaultValue);
  if (key == "iTLzero") return HourLeadingZero(timeFormat, defaultValue);
  if (key == "sTime") return TimeSeparator(timeFormat, defaultValue);
  if (key == "s1159") return NonEmpty(locale.amText, defaultValue);
  if (key == "s2359") return NonEmpty(locale.pmText, defaultValue);
  if (key == "sShortDate") {
    return DateFormat(ExpandComposites(locale.dateFormat, {}), defaultValue);
  }
  if (key == "sLongDate") {
    return DateFormat(ExpandComposites(locale.dateTimeFormat, locale.dateFormat), defaultValue);
  }
  return std::string(defaultValue);
}

std::string ProfileString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) {
  if (section != "intl") return std::string(defaultValue);
  return InternationalValue(CurrentTimeLocale(), key, defaultValue);
}

}  // namespace rk::platform
