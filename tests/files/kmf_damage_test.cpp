// Damaged files: a clear error or the internal-error message, never a crash or a
// read outside a buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "runtime/files/kmf_btree.h"
#include "runtime/files/kmf_bytes.h"
#include "runtime/files/kmf_check.h"
#include "runtime/files/kmf_file.h"
#include "runtime/files/kmf_header.h"
#include "runtime/files/kmf_page.h"
#include "runtime/files/kmf_record_kinds.h"
#include "tests/files/kmf_table_fixture.h"

namespace rk::kmf {
namespace {

using testing::FillTape;
using testing::TapeTable;

class DamageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = dir_.File("TAPES");
    path_ = name_ + ".KMF";
    auto table = TapeTable(name_);
    ASSERT_EQ(table->Create(), 0);
    ASSERT_EQ(table->Open(0x42), 0);
    for (int32_t serial = 1; serial <= 200; ++serial) {
      FillTape(*table, serial, "Tape " + std::to_string(serial));
      ASSERT_EQ(table->Add(), 0);
    }
    ASSERT_EQ(table->Close(), 0);
    std::ifstream in(path_, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
    header_ = DecodeHeader(Bytes(bytes_));
    rootOffset_ = PageOffset(header_.root);
  }

  void Write(const std::string& bytes) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
  }

  // Opens and reads every record in key order.
  static void ReadAll(const std::string& name) {
    auto table = TapeTable(name);
    if (table->Open(0x42) != 0) return;
    table->SetKey(1);
    while (table->Next() == 0) {
    }
    table->Close();
  }

  // The byte offsets of the leaves that hold data records only.
  std::vector<size_t> DataLeafOffsets() const {
    std::vector<size_t> offsets;
    for (int pageClass = 1; pageClass < kClassCount; ++pageClass) {
      for (uint32_t address = header_.rangeStart[pageClass]; address < header_.rangeEnd[pageClass];
           address += pageClass) {
        size_t offset = PageOffset(address);
        Page page;
        std::string problem;
        if (!DecodePage(Bytes(bytes_) + offset, pageClass * kUnitSize, page, problem)) continue;
        bool data = !page.IsIndex();
        for (const Record& record : page.records)
          data &= record.Key().size() > 4 && static_cast<uint8_t>(record.Key()[4]) == kDataTag;
        if (data) offsets.push_back(offset);
      }
    }
    return offsets;
  }

  // The record number of the first record on the page at this offset.
  uint32_t FirstNumberOn(size_t offset) const {
    size_t pageBytes = (LoadLe16(Bytes(bytes_) + offset + 0x04) + 255u) / 256 * 256;
    Page page;
    std::string problem;
    EXPECT_TRUE(DecodePage(Bytes(bytes_) + offset, pageBytes, page, problem)) << problem;
    std::string key(page.records.front().Key());
    return LoadBe32(Bytes(key) + 5);
  }

  // Opens and reads the records numbered first to last by their numbers, the
  // road of single reads.
  static void GetEach(const std::string& name, uint32_t first = 1, uint32_t last = 400) {
    auto table = TapeTable(name);
    if (table->Open(0x42) != 0) return;
    for (uint32_t number = first; number <= last; ++number) table->GetByNumber(number);
    table->Close();
  }

  testing::TempDirectory dir_;
  testing::FastStorage storage_;
  std::string name_;
  std::string path_;
  std::string bytes_;
  Header header_;
  uint64_t rootOffset_ = 0;
};

constexpr const char* kInternalError = "Internal error : kmfbt.cpp line [0-9]+";

TEST_F(DamageTest, HeaderWithoutSignatureIsAnInvalidDataFile) {
  std::string damaged = bytes_;
  damaged[0x0E] = 'X';
  Write(damaged);
  auto table = TapeTable(name_);
  EXPECT_EQ(table->Open(0x42), 36);
  EXPECT_FALSE(CheckFile(path_).ok());
}

TEST_F(DamageTest, DamagedPagesEndTheProgramWithTheInternalError) {
  struct Damage {
    const char* what;
    size_t offset;
    uint8_t value;
  } damages[] = {
      {"stored length", 4, 0x01}, {"uncompressed length", 6, 0xFF}, {"record count", 10, 0x7F},
      {"level", 12, 0x05},        {"own offset", 1, 0x77},
  };
  for (const Damage& damage : damages) {
    std::string damaged = bytes_;
    damaged[rootOffset_ + damage.offset] = static_cast<char>(damage.value);
    Write(damaged);
    EXPECT_FALSE(CheckFile(path_).ok()) << damage.what;
    EXPECT_EXIT(ReadAll(name_), ::testing::ExitedWithCode(2), kInternalError) << damage.what;
  }
}

TEST_F(DamageTest, DamagedLeafFoundBySingleReadsEndsTheProgramWithTheInternalError) {
  std::vector<size_t> leaves = DataLeafOffsets();
  ASSERT_GE(leaves.size(), 3u);
  size_t leaf = leaves[leaves.size() / 2];
  // One read of the leaf's first record: the leaf is searched where it lies
  // encoded, not decoded into the cache.
  uint32_t first = FirstNumberOn(leaf);
  // One record more than the body holds, one fewer, and a body cut short.
  for (int change : {1, -1}) {
    std::string damaged = bytes_;
    uint16_t count = LoadLe16(Bytes(damaged) + leaf + 0x0A);
    StoreLe16(reinterpret_cast<uint8_t*>(damaged.data()) + leaf + 0x0A,
              static_cast<uint16_t>(count + change));
    Write(damaged);
    EXPECT_EXIT(GetEach(name_, first, first), ::testing::ExitedWithCode(2), kInternalError)
        << change;
  }
  std::string damaged = bytes_;
  uint16_t stored = LoadLe16(Bytes(damaged) + leaf + 0x04);
  StoreLe16(reinterpret_cast<uint8_t*>(damaged.data()) + leaf + 0x04,
            static_cast<uint16_t>(stored - 1));
  Write(damaged);
  EXPECT_EXIT(GetEach(name_, first, first), ::testing::ExitedWithCode(2), kInternalError);
}

