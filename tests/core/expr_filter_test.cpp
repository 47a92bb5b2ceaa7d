#include "runtime/core/expr_filter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "runtime/core/collation.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_parser.h"
#include "runtime/core/expr_symbols.h"
#include "runtime/core/value_stack.h"

namespace rk {
namespace {

struct Record {
  int32_t serial;
  char name[8];
  int32_t other;
  uint8_t small;
};

// A record read by a key of SERIAL then NAME, with fields of another file and
// a global bound beside it.
class ExprFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Unbind();
    Values().Clear();
    std::memset(&record_, 0, sizeof record_);
    SetName("");
    std::memset(externalName_, ' ', sizeof externalName_);
    Bind("REC:SERIAL", MakeValueRef(kLong, -1, 0, &record_.serial));
    Bind("REC:NAME", MakeValueRef(kString, 8, 0, record_.name));
    Bind("REC:OTHER", MakeValueRef(kLong, -1, 0, &record_.other));
    Bind("REC:SMALL", MakeValueRef(kByte, -1, 0, &record_.small));
    Bind("EXT:NAME", MakeValueRef(kString, 8, 0, externalName_));
    Bind("WANTED", MakeValueRef(kLong, -1, 0, &wanted_));
    components_[0].field = MakeValueRef(kLong, -1, 0, &record_.serial);
    components_[1].field = MakeValueRef(kString, 8, 0, record_.name);
    key_.components = components_;
    key_.record = &record_;
    key_.recordSize = sizeof record_;
  }
  void TearDown() override {
    Unbind();
    ResetCharacterSets();
  }

  void SetName(std::string_view name) {
    std::memset(record_.name, ' ', sizeof record_.name);
    std::memcpy(record_.name, name.data(), std::min(name.size(), sizeof record_.name));
  }

  ExprTree Filter(std::string_view text) {
    ExprTree tree = Evaluate(text);
    EXPECT_NE(tree, nullptr) << text;
    if (tree) AssignKeyLevels(*tree, key_);
    return tree;
  }

  int LevelOf(std::string_view text) {
    ExprTree tree = Filter(text);
    return tree ? tree->level : -1;
  }

  ComponentBounds Bounds(std::string_view text, size_t index) {
    ExprTree tree = Filter(text);
    return tree ? FindComponentBounds(*tree, key_, index) : ComponentBounds{};
  }

  Record record_;
  char externalName_[8];
  int32_t wanted_ = 0;
  KeyComponent components_[2];
  FilterKey key_;
};

TEST_F(ExprFilterTest, LevelsFollowTheKeyComponents) {
  EXPECT_EQ(LevelOf("1 = 1"), 0);
  EXPECT_EQ(LevelOf("WANTED = TODAY()"), 0);
  EXPECT_EQ(LevelOf("REC:SERIAL = WANTED"), 1);
  EXPECT_EQ(LevelOf("REC:NAME = EXT:NAME"), 2);
  EXPECT_EQ(LevelOf("UPPER(REC:NAME) = 'X'"), 2);
  EXPECT_EQ(LevelOf("REC:OTHER = 1"), 3);  // not in the key: needs the whole record
  EXPECT_EQ(LevelOf("REC:SERIAL = 1 AND REC:OTHER = 2"), 1);
  EXPECT_EQ(LevelOf("REC:NAME = 'A' OR REC:SERIAL = 1"), 1);
  EXPECT_EQ(LevelOf("REC:SERIAL = 1 XOR REC:NAME = 'A'"), 2);
  EXPECT_EQ(LevelOf("NOT REC:NAME = 'A'"), 2);
  EXPECT_EQ(LevelOf("-REC:SERIAL"), 1);
  EXPECT_EQ(LevelOf("REC:SERIAL + LEN(REC:NAME)"), 2);

  // Levels from the caller's own rule.
  ExprTree tree = Evaluate("REC:SERIAL = 1 AND WANTED = 2");
  ASSERT_NE(tree, nullptr);
  AssignLevels(*tree, [](const ExprNode& leaf) { return leaf.symbol->name == "WANTED" ? 5 : 2; });
  EXPECT_EQ(tree->level, 2);
  EXPECT_EQ(tree->children[1]->level, 5);
}

