// The application's other resources: the tree browses' icons as the program embeds
// them, and the start window's text file as the source tree ships it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "resources/resource_table.h"

namespace rk {
namespace {

uint32_t Little(std::span<const uint8_t> bytes, size_t at, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
  return value;
}

// Checks one image of an icon: a 40-byte bitmap header for a square 32-bit image
// with its AND mask, where the mask marks exactly the fully transparent pixels.
void ExpectIconImage(std::span<const uint8_t> image, uint32_t size) {
  ASSERT_GE(image.size(), 40u);
  EXPECT_EQ(Little(image, 0, 4), 40u);
  EXPECT_EQ(Little(image, 4, 4), size);
  EXPECT_EQ(Little(image, 8, 4), size * 2);  // colour rows and mask rows
  EXPECT_EQ(Little(image, 12, 2), 1u);
  EXPECT_EQ(Little(image, 14, 2), 32u);
  EXPECT_EQ(Little(image, 16, 4), 0u);
  size_t maskStride = (size + 31) / 32 * 4;
  size_t colourBytes = size * size * 4;
  ASSERT_EQ(image.size(), 40 + colourBytes + maskStride * size);

  int opaque = 0, transparent = 0;
  for (uint32_t row = 0; row < size; ++row) {
    for (uint32_t column = 0; column < size; ++column) {
      uint8_t alpha = image[40 + (row * size + column) * 4 + 3];
      bool masked =
          (image[40 + colourBytes + row * maskStride + column / 8] & (0x80 >> (column % 8))) != 0;
      EXPECT_EQ(masked, alpha == 0) << "pixel " << column << "," << row;
      if (alpha == 255) ++opaque;
      if (alpha == 0) ++transparent;
    }
  }
  // A drawing, not a blank or a filled square.
  EXPECT_GT(opaque, static_cast<int>(size * size / 4));
  EXPECT_GT(transparent, 0);
}

TEST(ApplicationResources, TreeIconsHoldSixteenAndThirtyTwoPixelImages) {
  for (const char* name : {"ACT2.ICO", "ACTOR1.ICO", "VIDEO.ICO"}) {
    SCOPED_TRACE(name);
    std::optional<std::span<const uint8_t>> icon = FindResource(name, "ICON");
    ASSERT_TRUE(icon);
    std::span<const uint8_t> bytes = *icon;
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(Little(bytes, 0, 2), 0u);
    EXPECT_EQ(Little(bytes, 2, 2), 1u);  // an icon, not a cursor
    uint32_t count = Little(bytes, 4, 2);
    ASSERT_GE(bytes.size(), 6 + 16 * count);

    std::set<uint32_t> sizes;
    for (uint32_t i = 0; i < count; ++i) {
      size_t entry = 6 + 16 * i;
      uint32_t width = bytes[entry], height = bytes[entry + 1];
      EXPECT_EQ(width, height);
      EXPECT_EQ(Little(bytes, entry + 4, 2), 1u);
      EXPECT_EQ(Little(bytes, entry + 6, 2), 32u);
      uint32_t length = Little(bytes, entry + 8, 4);
      uint32_t offset = Little(bytes, entry + 12, 4);
      ASSERT_LE(uint64_t{offset} + length, bytes.size());
      ExpectIconImage(bytes.subspan(offset, length), width);
      sizes.insert(width);
    }
    EXPECT_EQ(sizes, (std::set<uint32_t>{16, 32}));
  }
}

// The start window reads README.TXT line by line into 255-character records: the
// file must use CR LF line ends, keep every line within a record and hold only
// printable characters.
TEST(ApplicationResources, StartTextIsCrLfLinesThatFitTheLineRecord) {
  std::filesystem::path root = RK_TEST_SOURCE_DIR;
  std::ifstream file(root / "resources" / "README.TXT", std::ios::binary);
  ASSERT_TRUE(file);
  std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(text.empty());
  ASSERT_TRUE(text.ends_with("\r\n"));

  int lines = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    std::string line = text.substr(start, end - start);
    ++lines;
    EXPECT_LE(line.size(), 255u) << "line " << lines;
    for (unsigned char c : line) {
      EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "line " << lines << " holds code " << int(c);
    }
    start = end + 2;
  }
  EXPECT_GT(lines, 20);
  EXPECT_NE(text.find("REELKEEPER"), std::string::npos);
}

}  // namespace
}  // namespace rk
