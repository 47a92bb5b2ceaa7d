// NEXT and PREVIOUS in key order take the record beside the last one where its
// leaf is still cached: these tests move across leaf boundaries both ways and
// change the file between the moves, through the same table, another table of
// the same file, a rollback, and another writer of the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "runtime/files/kmf_btree.h"
#include "runtime/files/kmf_transaction.h"
#include "tests/files/kmf_table_fixture.h"

namespace rk::kmf {
namespace {

constexpr int kTitleKey = 1;

std::string TitleFor(int n) {
  char title[16];
  std::snprintf(title, sizeof title, "T%06d", n);
  return title;
}

class SequenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = dir_.File("TAPES");
    table_ = testing::TapeTable(name_);
    ASSERT_EQ(table_->Create(), 0);
    ASSERT_EQ(table_->Open(0x42), 0);
  }

  // Adds tapes titled TitleFor(n) for every n in `numbers` that no tape has
  // yet, in a scattered order, so that the title key's leaves fill and split
  // everywhere.
  void AddTitles(Table& table, std::vector<int> numbers) {
    std::shuffle(numbers.begin(), numbers.end(), random_);
    for (int n : numbers) {
      if (titles_.count(TitleFor(n))) continue;
      testing::FillTape(table, ++serials_, TitleFor(n));
      ASSERT_EQ(table.Add(), 0);
      titles_.insert(TitleFor(n));
    }
  }

  static std::vector<int> Range(int first, int last, int step = 1) {
    std::vector<int> numbers;
    for (int n = first; n <= last; n += step) numbers.push_back(n);
    return numbers;
  }

  // Moves once and checks the record reached against the model: the title
  // after (before) `at`, or 33 when there is none.
  void ExpectMove(bool forward, std::string& at) {
    int32_t answer = forward ? table_->Next() : table_->Previous();
    auto it = forward ? titles_.upper_bound(at) : titles_.lower_bound(at);
    bool exists = forward ? it != titles_.end() : it != titles_.begin();
    if (!exists) {
      ASSERT_EQ(answer, 33) << (forward ? "NEXT" : "PREVIOUS") << " from " << at;
      return;
    }
    if (!forward) --it;
    ASSERT_EQ(answer, 0) << (forward ? "NEXT" : "PREVIOUS") << " from " << at;
    ASSERT_EQ(testing::TitleOf(*table_), *it) << (forward ? "NEXT" : "PREVIOUS") << " from " << at;
    at = *it;
  }

  testing::TempDirectory dir_;
  testing::FastStorage fastStorage_;
  std::string name_;
  std::unique_ptr<Table> table_;
  std::set<std::string> titles_;
  int32_t serials_ = 0;
  std::mt19937 random_{5};
};

TEST_F(SequenceTest, MovesAgreeWithTheKeyOrderAcrossLeavesEitherWay) {
  AddTitles(*table_, Range(1, 6000));
  table_->SetKey(kTitleKey);
  std::string at;
  // Straight through forward, back to the start, then a walk that turns
  // often, so that moves start from both ends of leaves in both directions.
  for (size_t i = 0; i < titles_.size(); ++i) ExpectMove(true, at);
  ASSERT_EQ(table_->Next(), 33);
  for (size_t i = 1; i < titles_.size(); ++i) ExpectMove(false, at);
  ASSERT_EQ(table_->Previous(), 33);
  for (int move = 0; move < 20000; ++move) {
    bool forward = (random_() % 10) < 6;
    ExpectMove(forward, at);
    if (HasFatalFailure()) return;
  }
}

TEST_F(SequenceTest, MovesFollowChangesMadeBetweenThem) {
  AddTitles(*table_, Range(0, 8000, 4));
  auto other = testing::TapeTable(name_);  // another table of the same file
  ASSERT_EQ(other->Open(0x42), 0);
  table_->SetKey(kTitleKey);
  std::string at;
  for (int step = 0; step < 300; ++step) {
    for (int move = 0; move < 7; ++move) ExpectMove(step % 5 != 4, at);
    if (HasFatalFailure()) return;
    int n = std::stoi(at.substr(1));
    switch (step % 4) {
      case 0:  // the record just read goes; the sequence goes on from its place
        if (table_->Delete() == 0) titles_.erase(at);
        break;
      case 1:  // new records beside the place and far away split leaves
        AddTitles(*other, {n + 1, n + 2, n + 3, (n * 7 + 5) % 8000});
        break;
      case 2: {  // the next record moves away
        auto next = titles_.upper_bound(at);
        if (next == titles_.end()) break;
        int moved = std::stoi(next->substr(1));
        testing::FillTape(*other, 0, *next);
        other->SetKeyFromValue(kTitleKey);
        ASSERT_EQ(other->Next(), 0);
        ASSERT_EQ(testing::TitleOf(*other), *next);
        testing::FillTape(*other, testing::SerialOf(*other), TitleFor(moved + 100000));
        ASSERT_EQ(other->Put(), 0);
        titles_.erase(next);
        titles_.insert(TitleFor(moved + 100000));
        break;
      }
      default: {  // a rollback drops the cache with the changes in it
        std::set<std::string> before = titles_;
        JoinTransaction(table_->file());
        AddTitles(*other, {n + 1, n + 5000});
        RollbackTransaction();
        titles_ = before;
      }
    }
  }
}