TEST_F(ExprFilterTest, ThreeValuedAnswers) {
  ExprTree both = Filter("REC:SERIAL = WANTED AND REC:OTHER = 5");
  wanted_ = 7;
  record_.serial = 6;
  EXPECT_EQ(EvaluateKnown(*both, 0), Truth::kUnknown);
  EXPECT_EQ(EvaluateKnown(*both, 1), Truth::kFalse);
  record_.serial = 7;
  EXPECT_EQ(EvaluateKnown(*both, 1), Truth::kUnknown);
  EXPECT_EQ(EvaluateKnown(*both, 2), Truth::kUnknown);
  record_.other = 5;
  EXPECT_EQ(EvaluateKnown(*both, 3), Truth::kTrue);
  record_.other = 4;
  EXPECT_EQ(EvaluateKnown(*both, 3), Truth::kFalse);

  ExprTree either = Filter("REC:SERIAL = 1 OR REC:OTHER = 5");
  record_.serial = 1;
  EXPECT_EQ(EvaluateKnown(*either, 1), Truth::kTrue);
  record_.serial = 2;
  EXPECT_EQ(EvaluateKnown(*either, 1), Truth::kUnknown);

  ExprTree negated = Filter("NOT (REC:SERIAL = 1 AND REC:OTHER = 5)");
  record_.serial = 2;
  EXPECT_EQ(EvaluateKnown(*negated, 1), Truth::kTrue);
  record_.serial = 1;
  EXPECT_EQ(EvaluateKnown(*negated, 1), Truth::kUnknown);
}

TEST_F(ExprFilterTest, BoundsOfTheFirstComponent) {
  wanted_ = 7;
  ComponentBounds exact = Bounds("REC:SERIAL = WANTED AND REC:OTHER > 3", 0);
  ASSERT_TRUE(exact.lower.present && exact.upper.present);
  EXPECT_EQ(exact.lower.number, 7);
  EXPECT_EQ(exact.upper.number, 7);

  ComponentBounds range = Bounds("REC:SERIAL > 5 AND REC:SERIAL <= 9 AND REC:SERIAL < 20", 0);
  EXPECT_EQ(range.lower.number, 5);
  EXPECT_EQ(range.upper.number, 9);

  ComponentBounds mirrored = Bounds("5 < REC:SERIAL", 0);
  EXPECT_TRUE(mirrored.lower.present);
  EXPECT_FALSE(mirrored.upper.present);
  EXPECT_EQ(mirrored.lower.number, 5);

  ComponentBounds united = Bounds("REC:SERIAL = 3 OR REC:SERIAL = 8", 0);
  EXPECT_EQ(united.lower.number, 3);
  EXPECT_EQ(united.upper.number, 8);

  ComponentBounds negated = Bounds("NOT (REC:SERIAL < 4 OR REC:SERIAL > 6)", 0);
  EXPECT_EQ(negated.lower.number, 4);
  EXPECT_EQ(negated.upper.number, 6);

  for (const char* unbounded :
       {"REC:SERIAL = 3 OR REC:OTHER = 1", "NOT REC:SERIAL = 4", "REC:SERIAL <> 4",
        "REC:SERIAL = REC:OTHER", "REC:SERIAL = 1 XOR 1", "REC:SERIAL + 1 = 4"}) {
    ComponentBounds none = Bounds(unbounded, 0);
    EXPECT_FALSE(none.lower.present || none.upper.present) << unbounded;
  }
  EXPECT_TRUE(Bounds("NOT REC:SERIAL <> 4", 0).lower.present);
}

