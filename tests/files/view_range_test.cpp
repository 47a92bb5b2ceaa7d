// Filters of views: decided as early as the levels read allow, and range limits
// that read only the records a filter can pass, checked against a full scan.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/files/view_fixture.h"

namespace rk::testing {
namespace {

class ViewFilterTest : public ViewTest {
 protected:
  std::vector<std::string> Items(View& view, bool forward) {
    return ReadAll(view, forward, [&] { return ItemRow(); });
  }
  std::string ItemRow() {
    return items_->text("ITM:SERIAL") + "/" + items_->text("ITM:DATE") + "/" +
           Trimmed(items_->text("ITM:DESCRIPTION"));
  }
};

TEST_F(ViewFilterTest, ParentLevelDecidesBeforeChildrenAreRead) {
  for (int tape = 1; tape <= 4; ++tape) {
    AddTape(tape, tape % 2 ? "Odd" : "Even");
    for (int item = 0; item < 3; ++item) AddItem(tape, item, "x");
  }
  View view({PrimaryFile(tapes_->file()), JoinedFile(items_->key(1), {1})});
  SetProperty(view, kPropFilter, "TAP:TITLE = 'Odd' AND ITM:DATE <> 1");
  SET(tapes_->key(1));
  ReadCounts().clear();
  std::vector<std::string> rows = ReadAll(view, true, [&] { return TapeAndItem(); });
  EXPECT_EQ(rows.size(), 4u);  // tapes 1 and 3, items 0 and 2
  // Only the two odd tapes' items are read: three each and one past them.
  EXPECT_EQ(Reads(*items_), 8);
  CLOSE(view);
}

TEST_F(ViewFilterTest, EmptyChildRecordsMeetTheFilterToo) {
  AddTape(1, "Has");
  AddTape(2, "None");
  AddItem(1, 5, "kept");
  AddItem(1, 6, "dropped");
  View view({PrimaryFile(tapes_->file()), JoinedFile(items_->key(1), {1})});
  SET(tapes_->key(1));
  SetProperty(view, kPropFilter, "ITM:DESCRIPTION <> 'dropped'");
  EXPECT_EQ(ReadAll(view, true, [&] { return TapeAndItem(); }),
            (std::vector<std::string>{"1:kept", "2:"}));
  // A filter that no empty record meets keeps childless parents out.
  SET(tapes_->key(1));
  SetProperty(view, kPropFilter, "ITM:DATE > 0");
  EXPECT_EQ(ReadAll(view, true, [&] { return TapeAndItem(); }),
            (std::vector<std::string>{"1:kept", "1:dropped"}));
  CLOSE(view);
}

TEST_F(ViewFilterTest, LinkFilterReadsOnlyTheParentsRange) {
  for (int tape = 1; tape <= 50; ++tape)
    for (int item = 0; item < 4; ++item) AddItem(tape, item, "t" + std::to_string(tape));
  View view({PrimaryFile(items_->file())});
  SetProperty(view, kPropFilter, "ITM:SERIAL = WANTED");
  wanted_ = 17;

  SET(items_->key(1));
  ReadCounts().clear();
  std::vector<std::string> rows = Items(view, true);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows.front(), "17/0/t17");
  EXPECT_EQ(Reads(*items_), 5);  // the range and the record after it

  SET(items_->key(1));
  ReadCounts().clear();
  rows = Items(view, false);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows.front(), "17/3/t17");
  EXPECT_EQ(Reads(*items_), 5);

  // Located inside the range (as a browse does from the selected record): the
  // walk starts there and still stops at the range's end.
  items_->setLong("ITM:SERIAL", 17);
  SET(items_->key(1), items_->key(1));
  ReadCounts().clear();
  EXPECT_EQ(Items(view, true).size(), 4u);
  EXPECT_EQ(Reads(*items_), 5);
  // Located before it: one look at the first record, then a jump.
  items_->setLong("ITM:SERIAL", 3);
  SET(items_->key(1), items_->key(1));
  ReadCounts().clear();
  EXPECT_EQ(Items(view, true).size(), 4u);
  EXPECT_EQ(Reads(*items_), 6);

  // The parent changes between walks: the limits follow it.
  wanted_ = 50;
  SET(items_->key(1));
  EXPECT_EQ(Items(view, true).front(), "50/0/t50");
  wanted_ = 99;
  SET(items_->key(1));
  ReadCounts().clear();
  EXPECT_TRUE(Items(view, true).empty());
  EXPECT_EQ(Reads(*items_), 1);
  CLOSE(view);
}

TEST_F(ViewFilterTest, CaseFoldedLinkLimitsACompoundKey) {
  for (int video = 1; video <= 20; ++video) {
    AddCast(video, "Zed");
    AddCast(video, "Abe");
    AddCast(video, "mia");
  }
  View view({PrimaryFile(cast_->file())});
  SetProperty(view, kPropFilter, "UPPER(CST:SERIAL) = UPPER(WANTED)");
  wanted_ = 9;
  for (bool forward : {true, false}) {
    SET(cast_->key(1));
    ReadCounts().clear();
    std::vector<std::string> names = ReadAll(view, forward, [&] {
      return cast_->text("CST:SERIAL") + Trimmed(cast_->text("CST:PERFORMER"));
    });
    std::vector<std::string> expected{"9Abe", "9mia", "9Zed"};
    if (!forward) std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    EXPECT_EQ(Reads(*cast_), 4);
  }
  CLOSE(view);
}

