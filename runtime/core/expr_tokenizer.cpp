#include "runtime/core/expr_tokenizer.h"

#include <cctype>
#include <charconv>
#include <cstdint>

namespace rk {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsAlnum(char c) {
  return IsDigit(c) || IsLetter(c);
}
char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsNameStart(char c) {
  return IsLetter(c) || c == '_' || c == '?';
}
bool IsNamePart(char c) {
  return IsAlnum(c) || c == '_' || c == ':';
}
bool IsNameEnd(char c) {
  return c == '#' || c == '$' || c == '"';
}

bool IsOperatorChar(char c) {
  switch (c) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '%':
    case '^':
    case '&':
    case '=':
    case '<':
    case '>':
    case '~':
    case '(':
    case ')':
    case '[':
    case ']':
    case ',':
    case ':':
      return true;
    default:
      return false;
  }
}

int RadixOf(char letter) {
  switch (Upper(letter)) {
    case 'H':
      return 16;
    case 'O':
      return 8;
    case 'B':
      return 2;
    default:
      return 0;
  }
}

int DigitValue(char c) {
  c = Upper(c);
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// The value of `digits` in `radix`, or false when a digit does not fit or the
// value needs more than 32 bits.
bool ParseRadix(std::string_view digits, int radix, uint32_t& value) {
  if (digits.empty()) return false;
  uint64_t accumulated = 0;
  for (char c : digits) {
    int digit = DigitValue(c);
    if (digit >= radix) return false;
    accumulated = accumulated * radix + digit;
    if (accumulated > UINT32_MAX) return false;
  }
  value = static_cast<uint32_t>(accumulated);
  return true;
}

}  // namespace

void Tokenizer::Advance() {
  if (current_.kind == TokenKind::kError) return;
  SkipBlanks();
  current_ = Token{};
  current_.offset = position_;
  char c = At(position_);
  if (position_ >= input_.size()) {
    current_.kind = TokenKind::kEnd;
  } else if (IsNameStart(c)) {
    ReadName();
  } else if (IsDigit(c) || (c == '.' && IsDigit(At(position_ + 1)))) {
    ReadNumber();
  } else if (c == '\'') {
    ReadText();
  } else if (c == '@') {
    ReadPicture();
  } else if (IsOperatorChar(c)) {
    current_.kind = TokenKind::kOperator;
    current_.symbol = c;
    ++position_;
  } else {
    Fail();
  }
}

void Tokenizer::SkipBlanks() {
  while (position_ < input_.size() && (input_[position_] == ' ' || input_[position_] == '\t')) {
    ++position_;
  }
}

void Tokenizer::Fail() {
  current_.kind = TokenKind::kError;
  position_ = input_.size();
}

void Tokenizer::ReadName() {
  size_t end = position_ + 1;
  while (end < input_.size() && IsNamePart(input_[end])) ++end;
  if (end < input_.size() && IsNameEnd(input_[end])) ++end;
  current_.kind = TokenKind::kName;
  current_.text.assign(input_.substr(position_, end - position_));
  position_ = end;
}

// A run of digits and letters whose last letter is H, O or B is an integer in
// that radix when every digit fits; anything else must be a decimal integer or
// real, and a letter left over after it is an error (19O, 12AB).
void Tokenizer::ReadNumber() {
  size_t runEnd = position_;
  while (runEnd < input_.size() && IsAlnum(input_[runEnd])) ++runEnd;
  std::string_view run = input_.substr(position_, runEnd - position_);
  uint32_t radixValue = 0;
  if (run.size() >= 2 && RadixOf(run.back()) != 0 &&
      ParseRadix(run.substr(0, run.size() - 1), RadixOf(run.back()), radixValue)) {
    current_.kind = TokenKind::kInteger;
    current_.integer = static_cast<int32_t>(radixValue);
    position_ = runEnd;
    return;
  }

  size_t end = position_;
  bool isReal = false;
  while (IsDigit(At(end))) ++end;
  if (At(end) == '.') {
    isReal = true;
    ++end;
    while (IsDigit(At(end))) ++end;
  }
  if (At(end) == 'E' || At(end) == 'e') {
    size_t exponent = end + 1;
    if (At(exponent) == '+' || At(exponent) == '-') ++exponent;
    if (!IsDigit(At(exponent))) return Fail();
    while (IsDigit(At(exponent))) ++exponent;
    end = exponent;
    isReal = true;
  }
  if (IsAlnum(At(end)) || At(end) == '.') return Fail();

  std::string_view digits = input_.substr(position_, end - position_);
  position_ = end;
  if (!isReal) {
    uint32_t value = 0;
    auto [next, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc() && next == digits.data() + digits.size() && value <= INT32_MAX) {
      current_.kind = TokenKind::kInteger;
      current_.integer = static_cast<int32_t>(value);
      return;
    }
    // Too large for 32 bits: kept as a real constant rather than wrapped.
  }
  // from_chars does not take a leading '.', so the digits are read with a 0 in front.
  std::string text;
  if (digits.front() == '.') text.push_back('0');
  text.append(digits);
  double value = 0;
  auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (next != text.data() + text.size() ||
      (error != std::errc() && error != std::errc::result_out_of_range)) {
    return Fail();
  }
  current_.kind = TokenKind::kReal;
  current_.real = value;
}

void Tokenizer::ReadText() {
  std::string text;
  size_t index = position_ + 1;
  for (;;) {
    if (index >= input_.size()) return Fail();  // no closing quote
    char c = input_[index++];
    if (c != '\'') {
      text.push_back(c);
    } else if (At(index) == '\'') {
      text.push_back('\'');
      ++index;
    } else {
      break;
    }
  }
  current_.kind = TokenKind::kText;
  current_.text = std::move(text);
  position_ = index;
}

// A picture runs to a blank, ',' or ')' outside parentheses; a currency text
// between '~' in a numeric picture may hold any of them. A pattern or key-in
// picture runs to the closing letter of its kind (in a key-in pattern '\' makes
// the next character literal) and then takes a final blank-when-zero B.
void Tokenizer::ReadPicture() {
  size_t start = position_;
  size_t index = position_ + 1;
  char kind = Upper(At(index));
  if (kind == 'P' || kind == 'K') {
    ++index;
    for (;;) {
      if (index >= input_.size()) return Fail();  // no closing letter
      char c = input_[index++];
      if (kind == 'K' && c == '\\') {
        if (index >= input_.size()) return Fail();
        ++index;
      } else if (Upper(c) == kind) {
        break;
      }
    }
    if (Upper(At(index)) == 'B') ++index;
  } else {
    int depth = 0;
    bool inCurrency = false;
    while (index < input_.size()) {
      char c = input_[index];
      if (kind == 'N' && c == '~') {
        inCurrency = !inCurrency;
      } else if (!inCurrency) {
        if (c == '(') {
          ++depth;
        } else if (c == ')') {
          if (depth == 0) break;
          --depth;
        } else if (depth == 0 && (c == ' ' || c == '\t' || c == ',')) {
          break;
        }
      }
      ++index;
    }
  }
  if (index - start < 2) return Fail();  // '@' alone
  current_.kind = TokenKind::kPicture;
  current_.text.assign(input_.substr(start, index - start));
  position_ = index;
}

}  // namespace rk
