// The picture grammar: turns a picture text into its element table.
//   @Sn           string of width n
//   @D[fill]n[sep], @T[fill]n[sep]   date and time forms
//   @N[cur][sign][fill]width[grouping][decimal[places]][sign][cur]   numbers
//   @En[.places]  scientific
//   @P...P, @K...K  patterns and key-in templates
// A final 'B' or 'b' asks for blank when zero.
#include <cctype>
#include <optional>
#include <string>

#include "runtime/core/clipped_text.h"
#include "runtime/core/picture.h"
#include "runtime/core/picture_calendar_forms.h"

namespace rk {
namespace {

// Reads a picture text left to right.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  bool Take(char c) {
    if (AtEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  char Next() { return AtEnd() ? '\0' : text_[pos_++]; }
  // A decimal number of at most three digits; none when there is no digit.
  std::optional<int> Number() {
    int value = 0;
    int digits = 0;
    while (std::isdigit(static_cast<unsigned char>(Peek()))) {
      value = value * 10 + (Next() - '0');
      if (++digits > 3) return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    return value;
  }
  std::string_view Rest() const { return AtEnd() ? std::string_view() : text_.substr(pos_); }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

struct Compiled {
  PictureKind kind = PictureKind::kString;
  bool variant = false;
  PictureForm elements;
};

int ClassOf(PictureKind kind) {
  switch (kind) {
    case PictureKind::kDate:
    case PictureKind::kTime:
      return 1;
    case PictureKind::kScientific:
      return 2;
    case PictureKind::kNumeric:
    case PictureKind::kPattern:
      return 3;
    default:
      return 0;
  }
}

// ---- string -------------------------------------------------------------

std::optional<Compiled> CompileString(Cursor& in) {
  std::optional<int> width = in.Number();
  if (!width || *width < 1 || *width > kMaxPictureWidth) return std::nullopt;
  for (char c : in.Rest()) {
    if (c != ' ' && c != '\t') return std::nullopt;
  }
  return Compiled{PictureKind::kString, false, PictureForm(*width, PictureElement{' ', kLiteral})};
}

// ---- dates and times ----------------------------------------------------

bool IsCalendarField(uint8_t code) {
  return (code >= kMonthDigit && code <= kSecondDigit);
}

std::optional<Compiled> CompileCalendar(Cursor& in, PictureKind kind) {
  std::optional<uint8_t> fill;
  if (char c = in.Peek(); c == '0' || c == '*' || c == '_') {
    in.Next();
    fill = c == '_' ? ' ' : c;
  }
  std::optional<int> form = in.Number();
  if (!form) return std::nullopt;
  std::optional<uint8_t> separator;
  switch (in.Peek()) {
    case '.':
      separator = '.';
      break;
    case '-':
      separator = '-';
      break;
    case '_':
      separator = ' ';
      break;
    case '`':
      separator = ',';
      break;
    default:
      break;
  }
  if (separator) in.Next();
  if (!in.AtEnd()) return std::nullopt;

  bool isDate = kind == PictureKind::kDate;
  PictureForm elements = isDate ? DateFormLayout(*form) : TimeFormLayout(*form);
  if (elements.empty()) return std::nullopt;
  for (PictureElement& e : elements) {
    if (fill && IsCalendarField(e.code)) e.display = *fill;
    if (separator && e.code == kSeparator) e.display = *separator;
  }
  bool variant = isDate ? (*form == 4 || *form == 18) : (*form == 7 || *form == 8);
  return Compiled{kind, variant, std::move(elements)};
}

// ---- numbers ------------------------------------------------------------

// '$' or a text between two '~'. False for an unterminated text.
bool TakeCurrency(Cursor& in, std::optional<std::string>& currency) {
  if (in.Take('$')) {
    currency.emplace(1, '$');
    return true;
  }
  if (!in.Take('~')) return true;
  std::string text;
  while (!in.AtEnd() && in.Peek() != '~') text += in.Next();
  if (!in.Take('~')) return false;
  currency = text;
  return true;
}

bool IsGroupingChar(char c) {
  return c == '.' || c == '`' || c == '_' || c == 'V';
}
bool IsDecimalChar(char c) {
  return c == '.' || c == '`' || c == 'V';
}

struct NumericSpec {
  std::string leadCurrency;
  std::string trailCurrency;
  char leadSign = 0;   // '-' or '('
  char trailSign = 0;  // '-' or ')'
  char fill = 0;       // '0', '*', '_'
  int width = 0;
  char grouping = 0;  // explicit: '.', '`', '_', 'V'
  char decimal = 0;   // '.', '`', 'V'
  int places = 0;
  bool hasPlaces = false;
};

std::optional<NumericSpec> ParseNumeric(Cursor& in) {
  NumericSpec spec;
  std::optional<std::string> lead;
  if (!TakeCurrency(in, lead)) return std::nullopt;
  if (char c = in.Peek(); c == '-' || c == '(') spec.leadSign = in.Next();
  if (char c = in.Peek(); c == '0' || c == '*' || c == '_') spec.fill = in.Next();
  std::optional<int> width = in.Number();
  if (!width || *width < 1 || *width > kMaxPictureWidth) return std::nullopt;
  spec.width = *width;
  if (IsGroupingChar(in.Peek()) && (in.Peek(1) == '\0' || IsDecimalChar(in.Peek(1)))) {
    spec.grouping = in.Next();
  }
  if (IsDecimalChar(in.Peek())) {
    spec.decimal = in.Next();
    if (std::optional<int> places = in.Number()) {
      spec.places = *places;
      spec.hasPlaces = true;
    }
  }
  if (char c = in.Peek(); c == '-' || c == ')') spec.trailSign = in.Next();
  std::optional<std::string> trail;
  if (!TakeCurrency(in, trail) || !in.AtEnd()) return std::nullopt;
  if (lead && trail) return std::nullopt;
  if (spec.leadSign && spec.trailSign) {
    if (spec.leadSign != '(' || spec.trailSign != ')') return std::nullopt;
  } else if (spec.leadSign == '(' || spec.trailSign == ')') {
    return std::nullopt;
  }
  spec.leadCurrency = lead.value_or("");
  spec.trailCurrency = trail.value_or("");
  return spec;
}

uint8_t GroupingDisplay(const NumericSpec& spec) {
  auto shown = [](char c) -> uint8_t { return c == '`' ? ',' : c == '_' ? ' ' : c; };
  if (spec.grouping) return spec.grouping == 'V' ? 0 : shown(spec.grouping);
  if (spec.decimal && !spec.hasPlaces) return spec.decimal == 'V' ? 0 : shown(spec.decimal);
  if (spec.fill) return 0;
  return spec.decimal == '`' ? '.' : ',';
}

// Fills elements [first, end) right to left with integer positions: the units
// digit, then digits with a grouping element after every three.
void LayOutIntegers(PictureForm& out, int first, int end, PictureElement units,
                    PictureElement digit, uint8_t grouping) {
  for (int pos = end - 1, k = 1; pos >= first; --pos, ++k) {
    if (k == 1) {
      out[pos] = units;
    } else if (grouping && k % 4 == 0 && pos != first) {
      out[pos] = {grouping, kGrouping};
    } else {
      out[pos] = digit;
    }
  }
}

std::optional<Compiled> CompileNumeric(Cursor& in) {
  std::optional<NumericSpec> parsed = ParseNumeric(in);
  if (!parsed) return std::nullopt;
  const NumericSpec& spec = *parsed;
  bool decimalPart = spec.decimal && spec.hasPlaces;
  int signPositions = (spec.leadSign ? 1 : 0) + (spec.trailSign ? 1 : 0);
  int currencyLength = static_cast<int>(spec.leadCurrency.size() + spec.trailCurrency.size());
  int fixed = currencyLength + signPositions + (decimalPart ? spec.places + 1 : 0);
  if (fixed > spec.width) return std::nullopt;

  PictureForm out(spec.width);
  int front = 0;
  for (char c : spec.leadCurrency) out[front++] = {static_cast<uint8_t>(c), kCurrency};
  if (spec.leadSign) out[front++] = {static_cast<uint8_t>(spec.leadSign), kSign};
  int back = spec.width;
  for (size_t i = spec.trailCurrency.size(); i-- > 0;) {
    out[--back] = {static_cast<uint8_t>(spec.trailCurrency[i]), kCurrency};
  }
  if (spec.trailSign) out[--back] = {static_cast<uint8_t>(spec.trailSign), kSign};
  bool implied = false;
  if (decimalPart) {
    for (int i = 0; i < spec.places; ++i) out[--back] = {'0', kDigitShown};
    implied = spec.decimal == 'V';
    out[--back] = implied ? PictureElement{'V', kImpliedPoint}
                          : PictureElement{static_cast<uint8_t>(spec.decimal == '`' ? ',' : '.'),
                                           kDecimalPoint};
  }
  PictureElement units =
      implied ? PictureElement{' ', kDigitBlank} : PictureElement{'0', kDigitShown};
  PictureElement digit = spec.fill == '0'   ? PictureElement{'0', kDigitShown}
                         : spec.fill == '*' ? PictureElement{'*', kDigitShown}
                                            : PictureElement{' ', kDigitBlank};
  LayOutIntegers(out, front, back, units, digit, GroupingDisplay(spec));
  return Compiled{PictureKind::kNumeric, false, std::move(out)};
}

// ---- scientific ---------------------------------------------------------

constexpr int kExponentTail = 5;  // 'E', the exponent sign, three digits

std::optional<Compiled> CompileScientific(Cursor& in) {
  std::optional<int> width = in.Number();
  if (!width || *width <= 6 || *width > kMaxPictureWidth) return std::nullopt;
  char decimal = 0;
  int places = 0;
  if (in.Peek() == '.' || in.Peek() == '`') {
    decimal = in.Next();
    places = in.Number().value_or(0);
  }
  if (!in.AtEnd()) return std::nullopt;
  int integers = *width - 1 - kExponentTail - (decimal ? places + 1 : 0);
  if (integers < 1) return std::nullopt;

  PictureForm out(*width);
  out[0] = {'-', kSign};
  int pos = 1 + integers;
  uint8_t grouping = places >= 4 ? (decimal == '`' ? '.' : ',') : 0;
  LayOutIntegers(out, 1, pos, {'0', kDigitShown}, {' ', kDigitBlank}, grouping);
  if (decimal) {
    out[pos++] = {static_cast<uint8_t>(decimal == '`' ? ',' : '.'), kDecimalPoint};
    for (int i = 0; i < places; ++i) out[pos++] = {'0', kDigitShown};
  }
  out[pos++] = {'E', kLiteral};
  out[pos++] = {'+', kExponentSign};
  for (int i = 0; i < 3; ++i) out[pos++] = {'0', kDigitShown};
  return Compiled{PictureKind::kScientific, false, std::move(out)};
}

// ---- patterns and key-in templates --------------------------------------

std::optional<PictureElement> KeyInPosition(char c) {
  switch (c) {
    case '@':
      return PictureElement{'@', kKeyInAny};
    case '^':
      return PictureElement{'^', kKeyInCaret};
    case '_':
      return PictureElement{'_', kKeyInUnderscore};
    case '?':
      return PictureElement{'?', kKeyInQuestion};
    case '|':
      return PictureElement{'|', kKeyInBar};
    default:
      return std::nullopt;
  }
}

std::optional<Compiled> CompileTemplate(Cursor& in, char letter, PictureKind kind) {
  std::string_view body = in.Rest();
  if (body.size() < 3 || std::toupper(static_cast<unsigned char>(body.back())) != letter) {
    return std::nullopt;
  }
  body.remove_suffix(1);
  bool keyIn = kind == PictureKind::kKeyIn;
  PictureForm out;
  for (size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if (keyIn && c == '\\' && i + 1 < body.size()) {
      out.push_back({static_cast<uint8_t>(body[++i]), kLiteral});
    } else if (c == '#') {
      out.push_back({'0', kDigitShown});
    } else if (c == '<') {
      out.push_back({' ', kDigitBlank});
    } else if (std::optional<PictureElement> position = keyIn ? KeyInPosition(c) : std::nullopt) {
      out.push_back(*position);
    } else {
      out.push_back({static_cast<uint8_t>(c), kLiteral});
    }
  }
  if (out.size() > static_cast<size_t>(kMaxPictureWidth)) return std::nullopt;
  return Compiled{kind, false, std::move(out)};
}

// ---- the whole picture --------------------------------------------------

std::optional<Compiled> CompileBody(Cursor& in) {
  char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(in.Next())));
  switch (letter) {
    case 'S':
      return CompileString(in);
    case 'D':
      return CompileCalendar(in, PictureKind::kDate);
    case 'T':
      return CompileCalendar(in, PictureKind::kTime);
    case 'N':
      return CompileNumeric(in);
    case 'E':
      return CompileScientific(in);
    case 'P':
      return CompileTemplate(in, 'P', PictureKind::kPattern);
    case 'K':
      return CompileTemplate(in, 'K', PictureKind::kKeyIn);
    default:
      return std::nullopt;
  }
}

}  // namespace

size_t CompilePicture(std::string_view text, CompiledPicture& compiled) {
  compiled.bytes.fill(0);
  if (text.empty() || text.size() > static_cast<size_t>(kMaxPictureWidth)) return 0;
  text = ClipRightBlanks(text);
  if (!text.empty() && text.front() == '@') text.remove_prefix(1);
  bool blankWhenZero = false;
  // The 'B' must follow at least two characters of the picture itself.
  if (text.size() >= 3 && (text.back() == 'B' || text.back() == 'b')) {
    blankWhenZero = true;
    text.remove_suffix(1);
  }
  if (text.empty()) return 0;
  Cursor in(text);
  std::optional<Compiled> result = CompileBody(in);
  if (!result || result->elements.empty() ||
      result->elements.size() > static_cast<size_t>(kMaxPictureWidth)) {
    return 0;
  }
  compiled.bytes[0] =
      static_cast<uint8_t>(static_cast<int>(result->kind) | ClassOf(result->kind) << 3 |
                           (result->variant ? 0x40 : 0) | (blankWhenZero ? 0x80 : 0));
  compiled.bytes[1] = static_cast<uint8_t>(result->elements.size());
  for (size_t i = 0; i < result->elements.size(); ++i) {
    compiled.bytes[2 + 2 * i] = result->elements[i].display;
    compiled.bytes[3 + 2 * i] = result->elements[i].code;
  }
  return compiled.Size();
}

}  // namespace rk
