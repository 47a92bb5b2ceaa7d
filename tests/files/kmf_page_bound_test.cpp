// The size bound a page keeps must be what counting its records afresh gives,
// after every operation that changes them; a stale bound would let a page grow
// past the split limit or split too early.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/files/kmf_page.h"

namespace rk::kmf {
namespace {

Page LeafOf(std::initializer_list<const char*> keys) {
  Page page;
  for (const char* key : keys) page.records.push_back(MakeRecord(key, "data"));
  return page;
}

Page IndexOf(std::initializer_list<const char*> keys) {
  Page page;
  page.level = 1;
  uint32_t child = 100;
  for (const char* key : keys) {
    page.records.push_back(MakeRecord(key, ""));
    page.children.push_back(child++);
  }
  return page;
}

// Counts the bound once, so that the operation under test must keep it.
void ExpectKeptBoundExact(Page& page) {
  EXPECT_EQ(page.KeptSizeBound(), SizeBound(page));
}

TEST(KmfPageBoundTest, LeafOperationsKeepTheBound) {
  Page page = LeafOf({"b", "d", "f"});
  page.KeptSizeBound();

  page.Insert(1, MakeRecord("c", "a longer data part"));
  ExpectKeptBoundExact(page);

  page.Replace(0, MakeRecord("b", std::string(40, 'x')));
  ExpectKeptBoundExact(page);

  Record old = page.Exchange(2, MakeRecord("d", ""));
  EXPECT_EQ(old.Key(), "d");
  ExpectKeptBoundExact(page);

  Record taken = page.Take(1);
  EXPECT_EQ(taken.Data(), "a longer data part");
  ExpectKeptBoundExact(page);

  page.Erase(0);
  ExpectKeptBoundExact(page);

  page.Change(0, [](Record& record) { record.bytes.append(25, 'y'); });
  ExpectKeptBoundExact(page);
  EXPECT_EQ(page.records.size(), 2u);
}

TEST(KmfPageBoundTest, IndexOperationsKeepTheBoundAndTheChildren) {
  Page page = IndexOf({"b", "d"});
  page.KeptSizeBound();

  page.InsertWithChild(1, MakeRecord("c", ""), 7);
  ExpectKeptBoundExact(page);
  EXPECT_EQ(page.children, (std::vector<uint32_t>{100, 7, 101}));

  page.Erase(0);
  ExpectKeptBoundExact(page);
  EXPECT_EQ(page.children, (std::vector<uint32_t>{7, 101}));

  page.Replace(1, MakeRecord("d", "longer"));
  ExpectKeptBoundExact(page);
}

TEST(KmfPageBoundTest, SplittingAndMergingKeepBothBounds) {
  Page left = IndexOf({"a", "b", "c", "d"});
  Page right;
  right.level = 1;
  left.KeptSizeBound();
  right.KeptSizeBound();

  left.MoveTailTo(1, right);
  ExpectKeptBoundExact(left);
  ExpectKeptBoundExact(right);
  EXPECT_EQ(left.children, (std::vector<uint32_t>{100}));
  EXPECT_EQ(right.children, (std::vector<uint32_t>{101, 102, 103}));

  left.Absorb(right);
  ExpectKeptBoundExact(left);
  ExpectKeptBoundExact(right);
  EXPECT_EQ(left.records.size(), 4u);
  EXPECT_TRUE(right.records.empty());
}

TEST(KmfPageBoundTest, DecodingForgetsTheBoundOfWhatThePageHeld) {
  Page source = LeafOf({"k"});
  std::string image = EncodePageImage(source);
  FinishPage(image, 0x200);

  Page page = LeafOf({"a", "b", "c", "d"});
  page.KeptSizeBound();
  std::string problem;
  ASSERT_TRUE(
      DecodePage(reinterpret_cast<const uint8_t*>(image.data()), image.size(), page, problem))
      << problem;
  ExpectKeptBoundExact(page);
  EXPECT_EQ(page.records.size(), 1u);
}

}  // namespace
}  // namespace rk::kmf
