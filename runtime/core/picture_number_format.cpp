// Writes numbers through numeric (@N), scientific (@E) and pattern (@P) pictures.
//
// Digits are right-aligned on the decimal point. A leading sign or currency
// floats right across the blank leading positions, so that it stands next to
// the first digit.
#include <cstdlib>

#include "runtime/core/picture_output.h"

namespace rk {
namespace {

// Where the digit positions of a picture are.
struct NumberLayout {
  int integerPositions = 0;
  int places = 0;
  bool exponent = false;
};

NumberLayout ScanLayout(const CompiledPicture& picture) {
  NumberLayout layout;
  bool afterPoint = false;
  for (int i = 0; i < picture.Width(); ++i) {
    uint8_t code = picture.Code(i);
    if (code == kDecimalPoint || code == kImpliedPoint) afterPoint = true;
    if (code == kExponentSign) {
      layout.exponent = true;
      break;
    }
    if (code == kDigitShown || code == kDigitBlank) {
      (afterPoint ? layout.places : layout.integerPositions)++;
    }
  }
  return layout;
}

// Scientific pictures show one significant integer digit.
int NormalizeForExponent(DecimalDigits& value, int places) {
  if (value.IsZero()) return 0;
  int exponent = value.point - 1;
  value.point = 1;
  value.RoundToPlaces(places);
  if (value.point > 1) {  // 9.99 rounded up to 10.0
    exponent += value.point - 1;
    value.point = 1;
  }
  return exponent;
}

class NumberWriter {
 public:
  NumberWriter(const DecimalDigits& value, const CompiledPicture& picture, NumberLayout layout,
               int exponent, bool overflow)
      : value_(value),
        picture_(picture),
        layout_(layout),
        exponent_(exponent),
        overflow_(overflow),
        out_(picture.Width()) {}

  std::string Write() {
    for (int i = 0; i < picture_.Width(); ++i) WriteElement(picture_.Element(i));
    return out_.Finish();
  }

 private:
  void WriteElement(PictureElement e) {
    switch (e.code) {
      case kDigitShown:
      case kDigitBlank:
        WriteDigit(e);
        break;
      case kGrouping:
        WriteGrouping(e);
        break;
      case kDecimalPoint:
        Settle(static_cast<char>(e.display));
        afterPoint_ = true;
        break;
      case kImpliedPoint:
        afterPoint_ = true;
        break;
      case kSign: {
        char shown = value_.negative ? static_cast<char>(e.display) : ' ';
        seenDigitArea_ ? Settle(shown) : Prefix(shown);
        break;
      }
      case kCurrency:
        seenDigitArea_ ? Settle(static_cast<char>(e.display))
                       : Prefix(static_cast<char>(e.display));
        break;
      case kExponentSign:
        Settle(exponent_ < 0 ? '-' : '+');
        inExponent_ = true;
        break;
      default:
        Settle(static_cast<char>(e.display));
    }
  }

  void WriteDigit(PictureElement e) {
    seenDigitArea_ = true;
    if (inExponent_) {
      static constexpr int kPowers[] = {100, 10, 1};
      Settle(static_cast<char>('0' + std::abs(exponent_) / kPowers[exponentSeen_++ % 3] % 10));
      return;
    }
    if (overflow_) {
      Settle('#');
      return;
    }
    if (afterPoint_) {
      Settle(value_.DigitAt(value_.point + fractionSeen_++));
      return;
    }
    int leading = layout_.integerPositions - value_.IntegerDigits();
    int index = integerSeen_++ - leading;
    if (index >= 0) {
      Settle(value_.DigitAt(index));
    } else {
      Leading(static_cast<char>(e.display));
    }
  }

  void WriteGrouping(PictureElement e) {
    seenDigitArea_ = true;
    if (overflow_) {
      Settle('#');
    } else if (char last = out_.Last(); last >= '0' && last <= '9') {
      Settle(static_cast<char>(e.display));
    } else if (last == '*') {
      Settle('*');
    } else {
      Leading(' ');
    }
  }

  // A character of the leading sign and currency that may float.
  void Prefix(char c) {
    if (prefixEnd_ == out_.Length()) {
      out_.Put(c);
      prefixEnd_ = out_.Length();
    } else {
      Settle(c);
    }
  }

  // A leading position: a blank right after the floating prefix moves the
  // prefix one place right instead.
  void Leading(char c) {
    if (c == ' ' && floating_ && prefixEnd_ > prefixStart_ && prefixEnd_ == out_.Length()) {
      char* text = out_.Data();
      std::memmove(text + prefixStart_ + 1, text + prefixStart_, prefixEnd_ - prefixStart_);
      text[prefixStart_++] = ' ';
      out_.SetLength(++prefixEnd_);
      return;
    }
    if (c != ' ') floating_ = false;
    out_.Put(c);
  }

  void Settle(char c) {
    floating_ = false;
    out_.Put(c);
  }

  const DecimalDigits& value_;
  const CompiledPicture& picture_;
  NumberLayout layout_;
  int exponent_;
  bool overflow_;
  PictureOutput out_;
  bool floating_ = true;
  bool seenDigitArea_ = false;
  bool afterPoint_ = false;
  bool inExponent_ = false;
  int prefixStart_ = 0;
  int prefixEnd_ = 0;
  int integerSeen_ = 0;
  int fractionSeen_ = 0;
  int exponentSeen_ = 0;
};

}  // namespace

std::string FormatNumberPicture(const DecimalDigits& number, bool finite,
                                const CompiledPicture& picture) {
  if (picture.BlankWhenZero() && finite && number.IsZero()) {
    return PictureOutput(picture.Width()).Blank();
  }
  NumberLayout layout = ScanLayout(picture);
  DecimalDigits value = number;
  int exponent = 0;
  if (layout.exponent) {
    exponent = NormalizeForExponent(value, layout.places);
  } else {
    value.RoundToPlaces(layout.places);
  }
  if (picture.Kind() == PictureKind::kPattern) value.negative = false;
  bool overflow = !finite || value.IntegerDigits() > layout.integerPositions;
  // A pattern's literals would still show a cut number's shape: leave it all blank.
  if (overflow && picture.Kind() == PictureKind::kPattern) {
    return PictureOutput(picture.Width()).Blank();
  }
  return NumberWriter(value, picture, layout, exponent, overflow).Write();
}

}  // namespace rk
