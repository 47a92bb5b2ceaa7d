// The formatting entry points: choose the writer for the picture's kind and
// bring the value into the form that writer takes.
#include "runtime/core/picture_format.h"

#include "runtime/core/number_text.h"
#include "runtime/core/picture_output.h"

namespace rk {
namespace {

bool IsNumberKind(PictureKind kind) {
  return kind == PictureKind::kNumeric || kind == PictureKind::kScientific ||
         kind == PictureKind::kPattern;
}

bool IsCalendarKind(PictureKind kind) {
  return kind == PictureKind::kDate || kind == PictureKind::kTime;
}

// A pattern holds a number only when every integer digit has a position: a
// longer number would be cut silently, so the pattern stays blank instead.
bool TooLongForPattern(std::string_view value, const CompiledPicture& picture) {
  DecimalDigits digits;
  if (!DigitsOfDecimalText(value, digits)) return false;
  int positions = 0;
  for (int i = 0; i < picture.Width(); ++i) {
    uint8_t code = picture.Code(i);
    if (code == kDigitShown || code == kDigitBlank) ++positions;
  }
  return digits.IntegerDigits() > positions;
}

// String and key-in pictures (and patterns given a text): each position that is
// not a literal takes the next character of the value, or a space once the value
// is used up. A pattern's blank-while-zero digit stays blank for a leading '0'.
std::string LayText(std::string_view value, const CompiledPicture& picture) {
  PictureOutput out(picture.Width());
  if (picture.Kind() == PictureKind::kString) {
    for (size_t i = 0; i < value.size() && static_cast<int>(i) < picture.Width(); ++i) {
      out.Put(value[i]);
    }
    return out.Finish();
  }
  if (picture.Kind() == PictureKind::kPattern && TooLongForPattern(value, picture)) {
    return out.Blank();
  }
  size_t next = 0;
  bool significant = false;
  for (int i = 0; i < picture.Width(); ++i) {
    PictureElement e = picture.Element(i);
    if (e.code == kLiteral) {
      out.Put(static_cast<char>(e.display));
      continue;
    }
    char c = next < value.size() ? value[next++] : ' ';
    if (c >= '1' && c <= '9') significant = true;
    out.Put(e.code == kDigitBlank && c == '0' && !significant ? ' ' : c);
  }
  return out.Finish();
}

// The whole part of exact digits, or -1 when it cannot be a day number or time
// value.
int32_t WholeValue(const DecimalDigits& value) {
  if (value.negative || value.IntegerDigits() > 9) return -1;
  int32_t whole = 0;
  for (int i = 0; i < value.IntegerDigits(); ++i) whole = whole * 10 + (value.DigitAt(i) - '0');
  return whole;
}

// A text standing for a whole number (a day number, a time value).
int32_t TextAsLong(std::string_view value) {
  return RealToLong(TextToReal(value));
}

}  // namespace

std::string FormatDigits(const DecimalDigits& value, const CompiledPicture& picture) {
  if (!picture.IsValid()) return {};
  if (IsNumberKind(picture.Kind())) return FormatNumberPicture(value, true, picture);
  if (IsCalendarKind(picture.Kind())) return FormatCalendarPicture(WholeValue(value), picture);
  return LayText(value.Text(), picture);
}

std::string FormatReal(double value, const CompiledPicture& picture) {
  if (!picture.IsValid()) return {};
  if (IsCalendarKind(picture.Kind())) return FormatCalendarPicture(RealToLong(value), picture);
  if (IsNumberKind(picture.Kind())) {
    DecimalDigits digits;
    bool finite = DigitsOfReal(value, digits);
    return FormatNumberPicture(digits, finite, picture);
  }
  return LayText(RealToText(value), picture);
}

std::string FormatLong(int32_t value, const CompiledPicture& picture) {
  if (!picture.IsValid()) return {};
  if (IsCalendarKind(picture.Kind())) return FormatCalendarPicture(value, picture);
  if (IsNumberKind(picture.Kind())) {
    DecimalDigits digits;
    DigitsOfDecimalText(std::to_string(value), digits);
    return FormatNumberPicture(digits, true, picture);
  }
  return LayText(std::to_string(value), picture);
}

std::string FormatText(std::string_view value, const CompiledPicture& picture) {
  if (!picture.IsValid()) return {};
  PictureKind kind = picture.Kind();
  if (kind == PictureKind::kString || kind == PictureKind::kKeyIn ||
      kind == PictureKind::kPattern) {
    return LayText(value, picture);
  }
  if (IsCalendarKind(kind)) return FormatCalendarPicture(TextAsLong(value), picture);
  // A plain decimal text keeps all its digits; anything else is read as a double.
  DecimalDigits digits;
  if (DigitsOfDecimalText(value, digits)) return FormatNumberPicture(digits, true, picture);
  return FormatReal(TextToReal(value), picture);
}

std::string FormatText(std::string_view value, std::string_view picture) {
  CompiledPicture compiled;
  CompilePicture(picture, compiled);
  return FormatText(value, compiled);
}

std::string Deformat(std::string_view text, std::string_view picture) {
  if (picture.empty()) return Deformat(text, nullptr);
  CompiledPicture compiled;
  CompilePicture(picture, compiled);
  if (!compiled.IsValid()) return std::string(text);
  return Deformat(text, &compiled);
}

}  // namespace rk
