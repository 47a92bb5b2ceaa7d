#include <gtest/gtest.h>

#include "runtime/windows/definition_reader.h"
#include "runtime/windows/definition_writer.h"
#include "tests/windows/sample_definitions.h"

namespace rk {
namespace {

class DamagedDefinition : public ::testing::Test {
 protected:
  void SetUp() override {
    resource_ = WriteDefinitionResource(testing::RichDefinition());
    tagLength_ = testing::RichDefinition().tag.size() + 1;
  }

  // Resource byte of buffer offset `at`.
  size_t ByteOf(int32_t at) const { return tagLength_ + at - kBufferLead; }

  int32_t Int32At(int32_t at) const {
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = (bits << 8) | resource_[ByteOf(at) + i];
    return static_cast<int32_t>(bits);
  }

  void Put32(int32_t at, int32_t value) {
    for (int i = 0; i < 4; ++i)
      resource_[ByteOf(at) + i] = (static_cast<uint32_t>(value) >> (8 * i)) & 0xFF;
  }

  std::string ReadError() const {
    std::string error;
    std::optional<Definition> read = ReadDefinitionResource(resource_, error);
    EXPECT_EQ(read.has_value(), error.empty());
    return error;
  }

  int32_t Window() const { return Int32At(2); }
  int32_t Sheet() const { return Int32At(Window() + window_field::kFirstControl); }

  std::vector<uint8_t> resource_;
  size_t tagLength_ = 0;
};

TEST_F(DamagedDefinition, EveryTruncationIsRefused) {
  const std::vector<uint8_t> whole = resource_;
  for (size_t length = 0; length < whole.size(); ++length) {
    resource_.assign(whole.begin(), whole.begin() + length);
    EXPECT_FALSE(ReadError().empty()) << "accepted a definition cut to " << length << " bytes";
  }
}

TEST_F(DamagedDefinition, OffsetsOutsideTheBufferAreRefused) {
  int32_t size = static_cast<int32_t>(resource_.size() - tagLength_) + kBufferLead;
  for (int32_t bad : {size, 1, -5, INT32_MAX, INT32_MIN}) {
    SetUp();
    Put32(2, bad);
    EXPECT_NE(ReadError(), "") << bad;
    SetUp();
    Put32(Window() + window_field::kTitle, bad);
    EXPECT_NE(ReadError(), "") << bad;
    SetUp();
    Put32(Sheet() + 0x49, bad);
    EXPECT_NE(ReadError(), "") << bad;
  }
  SetUp();
  Put32(2, size - 3);
  EXPECT_NE(ReadError().find("outside the definition"), std::string::npos);
}

TEST_F(DamagedDefinition, LoopingChainsEndInAnError) {
  Put32(Sheet() + kNextOffset, Sheet());
  EXPECT_NE(ReadError().find("loops"), std::string::npos);
  SetUp();
  int32_t tab = Int32At(Sheet() + 0x49);
  Put32(tab + 0x32, Sheet());  // the sheet on its own tab, without end
  EXPECT_NE(ReadError().find("nest too deeply"), std::string::npos);
  SetUp();
  int32_t node = Int32At(Window() + window_field::kValueList);
  Put32(node + 4, node);
  EXPECT_NE(ReadError().find("loops"), std::string::npos);
}

TEST_F(DamagedDefinition, KindCodesAreChecked) {
  resource_[ByteOf(Sheet())] = 99;
  EXPECT_NE(ReadError().find("unknown record kind 99"), std::string::npos);
  SetUp();
  resource_[ByteOf(Sheet())] = 7;  // recognised by the runtime, but no control of ours
  EXPECT_NE(ReadError(), "");
  SetUp();
  resource_[ByteOf(Sheet())] = static_cast<uint8_t>(RecordKind::kMenu);
  EXPECT_NE(ReadError().find("MENU record"), std::string::npos);
  SetUp();
  resource_[ByteOf(Window())] = static_cast<uint8_t>(RecordKind::kTab);
  EXPECT_NE(ReadError().find("WINDOW or REPORT"), std::string::npos);
}

TEST_F(DamagedDefinition, UnterminatedTextsAreRefused) {
  std::vector<uint8_t> noTag(resource_.begin(), resource_.begin() + tagLength_ - 1);
  std::string error;
  EXPECT_FALSE(ReadDefinitionResource(noTag, error));
  EXPECT_NE(error.find("tag"), std::string::npos);

  std::vector<uint8_t> buffer = {0, 0, 6, 0, 0, 0, 'A', 'B'};
  error.clear();
  EXPECT_FALSE(FindStructureOffset(buffer, "X", error));
  EXPECT_NE(error, "");
}

TEST_F(DamagedDefinition, LabelSearchWalksOnlyTheTopLevelChain) {
  std::vector<uint8_t> buffer(resource_.begin() + tagLength_ - kBufferLead, resource_.end());
  buffer[0] = buffer[1] = 0;
  std::string error;
  EXPECT_EQ(FindStructureOffset(buffer, "PRINTSAMPLE$REPORT", error),
            Int32At(Window() + kNextOffset));
  EXPECT_EQ(FindStructureOffset(buffer, "UPDATESAMPLE$WINDOW", error), Window());
  EXPECT_EQ(FindStructureOffset(buffer, "updatesample$window", error), 0);
  EXPECT_EQ(error, "");
}

}  // namespace
}  // namespace rk
