#include "runtime/core/expr_tokenizer.h"

#include <gtest/gtest.h>

#include <vector>

namespace rk {
namespace {

std::vector<Token> TokensOf(std::string_view text) {
  std::vector<Token> tokens;
  Tokenizer tokenizer(text);
  for (;;) {
    tokens.push_back(tokenizer.Current());
    if (tokenizer.Current().kind == TokenKind::kEnd ||
        tokenizer.Current().kind == TokenKind::kError) {
      return tokens;
    }
    tokenizer.Advance();
  }
}

Token Single(std::string_view text) {
  std::vector<Token> tokens = TokensOf(text);
  EXPECT_EQ(tokens.size(), 2u) << text;
  EXPECT_EQ(tokens.back().kind, TokenKind::kEnd) << text;
  return tokens[0];
}

TEST(ExprTokenizerTest, NamesKeepPrefixColonAndEndCharacter) {
  Token name = Single("HTA:SERIAL_NO");
  EXPECT_EQ(name.kind, TokenKind::kName);
  EXPECT_EQ(name.text, "HTA:SERIAL_NO");
  EXPECT_EQ(Single("?Field").text, "?Field");
  EXPECT_EQ(Single("_x1").text, "_x1");
  EXPECT_EQ(Single("Total$").text, "Total$");
  EXPECT_EQ(Single("Count#").text, "Count#");
  EXPECT_EQ(Single("Quote\"").text, "Quote\"");

  // The end character closes the name: what follows starts a new token.
  std::vector<Token> tokens = TokensOf("A#B");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0].text, "A#");
  EXPECT_EQ(tokens[1].text, "B");
}

TEST(ExprTokenizerTest, RadixLetterChoosesTheBaseWhenEveryDigitFits) {
  EXPECT_EQ(Single("10H").integer, 16);
  EXPECT_EQ(Single("0ffh").integer, 255);
  EXPECT_EQ(Single("17O").integer, 15);
  EXPECT_EQ(Single("101B").integer, 5);
  EXPECT_EQ(Single("1bh").integer, 27);  // B is a hex digit here, H the radix
  EXPECT_EQ(Single("0FFFFFFFFH").integer, -1);
  EXPECT_EQ(Single("42").integer, 42);
  EXPECT_EQ(Single("42").kind, TokenKind::kInteger);

  EXPECT_EQ(TokensOf("19O")[0].kind, TokenKind::kError);
  EXPECT_EQ(TokensOf("102B")[0].kind, TokenKind::kError);
  EXPECT_EQ(TokensOf("12AB")[0].kind, TokenKind::kError);
  EXPECT_EQ(TokensOf("100000000H")[0].kind, TokenKind::kError);  // more than 32 bits
}

TEST(ExprTokenizerTest, RealsTakeFractionAndExponent) {
  Token real = Single("3.25");
  EXPECT_EQ(real.kind, TokenKind::kReal);
  EXPECT_DOUBLE_EQ(real.real, 3.25);
  EXPECT_DOUBLE_EQ(Single(".5").real, 0.5);
  EXPECT_DOUBLE_EQ(Single("1e3").real, 1000);
  EXPECT_DOUBLE_EQ(Single("2.5E-2").real, 0.025);
  EXPECT_DOUBLE_EQ(Single("7.").real, 7);
  // Beyond 32 bits an integer is kept as a real rather than wrapped.
  Token large = Single("4294967296");
  EXPECT_EQ(large.kind, TokenKind::kReal);
  EXPECT_DOUBLE_EQ(large.real, 4294967296.0);

  EXPECT_EQ(TokensOf("1e")[0].kind, TokenKind::kError);
  EXPECT_EQ(TokensOf("1e+")[0].kind, TokenKind::kError);
  EXPECT_EQ(TokensOf("1.2.3")[0].kind, TokenKind::kError);
}

TEST(ExprTokenizerTest, QuotedTextsReduceDoubledQuotes) {
  Token text = Single("'It''s'");
  EXPECT_EQ(text.kind, TokenKind::kText);
  EXPECT_EQ(text.text, "It's");
  EXPECT_EQ(Single("''").text, "");
  EXPECT_EQ(Single("''''").text, "'");
  EXPECT_EQ(Single("'a, (b)'").text, "a, (b)");
  EXPECT_EQ(TokensOf("'open")[0].kind, TokenKind::kError);
  EXPECT_EQ(TokensOf("'open''")[0].kind, TokenKind::kError);
}

TEST(ExprTokenizerTest, PicturesEndAtBlankCommaOrCloseOutsideParentheses) {
  std::vector<Token> tokens = TokensOf("FORMAT(X,@N-12.2),@D2");
  ASSERT_GE(tokens.size(), 7u);
  EXPECT_EQ(tokens[4].kind, TokenKind::kPicture);
  EXPECT_EQ(tokens[4].text, "@N-12.2");
  EXPECT_TRUE(tokens[5].kind == TokenKind::kOperator && tokens[5].symbol == ')');
  EXPECT_EQ(tokens[7].text, "@D2");

  EXPECT_EQ(Single("@N(10.2)").text, "@N(10.2)");
  EXPECT_EQ(Single("@N~a, b)~12").text, "@N~a, b)~12");  // currency text holds anything
  EXPECT_EQ(Single("@P(###) ###-####P").text, "@P(###) ###-####P");
  EXPECT_EQ(Single("@p##-##pB").text, "@p##-##pB");
  EXPECT_EQ(Single("@K\\K@@K").text, "@K\\K@@K");  // an escaped K does not close

  EXPECT_EQ(TokensOf("@")[0].kind, TokenKind::kError);
  EXPECT_EQ(TokensOf("@P###")[0].kind, TokenKind::kError);
  EXPECT_EQ(TokensOf("@K##\\")[0].kind, TokenKind::kError);
}

TEST(ExprTokenizerTest, OperatorsAndBlanks) {
  std::vector<Token> tokens = TokensOf(" \t1+2 <> [x : y] ~ %^&/*,");
  std::string symbols;
  for (const Token& token : tokens) {
    if (token.kind == TokenKind::kOperator) symbols.push_back(token.symbol);
  }
  EXPECT_EQ(symbols, "+<>[:]~%^&/*,");
  EXPECT_EQ(tokens.back().kind, TokenKind::kEnd);
  EXPECT_EQ(tokens[0].offset, 2u);

  // A colon continues a name, so a slice between names needs a blank.
  EXPECT_EQ(TokensOf("[x:y]")[1].text, "x:y");
}

TEST(ExprTokenizerTest, InvalidCharactersStopTheTokenizer) {
  for (std::string_view text : {"1 ; 2", "a!", "{", "\"x\"", "."}) {
    std::vector<Token> tokens = TokensOf(text);
    EXPECT_EQ(tokens.back().kind, TokenKind::kError) << text;
  }
  // Once in error the tokenizer stays there.
  Tokenizer tokenizer("$ 1");
  tokenizer.Advance();
  EXPECT_EQ(tokenizer.Current().kind, TokenKind::kError);
}

}  // namespace
}  // namespace rk
