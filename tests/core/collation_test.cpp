#include "runtime/core/collation.h"

#include <gtest/gtest.h>

#include <string>

namespace rk {
namespace {

class Collation : public ::testing::Test {
 protected:
  void TearDown() override { ResetCharacterSets(); }
  static int Sign(int v) { return (v > 0) - (v < 0); }
};

TEST_F(Collation, StartsAsBinaryOrderWithAsciiCase) {
  EXPECT_EQ(Weight('a'), 'a');
  EXPECT_EQ(ToUpper('a'), 'A');
  EXPECT_EQ(ToLower('Z'), 'z');
  EXPECT_EQ(ToUpper(0xE9), 0xE9);
  EXPECT_EQ(CharacterClass('7'), kClassDigit);
  EXPECT_LT(CompareCollated("ABC", "abc"), 0);
  EXPECT_EQ(CompareCollatedNoCase("abc", "ABC"), 0);
  EXPECT_GT(CompareCollated("abc", "ab"), 0);
  char text[] = "Mixed Case 1\xE9";
  UpperBuffer(text, kUpToNul);
  EXPECT_STREQ(text, "MIXED CASE 1\xE9");
  LowerBuffer(text, 5);
  EXPECT_STREQ(text, "mixed CASE 1\xE9");
}

TEST_F(Collation, ListReordersOnlyTheCharactersItNames) {
  SetCollatingList("bab");  // the repeated b is dropped
  EXPECT_LT(Weight('b'), Weight('a'));
  EXPECT_EQ(Weight('a'), 'b');
  EXPECT_EQ(Weight('b'), 'a');
  for (int c = 0; c < 256; ++c) {
    if (c != 'a' && c != 'b') {
      ASSERT_EQ(Weight(static_cast<uint8_t>(c)), c);
    }
  }
  EXPECT_LT(CompareCollated("b", "a"), 0);
  EXPECT_GT(CompareCollated("c", "b"), 0);
}

TEST_F(Collation, ListBuildsTheOemTableFromConvertedCharacters) {
  SetCollatingList("\xFC\x75");  // u-umlaut before u
  EXPECT_LT(AnsiWeight(0xFC), AnsiWeight('u'));
  EXPECT_LT(OemWeight(0x81), OemWeight('u'));  // 0x81 is u-umlaut in the OEM page
  SetOemData(true);
  EXPECT_EQ(Weight(0x81), OemWeight(0x81));
}

TEST_F(Collation, DigraphSortsOneCharacterAsTwo) {
  const Digraph sharpS{0xDF, 's', 's'};
  SetDigraphs({&sharpS, 1});
  EXPECT_EQ(CompareCollated("Stra\xDF"
                            "e",
                            "Strasse"),
            0);
  EXPECT_LT(CompareCollated("Stra\xDF"
                            "e",
                            "Strasset"),
            0);
  EXPECT_GT(CompareCollated("Stra\xDF"
                            "e",
                            "Strass"),
            0);
  EXPECT_EQ(CompareCollatedNoCase("STRA\xDF"
                                  "E",
                                  "strasse"),
            0);
  // Sharp s weighs as "ss", so it sorts before T, unlike its own code would.
  EXPECT_LT(CompareCountedNoCase("stra\xDF", "STRAT", 5), 0);

  char key[] =
      "a\xDF"
      "bc";
  MakeSortKey(key, 4);
  EXPECT_EQ(std::string(key, 4), "assb");
  SetDigraphs({});
  EXPECT_FALSE(HasDigraphs());
}

TEST_F(Collation, SystemCaseAndSequence) {
  SetSystemCasePairs();
  EXPECT_EQ(ToUpper(0xE9), 0xC9);
  EXPECT_EQ(ToLower(0xC9), 0xE9);
  EXPECT_EQ(ToUpper(0xFF), 0x9F);
  EXPECT_EQ(ToUpper(0xDF), 0xDF);  // sharp s has no capital here
  EXPECT_EQ(ToUpper(0xF7), 0xF7);  // division sign is no letter

  SetSystemCollation();
  EXPECT_LT(Weight('a'), Weight('A'));
  EXPECT_LT(Weight('A'), Weight('b'));
  EXPECT_LT(Weight('e'), Weight(0xE9));
  EXPECT_LT(Weight(0xE9), Weight('f'));
  EXPECT_LT(Weight('9'), Weight('a'));
  EXPECT_LT(Weight('!'), Weight('0'));
  // The weights stay a permutation of the character codes.
  std::string seen(256, '\0');
  for (int c = 0; c < 256; ++c) ++seen[Weight(static_cast<uint8_t>(c))];
  EXPECT_EQ(seen, std::string(256, '\1'));
}

TEST_F(Collation, CasePairListTakesOnlyHighCharacters) {
  EXPECT_FALSE(SetCasePairs("\xC0\xC1", "\xE0"));
  EXPECT_TRUE(SetCasePairs("\xC0Q", "\xE0q"));
  EXPECT_EQ(ToUpper(0xE0), 0xC0);
  EXPECT_EQ(ToUpper('q'), 'Q');  // ASCII pairs stay
  SetAsciiCasePairs();
  EXPECT_EQ(ToUpper(0xE0), 0xE0);
}

}  // namespace
}  // namespace rk
