// The thumb table of a browse and the locator of a select, on their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/browse_locator.h"
#include "app/browse_thumbs.h"
#include "runtime/core/collation.h"

namespace rk {
namespace {

TEST(ThumbTableTest, NumbersRunEvenlyFromTheFirstRecordToTheLast) {
  ThumbTable table = ThumbTable::Numeric(1, 100, true);
  EXPECT_EQ(table.Entry(1), "1");
  EXPECT_EQ(table.Entry(50), "50");
  EXPECT_EQ(table.Entry(100), "100");
  ThumbTable wide = ThumbTable::Numeric(1000, 1990, true);
  EXPECT_EQ(wide.Entry(2), "1010");
  EXPECT_EQ(wide.Entry(100), "1990");
  // Two records: the entries round to one of them, never past either.
  ThumbTable narrow = ThumbTable::Numeric(7, 8, true);
  for (int i = 1; i <= kThumbEntries; ++i) {
    EXPECT_TRUE(narrow.Entry(i) == "7" || narrow.Entry(i) == "8") << i;
  }
}

TEST(ThumbTableTest, AValuesPositionIsTheFirstEntryNotBelowIt) {
  ThumbTable table = ThumbTable::Numeric(1, 100, true);
  EXPECT_EQ(ThumbPositionOf(table, "1"), 0) << "the first entry is position 0";
  EXPECT_EQ(ThumbPositionOf(table, "49.5"), 50);
  EXPECT_EQ(ThumbPositionOf(table, "100"), 100);
  EXPECT_EQ(ThumbPositionOf(table, "250"), 101);
  EXPECT_EQ(ThumbPositionOf(ThumbTable(), "5"), 0) << "no records, no table";
}

TEST(ThumbTableTest, TextsCountInTheAlphabetAfterTheirCommonPrefix) {
  ResetCharacterSets();
  EXPECT_EQ(ThumbAlphabet(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");

  ThumbTable table = ThumbTable::Text("AARDVARK    ", "ZEBRA");
  EXPECT_EQ(table.Entry(1), "AARD");
  EXPECT_EQ(table.Entry(100), "ZEBR");
  std::vector<std::string> entries;
  for (int i = 1; i <= kThumbEntries; ++i) entries.push_back(table.Entry(i));
  EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end()));
  EXPECT_TRUE(entries[49][0] == 'M' || entries[49][0] == 'N') << entries[49];

  ThumbTable shared = ThumbTable::Text("THE ALPHA", "THE ZULU");
  for (int i = 1; i <= kThumbEntries; ++i) {
    EXPECT_EQ(shared.Entry(i).substr(0, 4), "THE ") << i;
  }
  EXPECT_EQ(ThumbPositionOf(shared, "the alph"), 0) << "compared without regard to case";
  EXPECT_EQ(shared.FirstNotBelow("THE ALPHA"), 2) << "the first entry keeps four characters";
  EXPECT_EQ(ThumbPositionOf(shared, "THE ZZZ"), 101);
}

TEST(BrowseLocatorTest, KeepsItsCapacityButCountsEveryTypedKey) {
  BrowseLocator locator(3);
  for (char c : std::string("ABCDE")) EXPECT_TRUE(locator.Key(c, c));
  EXPECT_EQ(locator.Text(), "ABC");
  EXPECT_EQ(locator.Count(), 5);
  EXPECT_TRUE(locator.Key(8, 0));
  EXPECT_TRUE(locator.Key(8, 0));
  EXPECT_EQ(locator.Text(), "ABC") << "the first backspaces remove what was not kept";
  EXPECT_TRUE(locator.Key(8, 0));
  EXPECT_EQ(locator.Text(), "AB");
  EXPECT_TRUE(locator.Key(0x20, ' '));
  EXPECT_EQ(locator.Text(), "AB ");
  EXPECT_FALSE(locator.Key(0x26, 0)) << "a key that types nothing";
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(locator.Key(8, 0));
  EXPECT_FALSE(locator.Key(8, 0)) << "nothing left to remove";
  EXPECT_EQ(locator.Text(), "");
}

}  // namespace
}  // namespace rk