// The storage of a second file object over the same operating-system file,
// standing in for another program that shares the file (the first program's
// exclusive open keeps a real one out).
class SharedStorage : public Storage {
 public:
  explicit SharedStorage(Storage& first) : first_(first) {}
  uint32_t Read(uint64_t offset, uint8_t* buffer, uint32_t count, uint32_t& bytesRead) override {
    return first_.Read(offset, buffer, count, bytesRead);
  }
  uint32_t Write(uint64_t offset, const uint8_t* data, uint32_t count) override {
    return first_.Write(offset, data, count);
  }
  uint32_t Flush() override { return 0; }
  uint32_t Truncate(uint64_t length) override { return first_.Truncate(length); }
  uint32_t Lock(uint64_t offset, uint64_t length) override { return first_.Lock(offset, length); }
  uint32_t Unlock(uint64_t offset, uint64_t length) override {
    return first_.Unlock(offset, length);
  }

 private:
  Storage& first_;
};

TEST_F(SequenceTest, MovesStartAgainAfterAnotherWriterChangedTheFile) {
  // Below the tables: a cursor into a leaf that another writer of the file
  // changed, found out through the change counter.
  std::string path = dir_.File("SHARED.KMF");
  Storage* first = nullptr;
  SetStorageOpener(
      [&first](const std::string& name, uint32_t mode, std::unique_ptr<Storage>& storage) {
        if (first) {
          storage = std::make_unique<SharedStorage>(*first);
          return 0u;
        }
        uint32_t error = OpenOsStorage(name, mode, storage);
        first = storage.get();
        return error;
      });
  std::unique_ptr<File> reader, writer;
  ASSERT_EQ(File::Open(path, 0x142, reader), 0u);
  ASSERT_EQ(File::Open(path, 0x42, writer), 0u);
  std::vector<std::string> keys;
  ASSERT_EQ(writer->BeginAccess(true), 0);
  for (int n = 0; n < 3000; n += 2) {
    keys.push_back(TitleFor(n));
    Tree(*writer).Put(MakeRecord(keys.back(), "first"));
  }
  ASSERT_EQ(writer->EndOperation(), 0u);

  Tree::Cursor cursor;
  Record found;
  std::string at = "T";
  ASSERT_EQ(reader->BeginAccess(false), 0);
  for (int move = 0; move < 700; ++move) {
    ASSERT_TRUE(Tree(*reader).SeekForward(at, move > 0, found, &cursor));
    at = std::string(found.Key());
  }
  ASSERT_EQ(reader->EndOperation(), 0u);
  // The writer fills the gaps after the reader's place, and rewrites the rest.
  ASSERT_EQ(writer->BeginAccess(true), 0);
  for (int n = 1; n < 3000; n += 2) Tree(*writer).Put(MakeRecord(TitleFor(n), "second"));
  ASSERT_EQ(writer->EndOperation(), 0u);

  ASSERT_EQ(reader->BeginAccess(false), 0);
  int expected = std::stoi(at.substr(1)) + 1;
  for (; expected < 3000; ++expected) {
    ASSERT_TRUE(Tree(*reader).SeekForward(at, true, found, &cursor));
    ASSERT_EQ(found.Key(), TitleFor(expected));
    ASSERT_EQ(found.Data(), expected % 2 ? "second" : "first");
    at = std::string(found.Key());
  }
  EXPECT_FALSE(Tree(*reader).SeekForward(at, true, found, &cursor));
  ASSERT_EQ(reader->EndOperation(), 0u);
}

}  // namespace
}  // namespace rk::kmf
