// Damaged files: a clear error or the internal-error message, never a crash or a
// read outside a buffer.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "runtime/files/kmf_bytes.h"
#include "runtime/files/kmf_check.h"
#include "runtime/files/kmf_header.h"
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

}  // namespace
}  // namespace rk::kmf