TEST_F(DamageTest, RandomDamageToLeavesNeverCrashesSingleReads) {
  std::vector<size_t> leaves = DataLeafOffsets();
  ASSERT_FALSE(leaves.empty());
  std::mt19937 random(12);
  for (int trial = 0; trial < 20; ++trial) {
    std::string damaged = bytes_;
    size_t leaf = leaves[random() % leaves.size()];
    size_t pageBytes = LoadLe16(Bytes(bytes_) + leaf + 0x04);
    for (int flips = 0; flips < 3; ++flips) {
      damaged[leaf + kPageHeaderSize + random() % (pageBytes - kPageHeaderSize)] =
          static_cast<char>(random());
    }
    Write(damaged);
    // Whatever the reads make of it: an internal error or records read, never
    // a signal.
    EXPECT_EXIT(
        {
          GetEach(name_);
          std::exit(0);
        },
        [](int status) { return WIFEXITED(status); }, "")
        << trial;
  }
}

TEST_F(DamageTest, TruncatedFileEndsWithTheInternalError) {
  Write(bytes_.substr(0, bytes_.size() / 2));
  EXPECT_FALSE(CheckFile(path_).ok());
  EXPECT_EXIT(ReadAll(name_), ::testing::ExitedWithCode(2), kInternalError);
}

TEST_F(DamageTest, RandomDamageNeverCrashesTheChecker) {
  std::mt19937 random(9);
  for (int trial = 0; trial < 200; ++trial) {
    std::string damaged = bytes_;
    for (int flips = 0; flips < 4; ++flips) {
      damaged[random() % damaged.size()] = static_cast<char>(random());
    }
    Write(damaged);
    CheckFile(path_);  // must return, whatever it finds
  }
  Write(bytes_);
  EXPECT_TRUE(CheckFile(path_).ok());
}

// A bit flipped in a page's prefix compression once gave a tape's data record a
// longer key. Counted but never readable, it passed the check; the driver then
// found none of the three records the table counted.
TEST(KmfCheckTest, ADataRecordUnderALongerKeyIsRefused) {
  std::string path = std::string(RK_TEST_SOURCE_DIR) + "/tests/fuzz/kmf_file/data_key_too_long.kmf";
  CheckReport report = CheckFile(path);
  ASSERT_FALSE(report.ok());
  EXPECT_NE(report.problems.front().find("table UNNAMED data record 00000001f30000000201005361 "
                                         "is not under its number's key"),
            std::string::npos)
      << report.problems.front();
}

// Memo pieces the driver could never read: it reads a memo's pieces by their
// exact keys, from piece 0 until one is missing.
TEST(KmfCheckTest, MemoPiecesTheDriverCannotReachAreRefused) {
  testing::TempDirectory dir;
  testing::FastStorage storage;
  std::string name = dir.File("TAPES");
  {
    auto table = TapeTable(name);
    ASSERT_EQ(table->Create(), 0);
    ASSERT_EQ(table->Open(0x42), 0);
    for (int32_t serial = 1; serial <= 2; ++serial) {
      FillTape(*table, serial, "Tape " + std::to_string(serial));
      table->memos()[0].assign(600, 'n');  // three pieces; the tapes are records 2 and 3
      ASSERT_EQ(table->Add(), 0);
    }
    ASSERT_EQ(table->Close(), 0);
  }
  std::string path = name + ".KMF";
  ASSERT_TRUE(CheckFile(path).ok());
  {
    std::unique_ptr<File> file;
    ASSERT_EQ(File::Open(path, 0x122, file), 0u);
    ASSERT_EQ(file->BeginAccess(true), 0);
    Tree tree(*file);
    ASSERT_TRUE(tree.Remove(MemoKey(1, 3, 0, 1)));
    tree.Put(MakeRecord(MemoKey(1, 7, 0, 0), "of no record"));
    tree.Put(MakeRecord(MemoKey(1, 2, 3, 0), "of no memo"));
    tree.Put(MakeRecord(MemoKey(1, 2, 0, 3) + "x", "under a longer key"));
    ASSERT_EQ(file->WriteBack(), 0u);
  }
  std::vector<std::string> problems = CheckFile(path).problems;
  auto reported = [&problems](const std::string& text) {
    return std::any_of(problems.begin(), problems.end(), [&text](const std::string& problem) {
      return problem.find(text) != std::string::npos;
    });
  };
  EXPECT_TRUE(reported("memo piece 00000001fc00000003000002 follows a missing piece"));
  EXPECT_TRUE(reported("memo piece 00000001fc00000007000000 belongs to no record"));
  EXPECT_TRUE(reported("memo piece 00000001fc00000002030000 belongs to no memo of the table"));
  EXPECT_TRUE(reported("memo piece 00000001fc0000000200000378 is not under its own key"));
  EXPECT_EQ(problems.size(), 4u) << ::testing::PrintToString(problems);
}

}  // namespace
}  // namespace rk::kmf
