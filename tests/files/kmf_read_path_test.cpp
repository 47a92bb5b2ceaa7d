// Reading single records: leaves searched in their encoded form when the cache
// does not hold them, the cache's admission of such leaves, and the pages that
// the cache keeps while reads scatter over a large file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "runtime/files/kmf_btree.h"
#include "runtime/files/kmf_check.h"
#include "runtime/files/kmf_file.h"
#include "tests/files/kmf_test_support.h"

namespace rk::kmf {
namespace {

using testing::CountingStorage;

class ReadPathTest : public testing::FileTest {
 protected:
  ReadPathTest() : FileTest("reads.kmf") {}

  // Writes the model's records into a new file, a write-back now and then so
  // that pages move between the cache and the disk as they grow.
  void Store(const std::map<std::string, std::string>& model) {
    auto file = OpenFile();
    ASSERT_EQ(file->BeginAccess(true), 0);
    Tree tree(*file);
    size_t stored = 0;
    for (const auto& [key, value] : model) {
      tree.Put(MakeRecord(key, value));
      if (++stored % 500 == 0) {
        ASSERT_EQ(file->WriteBack(), 0u);
      }
    }
    ASSERT_EQ(file->WriteBack(), 0u);
  }

  // Records of `count` keys spread over the key space; values share long
  // prefixes with their neighbours and hold runs, so that the pages use
  // prefix and run-length compression.
  static std::map<std::string, std::string> Model(size_t count, size_t valueLength) {
    std::map<std::string, std::string> model;
    std::mt19937 random(11);
    for (size_t i = 0; i < count; ++i) {
      char key[16];
      std::snprintf(key, sizeof key, "k%07u", static_cast<unsigned>(i * 13 % 1000003));
      std::string value(valueLength - random() % 8, ' ');
      value.replace(0, 6, "value-");
      value[6 + random() % 4] = static_cast<char>('a' + random() % 26);
      value.back() = static_cast<char>('0' + i % 10);
      model[key] = value;
    }
    return model;
  }
};

TEST_F(ReadPathTest, SingleReadsAgreeWithTheRecordsWhetherTheirLeavesAreCachedOrNot) {
  const auto model = Model(3000, 60);
  Store(model);
  // Sought keys: every record's, and keys that fall before, between and after
  // them (some between two leaves, or past the last record of the file).
  std::vector<std::string> sought;
  for (const auto& [key, value] : model) {
    sought.push_back(key);
    sought.push_back(key + '\0');
    sought.push_back(key.substr(0, key.size() - 1));
  }
  sought.push_back("");
  sought.push_back("zzz");
  std::mt19937 random(4);
  std::shuffle(sought.begin(), sought.end(), random);

  auto file = OpenFile();
  ASSERT_EQ(file->BeginAccess(false), 0);
  Tree tree(*file);
  // The first round finds most leaves not cached, the second admits them, the
  // third finds them cached.
  for (int round = 0; round < 3; ++round) {
    for (const std::string& key : sought) {
      std::string data = "left over";
      auto it = model.find(key);
      ASSERT_EQ(tree.FetchData(key, data), it != model.end()) << key << " round " << round;
      if (it != model.end()) {
        ASSERT_EQ(data, it->second) << key << " round " << round;
      }
    }
    ASSERT_EQ(file->EndOperation(), 0u);
    ASSERT_EQ(file->BeginAccess(false), 0);
  }
}

TEST_F(ReadPathTest, SingleReadsSeeChangesMadeSinceTheLastRead) {
  auto model = Model(2000, 40);
  Store(model);
  auto file = OpenFile();
  ASSERT_EQ(file->BeginAccess(true), 0);
  Tree tree(*file);
  // Reads with one hint, between changes that are not written back: values
  // that grow and shrink, removed records, and added ones that split leaves,
  // the hinted leaf among them.
  Tree::Cursor hint;
  std::mt19937 random(8);
  auto expectRead = [&](const std::string& key) {
    std::string data = "left over";
    auto it = model.find(key);
    ASSERT_EQ(tree.FetchData(key, data, &hint), it != model.end()) << key;
    if (it != model.end()) {
      ASSERT_EQ(data, it->second) << key;
    }
  };
  for (int step = 0; step < 3000; ++step) {
    auto it = std::next(model.begin(), static_cast<long>(random() % model.size()));
    std::string key = it->first;
    switch (step % 3) {
      case 0:
        it->second = std::string(10 + random() % 90, 'c');
        tree.Replace(MakeRecord(key, it->second));
        break;
      case 1:
        ASSERT_TRUE(tree.Remove(key));
        model.erase(it);
        break;
      default:
        for (char c : {'+', '-', '='}) {
          model[key + c] = std::string(random() % 200, c);
          tree.Put(MakeRecord(key + c, model[key + c]));
        }
    }
    expectRead(key);
    expectRead(key + "+");
    expectRead(std::next(model.begin(), static_cast<long>(random() % model.size()))->first);
    if (HasFatalFailure()) return;
  }
  for (const auto& entry : model) expectRead(entry.first);
  expectRead("k" + std::string(7, '9') + "+");
}

TEST_F(ReadPathTest, LeafReadForOneRecordIsCachedAtItsSecondRead) {
  const auto model = Model(3000, 60);
  Store(model);
  auto file = OpenFile();
  ASSERT_EQ(file->BeginAccess(false), 0);
  Tree tree(*file);
  const std::string& key = std::next(model.begin(), 1500)->first;
  const std::string& neighbour = std::next(model.begin(), 1501)->first;
  std::string data;
  ASSERT_TRUE(tree.FetchData(key, data));  // the index pages and the leaf
  long before = CountingStorage::reads;
  ASSERT_TRUE(tree.FetchData(key, data));
  EXPECT_EQ(CountingStorage::reads - before, 1) << "the leaf alone is read again";
  before = CountingStorage::reads;
  ASSERT_TRUE(tree.FetchData(key, data));
  ASSERT_TRUE(tree.FetchData(neighbour, data));
  EXPECT_EQ(CountingStorage::reads, before) << "the leaf is cached now";
  EXPECT_EQ(data, model.at(neighbour));
}

TEST_F(ReadPathTest, ReadsInKeyOrderReadEachPageOnceEitherWay) {
  const auto model = Model(6000, 60);
  Store(model);
  size_t pages = CheckFile(path_).pages;
  size_t parentsOfLeaves = 0;
  {
    auto file = OpenFile();
    ASSERT_EQ(file->BeginAccess(false), 0);
    std::vector<uint32_t> ids = {file->root()};
    while (!ids.empty()) {
      const Page page = file->LoadPage(ids.back());
      ids.pop_back();
      parentsOfLeaves += page.level == 1;
      if (page.level > 1) ids.insert(ids.end(), page.children.begin(), page.children.end());
    }
    ASSERT_GT(parentsOfLeaves, 2u);
  }
  for (bool forward : {true, false}) {
    auto file = OpenFile();
    Tree tree(*file);
    Tree::Cursor hint;
    std::string data;
    ASSERT_EQ(file->BeginAccess(false), 0);
    long before = CountingStorage::reads;  // after the header's read
    auto read = [&](const auto& entry) {
      ASSERT_TRUE(tree.FetchData(entry.first, data, &hint));
      ASSERT_EQ(data, entry.second);
    };
    if (forward) {
      std::for_each(model.begin(), model.end(), read);
    } else {
      std::for_each(model.rbegin(), model.rend(), read);
    }
    // A leaf entered from its neighbour under the same parent is cached at
    // once, not read again at the second record wanted from it; only the
    // first leaf under each parent is read twice (searched for one record,
    // then cached when read again).
    EXPECT_LE(CountingStorage::reads - before, static_cast<long>(pages + parentsOfLeaves))
        << forward;
  }
}

TEST_F(ReadPathTest, IndexPagesStayCachedWhileReadsScatterOverManyLeaves) {
  // Long records make many leaves and many index pages above them.
  const auto model = Model(12000, 120);
  Store(model);
  std::vector<std::string> keys;
  for (const auto& entry : model) keys.push_back(entry.first);
  auto file = OpenFile();
  std::mt19937 random(6);
  std::string data;
  auto operation = [&] {
    // An operation that reads three scattered records, as a NEXT in key
    // order descends for its key entry, its data record and its memo.
    ASSERT_EQ(file->BeginAccess(false), 0);
    Tree tree(*file);
    for (int read = 0; read < 3; ++read) {
      ASSERT_TRUE(tree.FetchData(keys[random() % keys.size()], data));
    }
    ASSERT_EQ(file->EndOperation(), 0u);
  };
  for (int warm = 0; warm < 2000; ++warm) operation();
  long before = CountingStorage::reads;
  const int operations = 2000;
  for (int i = 0; i < operations; ++i) operation();
  // A read may find its leaf on disk (there are far more leaves than the
  // cache holds), but the index pages above the leaves, each used by some of
  // the operations, should stay cached: no more reads than leaves sought.
  EXPECT_LE(CountingStorage::reads - before, 3 * operations);
}

}  // namespace
}  // namespace rk::kmf