TEST_F(ExprFilterTest, NumberLimitsAllowForApproximateEqualityAndTheFieldsRange) {
  // 3 counts as equal to 2.9999999999999996, so 3 must stay inside.
  ComponentBounds close = Bounds("REC:SERIAL <= 2.9999999999999996", 0);
  EXPECT_EQ(close.upper.number, 3);
  ComponentBounds fraction = Bounds("REC:SERIAL >= 2.5 AND REC:SERIAL < -1.5", 0);
  EXPECT_EQ(fraction.lower.number, 3);
  EXPECT_EQ(fraction.upper.number, -2);

  components_[0].field = MakeValueRef(kByte, -1, 0, &record_.small);
  ComponentBounds clamped = Bounds("REC:SMALL > -5 AND REC:SMALL < 300", 0);
  EXPECT_EQ(clamped.lower.number, 0);
  EXPECT_EQ(clamped.upper.number, 255);
}

TEST_F(ExprFilterTest, BoundsOfALaterComponentUseTheEarlierOnes) {
  std::memcpy(externalName_, "MARY    ", 8);
  ComponentBounds name = Bounds("REC:SERIAL = 1 AND REC:NAME >= EXT:NAME", 1);
  EXPECT_TRUE(name.lower.present);
  EXPECT_FALSE(name.upper.present);
  EXPECT_EQ(name.lower.text, "MARY    ");

  record_.serial = 4;
  ComponentBounds fromFirst = Bounds("REC:NAME = SUB('ABCDEFG', REC:SERIAL, 2)", 1);
  EXPECT_EQ(fromFirst.lower.text, "DE");
  EXPECT_EQ(fromFirst.upper.text, "DE");

  // Compared as numbers: no text limit.
  ComponentBounds numeric = Bounds("REC:NAME = 5", 1);
  EXPECT_FALSE(numeric.lower.present || numeric.upper.present);
  // A comparison that the second component takes part in says nothing of the first.
  EXPECT_FALSE(Bounds("REC:NAME = 'A'", 0).lower.present);
}

TEST_F(ExprFilterTest, KeysWithoutCaseTakeOnlyEqualities) {
  std::memcpy(externalName_, "smith   ", 8);
  const char* caseless = "UPPER(REC:NAME) = UPPER(EXT:NAME)";
  EXPECT_FALSE(Bounds(caseless, 1).lower.present);  // the key has case
  components_[1].noCase = true;
  ComponentBounds equal = Bounds(caseless, 1);
  EXPECT_EQ(equal.lower.text, "SMITH   ");
  EXPECT_EQ(equal.upper.text, "SMITH   ");
  EXPECT_TRUE(Bounds("REC:NAME = 'Smith'", 1).upper.present);
  EXPECT_FALSE(Bounds("REC:NAME < 'M'", 1).upper.present);

  components_[1].noCase = false;
  const Digraph sharpS[] = {{0xDF, 's', 's'}};
  SetDigraphs(sharpS);
  EXPECT_FALSE(Bounds("REC:NAME = 'A'", 1).lower.present);
}

TEST_F(ExprFilterTest, CaseFoldedNumbersGiveEqualityBounds) {
  // A number's text has no letters: UPPER(number) = text fixes the number.
  const char* folded = "UPPER(REC:SERIAL) = UPPER(WANTED)";
  wanted_ = 12;
  ComponentBounds equal = Bounds(folded, 0);
  ASSERT_TRUE(equal.lower.present && equal.upper.present);
  EXPECT_EQ(equal.lower.number, 12);
  EXPECT_EQ(equal.upper.number, 12);
  EXPECT_EQ(Bounds("LOWER(REC:SERIAL) = '-7'", 0).upper.number, -7);
  // Text order is not number order, and a negated equality bounds nothing.
  EXPECT_FALSE(Bounds("UPPER(REC:SERIAL) < '5'", 0).upper.present);
  EXPECT_FALSE(Bounds("NOT UPPER(REC:SERIAL) = '5'", 0).lower.present);
}