TEST_F(ViewFilterTest, CaselessTextKeysKeepEqualValuesTogether) {
  const char* titles[] = {"alpha", "Beta", "zeta", "BETA", "beta", "Betamax", "gamma", "bet"};
  for (int i = 0; i < 8; ++i) AddTape(i + 1, titles[i]);
  View view({PrimaryFile(tapes_->file())});
  SetProperty(view, kPropFilter, "UPPER(TAP:TITLE) = 'BETA'");
  for (bool forward : {true, false}) {
    SET(tapes_->key(2));
    ReadCounts().clear();
    std::vector<std::string> rows =
        ReadAll(view, forward, [&] { return Trimmed(tapes_->text("TAP:TITLE")); });
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::string>{"BETA", "Beta", "beta"}));
    EXPECT_EQ(Reads(*tapes_), 4);
  }
  CLOSE(view);
}

TEST_F(ViewFilterTest, RecordOrderHasNoLimitsButKeepsItsPositions) {
  for (int tape = 1; tape <= 6; ++tape) AddTape(7 - tape, "t");
  View view({PrimaryFile(tapes_->file())});
  SetProperty(view, kPropFilter, "TAP:SERIAL >= 3");
  SET(tapes_->file());
  ReadCounts().clear();
  std::vector<std::string> serials =
      ReadAll(view, true, [&] { return tapes_->text("TAP:SERIAL"); });
  EXPECT_EQ(serials, (std::vector<std::string>{"6", "5", "4", "3"}));
  EXPECT_EQ(Reads(*tapes_), 7);  // record order is not key order: every record is read

  SET(view);
  NEXT(view);
  NEXT(view);
  std::string second = POSITION(view);
  EXPECT_EQ(second.substr(0, 4), std::string(4, '\0'));  // record order
  RESET(view, second);
  EXPECT_EQ(ReadAll(view, true, [&] { return tapes_->text("TAP:SERIAL"); }),
            (std::vector<std::string>{"5", "4", "3"}));
  CLOSE(view);
}

// Random items read by (SERIAL, DATE descending) through filters of every
// shape the analysis knows; each is read with its limits and again with the
// limits defeated by an OR that bounds nothing: the rows must be the same, in
// the same order, and the limited walk never reads more.
TEST_F(ViewFilterTest, LimitedWalksYieldWhatFullScansYield) {
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> serial(1, 30), date(1, 12);
  for (int i = 0; i < 600; ++i)
    AddItem(serial(random), date(random), std::string(1, static_cast<char>('a' + i % 5)));

  const std::vector<std::string> shapes = {
      "ITM:SERIAL = WANTED",
      "ITM:SERIAL = WANTED AND ITM:DATE >= {d}",
      "ITM:SERIAL = WANTED AND ITM:DATE < {d} AND ITM:DESCRIPTION <> 'c'",
      "ITM:SERIAL >= {s} AND ITM:SERIAL <= WANTED",
      "ITM:SERIAL > {s}",
      "ITM:SERIAL < {s} OR ITM:SERIAL = WANTED",
      "NOT ITM:SERIAL < {s} AND ITM:DATE = {d}",
      "UPPER(ITM:SERIAL) = UPPER(WANTED) AND (ITM:DATE = {d} OR ITM:DATE = 3)",
      "ITM:SERIAL = WANTED + 0.4",
  };
  View view({PrimaryFile(items_->file())});
  int limitedTotal = 0, fullTotal = 0;
  for (int round = 0; round < 12; ++round) {
    for (std::string shape : shapes) {
      wanted_ = static_cast<int16_t>(serial(random));
      for (auto [mark, value] : {std::pair{"{d}", date(random)}, std::pair{"{s}", serial(random)}})
        if (size_t at = shape.find(mark); at != std::string::npos)
          shape.replace(at, 3, std::to_string(value));
      for (bool forward : {true, false}) {
        auto walk = [&](const std::string& filter, int& reads) {
          SetProperty(view, kPropFilter, filter);
          EXPECT_EQ(ErrorCode(), 0) << filter;
          SET(items_->key(2));
          ReadCounts().clear();
          std::vector<std::string> rows = ReadAll(view, forward, [&] {
            return ItemRow() + "#" + std::to_string(POINTER(items_->file()));
          });
          reads = Reads(*items_);
          return rows;
        };
        int limitedReads = 0, fullReads = 0;
        std::vector<std::string> limited = walk(shape, limitedReads);
        std::vector<std::string> full = walk("(" + shape + ") OR 1 = 0", fullReads);
        EXPECT_EQ(limited, full) << shape << (forward ? " forward" : " backward");
        EXPECT_LE(limitedReads, fullReads) << shape;
        EXPECT_EQ(fullReads, 601) << shape;
        limitedTotal += limitedReads;
        fullTotal += fullReads;
      }
    }
  }
  // Most shapes fix or bound the serial: the limits must have saved most reads.
  EXPECT_LT(limitedTotal * 3, fullTotal);
  CLOSE(view);
}

}  // namespace
}  // namespace rk::testing
