#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "runtime/files/kmf_btree.h"
#include "runtime/files/kmf_check.h"
#include "runtime/files/kmf_file.h"
#include "tests/files/kmf_test_support.h"

namespace rk::kmf {
namespace {

class TreeTest : public testing::FileTest {
 protected:
  TreeTest() : FileTest("tree.kmf") {}

  static std::string RandomKey(std::mt19937& random) {
    std::string key(4 + random() % 20, '\0');
    for (char& c : key) c = static_cast<char>('a' + random() % 8);
    return key;
  }

  // Compares the whole tree with the model, walking forward and backward.
  void ExpectContents(File& file, const std::map<std::string, std::string>& model) {
    Tree tree(file);
    Record found;
    std::string key;
    bool strictly = false;
    for (const auto& [k, v] : model) {
      ASSERT_TRUE(tree.SeekForward(key, strictly, found));
      ASSERT_EQ(found.Key(), k);
      ASSERT_EQ(found.Data(), v);
      key = k;
      strictly = true;
    }
    EXPECT_FALSE(tree.SeekForward(key, true, found));
    std::string high(40, '\xF0');
    for (auto it = model.rbegin(); it != model.rend(); ++it) {
      ASSERT_TRUE(tree.SeekBackward(high, true, found));
      ASSERT_EQ(found.Key(), it->first);
      high = it->first;
    }
    EXPECT_FALSE(tree.SeekBackward(high, true, found));
  }

  // This writer keeps each index record a whole copy of its child's first
  // record (readers need only the key).
  void ExpectIndexCopies(File& file, uint32_t id) {
    Page page = file.LoadPage(id);
    if (!page.IsIndex()) return;
    for (size_t i = 0; i < page.records.size(); ++i) {
      EXPECT_EQ(page.records[i], file.LoadPage(page.children[i]).records.front());
      ExpectIndexCopies(file, page.children[i]);
    }
  }

  // The checker's report of the file, every problem a failure.
  CheckReport CheckedFile(size_t expectedRecords) {
    CheckReport report = CheckFile(path_);
    for (const auto& problem : report.problems) ADD_FAILURE() << problem;
    EXPECT_EQ(report.records, expectedRecords);
    return report;
  }
};

TEST_F(TreeTest, RandomChangesSurviveWriteBacksAndReopening) {
  std::mt19937 random(3);
  std::map<std::string, std::string> model;
  {
    auto file = OpenFile();
    ASSERT_EQ(file->BeginAccess(true), 0);
    Tree tree(*file);
    for (int step = 0; step < 6000; ++step) {
      std::string key = RandomKey(random);
      int choice = static_cast<int>(random() % 8);
      if (choice < 2 && !model.empty()) {
        auto it = model.lower_bound(key);
        if (it == model.end()) it = model.begin();
        EXPECT_TRUE(tree.Remove(it->first));
        model.erase(it);
      } else if (choice == 2 && !model.empty()) {
        // Overwriting in place, mostly at the same length; the first records
        // of pages are copied into the index pages above them.
        auto it = model.lower_bound(key);
        if (it == model.end()) it = model.begin();
        size_t length = random() % 5 == 0 ? random() % 300 : it->second.size();
        std::string value(length, static_cast<char>('a' + random() % 26));
        tree.Replace(MakeRecord(it->first, value));
        it->second = value;
        const Record* found = tree.Lookup(it->first);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->Data(), value);
      } else {
        std::string value(random() % 300, static_cast<char>('A' + random() % 3));
        tree.Put(MakeRecord(key, value));
        model[key] = value;
      }
      if (step % 97 == 0) {
        ASSERT_EQ(file->WriteBack(), 0u);
      }
    }
    EXPECT_FALSE(tree.Remove("not there"));
    EXPECT_EQ(tree.Lookup("not there"), nullptr);
    ASSERT_EQ(file->WriteBack(), 0u);
    ExpectContents(*file, model);
    ExpectIndexCopies(*file, file->root());
    file->CutToUsedEnd();
  }
  CheckReport report = CheckedFile(model.size());
  EXPECT_EQ(std::filesystem::file_size(path_), report.fileBytes);