TEST_F(ExprFilterTest, LaterAreasAreNeverKnown) {
  RecordArea later[] = {{externalName_, sizeof externalName_}};
  key_.laterAreas = later;
  EXPECT_EQ(LevelOf("REC:NAME = EXT:NAME"), kNeverKnown);
  EXPECT_EQ(LevelOf("REC:SERIAL = WANTED"), 1);
  // A value that is read only later cannot bound the key.
  std::memcpy(externalName_, "smith   ", 8);
  EXPECT_FALSE(Bounds("REC:NAME = EXT:NAME", 1).lower.present);
}

TEST_F(ExprFilterTest, StoredLimitsPositionTheKey) {
  KeyLimit number{true, 42, ""};
  StoreLimit(components_[0], number);
  EXPECT_EQ(record_.serial, 42);
  KeyLimit text{true, 0, "AB"};
  StoreLimit(components_[1], text);
  EXPECT_EQ(std::string(record_.name, 8), "AB      ");
  KeyLimit absent;
  StoreLimit(components_[0], absent);
  EXPECT_EQ(record_.serial, 42);
  EXPECT_EQ(Values().Depth(), 0u);
}

// Random filters over random records: a decided answer always agrees with the
// full evaluation, and every passing record lies inside the bounds.
TEST_F(ExprFilterTest, AnswersAndBoundsAreSound) {
  std::mt19937 random(99);
  const char* atoms[] = {
      "REC:SERIAL = %d",
      "REC:SERIAL < %d",
      "REC:SERIAL >= %d",
      "%d <= REC:SERIAL",
      "REC:SERIAL <> %d",
      "REC:OTHER = %d",
      "REC:OTHER > %d",
      "REC:NAME = 'N%d'",
      "REC:NAME > 'N%d'",
      "REC:SERIAL = WANTED",
      "REC:SERIAL + REC:OTHER > %d",
  };
  auto atom = [&]() {
    char text[64];
    std::snprintf(text, sizeof text, atoms[random() % std::size(atoms)],
                  static_cast<int>(random() % 6));
    return std::string(text);
  };
  std::function<std::string(int)> filter = [&](int depth) -> std::string {
    if (depth == 0 || random() % 3 == 0) return atom();
    switch (random() % 3) {
      case 0:
        return "(" + filter(depth - 1) + ") AND (" + filter(depth - 1) + ")";
      case 1:
        return "(" + filter(depth - 1) + ") OR (" + filter(depth - 1) + ")";
      default:
        return "NOT (" + filter(depth - 1) + ")";
    }
  };
  for (int round = 0; round < 300; ++round) {
    std::string text = filter(3);
    ExprTree tree = Filter(text);
    ASSERT_NE(tree, nullptr) << text;
    for (int sample = 0; sample < 20; ++sample) {
      wanted_ = static_cast<int32_t>(random() % 6);
      record_.serial = static_cast<int32_t>(random() % 6);
      record_.other = static_cast<int32_t>(random() % 6);
      SetName("N" + std::to_string(random() % 6));
      bool passes = EvaluateAsTruth(*tree);
      for (int known = 0; known <= 3; ++known) {
        Truth answer = EvaluateKnown(*tree, known);
        if (answer != Truth::kUnknown) {
          ASSERT_EQ(answer == Truth::kTrue, passes) << text << " known " << known;
        }
      }
      if (!passes) continue;
      ComponentBounds serial = FindComponentBounds(*tree, key_, 0);
      ASSERT_TRUE(!serial.lower.present || record_.serial >= serial.lower.number) << text;
      ASSERT_TRUE(!serial.upper.present || record_.serial <= serial.upper.number) << text;
      ComponentBounds name = FindComponentBounds(*tree, key_, 1);
      std::string_view field(record_.name, 8);
      ASSERT_TRUE(!name.lower.present || CompareSpacePadded(field, name.lower.text) >= 0) << text;
      ASSERT_TRUE(!name.upper.present || CompareSpacePadded(field, name.upper.text) <= 0) << text;
    }
  }
}

}  // namespace
}  // namespace rk
