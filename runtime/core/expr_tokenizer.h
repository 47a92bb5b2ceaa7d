// Splits an expression text into tokens: names (with file prefix and colon),
// integer constants in decimal or with a radix letter, real constants, quoted
// texts, pictures and single operator characters.
//
// A tokenizer owns all of its state, so any number of expressions can be read at
// the same time. It never reads past the end of its input.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rk {

enum class TokenKind : uint8_t {
  kEnd,       // the input is exhausted
  kName,      // text = the name as written
  kInteger,   // integer = the value
  kReal,      // real = the value
  kText,      // text = the quoted text with doubled quotes reduced to one
  kPicture,   // text = the picture including its '@'
  kOperator,  // symbol = one of + - * / % ^ & = < > ~ ( ) [ ] , :
  kError,     // an invalid character, an unclosed quote or a malformed number
};

struct Token {
  TokenKind kind = TokenKind::kEnd;
  char symbol = 0;
  int32_t integer = 0;
  double real = 0;
  std::string text;
  size_t offset = 0;  // where the token starts in the input
};

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view input) : input_(input) { Advance(); }

  const Token& Current() const { return current_; }
  // True when the current token is the operator character c.
  bool IsOperator(char c) const {
    return current_.kind == TokenKind::kOperator && current_.symbol == c;
  }
  // Reads the next token into Current(). After kEnd or kError it stays there.
  void Advance();

 private:
  void SkipBlanks();
  void ReadName();
  void ReadNumber();
  void ReadText();
  void ReadPicture();
  void Fail();

  char At(size_t index) const { return index < input_.size() ? input_[index] : '\0'; }

  std::string_view input_;
  size_t position_ = 0;
  Token current_;
};

}  // namespace rk