  auto file = OpenFile();
  ASSERT_EQ(file->BeginAccess(false), 0);
  ExpectContents(*file, model);
}

TEST_F(TreeTest, RemovingEverythingLeavesAnEmptyTree) {
  auto file = OpenFile();
  ASSERT_EQ(file->BeginAccess(true), 0);
  Tree tree(*file);
  std::vector<std::string> keys;
  for (int i = 0; i < 3000; ++i) {
    keys.push_back("k" + std::to_string(i * 7919 % 3001));
    tree.Put(MakeRecord(keys.back(), std::string(50, 'v')));
  }
  ASSERT_EQ(file->WriteBack(), 0u);
  EXPECT_GT(file->header().rangeEnd[1] + file->header().rangeEnd[20], 0u);
  for (const std::string& key : keys) ASSERT_TRUE(tree.Remove(key));
  EXPECT_EQ(file->root(), kNoPage);
  ASSERT_EQ(file->WriteBack(), 0u);
  EXPECT_EQ(file->header().root, kNoPage);
  Record found;
  EXPECT_FALSE(tree.SeekForward("", false, found));
}

TEST_F(TreeTest, BulkLoadedFileStaysCloseToItsLivePages) {
  {
    auto file = OpenFile();
    ASSERT_EQ(file->BeginAccess(true), 0);
    Tree tree(*file);
    std::mt19937 random(5);
    for (int i = 0; i < 20000; ++i) {
      char key[32];
      std::snprintf(key, sizeof key, "%08u", static_cast<unsigned>(random()));
      std::string value(40 + random() % 80, ' ');
      for (size_t j = 0; j < value.size(); j += 3)
        value[j] = static_cast<char>('a' + random() % 26);
      tree.Put(MakeRecord(key, value));
      if (i % 10 == 0) {
        ASSERT_EQ(file->WriteBack(), 0u);
      }
    }
    ASSERT_EQ(file->WriteBack(), 0u);
    file->CutToUsedEnd();
  }
  CheckReport report = CheckFile(path_);
  for (const auto& problem : report.problems) ADD_FAILURE() << problem;
  EXPECT_LE(static_cast<double>(report.fileBytes), 1.3 * report.liveBytes)
      << report.fileBytes << " bytes for " << report.liveBytes << " live";
}

TEST_F(TreeTest, DeletingMostRecordsMergesTheirPages) {
  std::map<std::string, std::string> model;
  {
    auto file = OpenFile();
    ASSERT_EQ(file->BeginAccess(true), 0);
    Tree tree(*file);
    for (int i = 0; i < 4000; ++i) {
      char key[16];
      std::snprintf(key, sizeof key, "%06d", i * 7 % 4000);
      model[key] = std::string(60, static_cast<char>('a' + i % 26));
      tree.Put(MakeRecord(key, model[key]));
    }
    ASSERT_EQ(file->WriteBack(), 0u);
  }
  size_t pagesFull = CheckFile(path_).pages;
  {
    // Nine in ten go, scattered over every page, written back now and then.
    auto file = OpenFile();
    ASSERT_EQ(file->BeginAccess(true), 0);
    Tree tree(*file);
    int removed = 0;
    for (auto it = model.begin(); it != model.end();) {
      if (std::stoi(it->first) % 10 == 3) {
        ++it;
        continue;
      }
      ASSERT_TRUE(tree.Remove(it->first));
      it = model.erase(it);
      if (++removed % 500 == 0) {
        ASSERT_EQ(file->WriteBack(), 0u);
      }
    }
    ASSERT_EQ(file->WriteBack(), 0u);
    ExpectContents(*file, model);
    file->CutToUsedEnd();
  }
  CheckReport report = CheckedFile(model.size());
  // A tenth of the records in far fewer pages than they had: without merging
  // every leaf would keep its tenth.
  EXPECT_LT(report.pages * 4, pagesFull) << report.pages << " pages of " << pagesFull;
}

// Writes with hints take the hinted leaf only when it encloses the key; the
// rest descend. Ascending keys (which mostly hit), scattered keys (which
// mostly miss), refused insertions, changes of length and removals that merge
// and free pages (so that a hint may name a page that is gone or is another
// page now) must leave the same tree as plain writes would.
TEST_F(TreeTest, HintedWritesAgreeWithTheModel) {
  std::mt19937 random(11);
  std::map<std::string, std::string> model;
  auto file = OpenFile();
  ASSERT_EQ(file->BeginAccess(true), 0);
  Tree tree(*file);
  Tree::Cursor ascending, scattered, changing;
  int next = 0;
  std::string lastChanged;
  auto anyKey = [&] {
    auto it = model.lower_bound(RandomKey(random));
    return it == model.end() ? model.begin()->first : it->first;
  };
  for (int step = 0; step < 12000; ++step) {
    int choice = static_cast<int>(random() % 10);
    std::string value(random() % 200, static_cast<char>('a' + random() % 26));
    if (choice < 4) {
      char key[16];
      // Between the scattered keys "d" and "da...": mostly inside a leaf.
      std::snprintf(key, sizeof key, "d%07d", next++);
      tree.Put(MakeRecord(key, value), &ascending);
      model[key] = value;
    } else if (choice < 6) {
      std::string key = RandomKey(random);
      tree.Put(MakeRecord(key, value), &scattered);
      model[key] = value;
    } else if (choice < 7) {
      std::string key = random() % 2 && !model.empty() ? anyKey() : RandomKey(random);
      bool isNew = !model.contains(key);
      ASSERT_EQ(tree.Insert(MakeRecord(key, value), &scattered), isNew) << key;
      if (isNew) model[key] = value;
    } else if (choice < 9 && !model.empty()) {
      // Half of the changes walk on through the keys, as counters and
      // records rewritten in order do, and so mostly hit their hint.
      auto following = model.upper_bound(lastChanged);
      std::string key = random() % 2 && following != model.end() ? following->first : anyKey();
      lastChanged = key;
      size_t length = random() % 3 == 0 ? random() % 300 : model[key].size();
      std::string changed(length, static_cast<char>('A' + random() % 26));
      ASSERT_TRUE(tree.Modify(
          key, [&](Record& record) { record = MakeRecord(key, changed); }, &changing));
      model[key] = changed;
    } else if (!model.empty()) {
      for (int k = 0; k < 3 && !model.empty(); ++k) {
        std::string key = anyKey();
        ASSERT_TRUE(tree.Remove(key, &changing));
        model.erase(key);
        // A key beside it, mostly in the leaf just hinted, mostly not there.
        std::string absent = key + "a";
        ASSERT_EQ(tree.Remove(absent, &changing), model.erase(absent) == 1);
      }
    }
    if (step % 5 == 0) {
      ASSERT_EQ(file->WriteBack(), 0u);
    }
  }
  EXPECT_FALSE(tree.Modify(
      "zz not there", [](Record&) { FAIL(); }, &changing));
  ASSERT_EQ(file->WriteBack(), 0u);
  ExpectContents(*file, model);
  ExpectIndexCopies(*file, file->root());
  file.reset();
  CheckedFile(model.size());
  file = OpenFile();
  ASSERT_EQ(file->BeginAccess(false), 0);
  ExpectContents(*file, model);
}

// A hint left by a read names a clean leaf; a change made there through the
// hint must still reach the disk.
TEST_F(TreeTest, HintedChangesToACleanLeafAreWrittenBack) {
  auto keyOf = [](int i) {
    char key[16];
    std::snprintf(key, sizeof key, "k%05d", i);
    return std::string(key);
  };
  {
    auto file = OpenFile();
    ASSERT_EQ(file->BeginAccess(true), 0);
    Tree tree(*file);
    for (int i = 0; i < 400; ++i) tree.Put(MakeRecord(keyOf(i), std::string(90, 'a')));
    ASSERT_EQ(file->WriteBack(), 0u);
    Tree::Cursor hint;
    std::string data;
    for (int i = 200; i < 210; ++i) {
      ASSERT_TRUE(tree.FetchData(keyOf(i - 1), data, &hint));
      ASSERT_TRUE(tree.Modify(
          keyOf(i), [](Record& record) { record.bytes.back() = 'b'; }, &hint));
      ASSERT_EQ(file->WriteBack(), 0u);
    }
    // Far from the changed records, so that its leaf is another.
    Record inserted = MakeRecord(keyOf(50) + "+", "new");
    ASSERT_TRUE(tree.FetchData(keyOf(50), data, &hint));
    ASSERT_TRUE(tree.Insert(inserted, &hint));
    ASSERT_FALSE(tree.Insert(inserted, &hint));
    ASSERT_EQ(file->WriteBack(), 0u);
  }
  auto file = OpenFile();
  ASSERT_EQ(file->BeginAccess(false), 0);
  Tree tree(*file);
  for (int i = 200; i < 210; ++i) {
    const Record* found = tree.Lookup(keyOf(i));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->Data().back(), 'b') << keyOf(i);
  }
  EXPECT_NE(tree.Lookup(keyOf(50) + "+"), nullptr);
}

// The cache may keep a leaf that writes go to through a hint and drop the
// index pages above it. When the leaf then grows into a larger page class it
// moves, and its parent, read again for the purpose, takes the new address.
TEST_F(TreeTest, AHintedLeafThatMovesIsFoundUnderItsParent) {
  auto keyOf = [](int i) {
    char key[16];
    std::snprintf(key, sizeof key, "k%05d", i);
    return std::string(key);
  };
  std::map<std::string, std::string> model;
  {
    auto file = OpenFile();
    ASSERT_EQ(file->BeginAccess(true), 0);
    Tree tree(*file);
    for (int i = 0; i < 6000; i += 2) {
      model[keyOf(i)] = std::string(100, 'a');
      tree.Put(MakeRecord(keyOf(i), model[keyOf(i)]));
    }
    ASSERT_EQ(file->WriteBack(), 0u);
    // Operations that read the hinted leaf and leaves far from it, until the
    // cache has let the pages above the hinted leaf go.
    Tree::Cursor hint;
    std::string data;
    for (int op = 0; op < 2000; ++op) {
      ASSERT_EQ(file->EndOperation(), 0u);
      ASSERT_EQ(file->BeginAccess(true), 0);
      ASSERT_TRUE(tree.FetchData(keyOf(3000), data, &hint));
      ASSERT_TRUE(tree.FetchData(keyOf(5000 + op % 500 * 2), data));
    }
    // Records between those of the leaf, through the hint, each written back.
    for (int i = 3001; i < 3040; i += 2) {
      // Letters that do not repeat, so that the page grows by each record.
      std::string value(60, ' ');
      for (size_t j = 0; j < value.size(); ++j)
        value[j] = static_cast<char>('a' + (i * 7 + j * 3) % 26);
      model[keyOf(i)] = value;
      tree.Put(MakeRecord(keyOf(i), model[keyOf(i)]), &hint);
      ASSERT_EQ(file->EndOperation(), 0u);
      ASSERT_EQ(file->BeginAccess(true), 0);
    }
    ASSERT_EQ(file->EndOperation(), 0u);
  }
  CheckedFile(model.size());
  auto file = OpenFile();
  ASSERT_EQ(file->BeginAccess(false), 0);
  ExpectContents(*file, model);
}

// A record's key head decides the order only where it may: keys of any length
// about the head's 16 bytes, with zeros (the padding of a short head) and high
// bytes, sharing long prefixes.
TEST(KeyHeadTest, HeadsOrderKeysAsTheirBytesDo) {
  std::mt19937 random(23);
  auto randomKey = [&] {
    std::string key(random() % 24, '\0');
    for (char& c : key) c = "\0\x01a\xFF"[random() % 4];
    return key;
  };
  for (int trial = 0; trial < 20000; ++trial) {
    std::string a = randomKey();
    std::string b = random() % 2 ? randomKey() : a.substr(0, random() % (a.size() + 1));
    if (random() % 3 == 0) b += std::string(random() % 3, "\0\x01"[random() % 2]);
    Record record = MakeRecord(a, "data");
    KeyHead head = KeyHead::Of(b);
    int order = CompareKeys(a, b);
    ASSERT_EQ(KeyBefore(record, b, head), order < 0)
        << ::testing::PrintToString(a) << " " << ::testing::PrintToString(b);
    ASSERT_EQ(KeyAfter(record, b, head), order > 0)
        << ::testing::PrintToString(a) << " " << ::testing::PrintToString(b);
  }
}

}  // namespace
}  // namespace rk::kmf
