// Shared fixture of the ASCII driver tests: text files written byte for byte in
// a temporary directory and opened through a declared text file.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/core/error_state.h"
#include "runtime/files/ascii_text_file.h"
#include "runtime/files/file_statements.h"
#include "tests/files/temp_directory.h"

namespace rk::test_files {

class AsciiTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name = "TEXT.TXT") const { return dir_.File(name); }

  void WriteBytes(std::string_view bytes, const std::string& name = "TEXT.TXT") const {
    std::ofstream(Path(name), std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  }
  std::string ReadBytes(const std::string& name = "TEXT.TXT") const {
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // A text file declared over TEXT.TXT (not opened).
  std::unique_ptr<AsciiTextFile> Declare(uint32_t lineLength = 20, std::string_view options = {},
                                         uint8_t attributes = kFileAttrCreate,
                                         const std::string& name = "TEXT.TXT") const {
    auto text = std::make_unique<AsciiTextFile>(lineLength, attributes, options);
    text->setName(Path(name));
    return text;
  }

  // Writes the bytes and opens them read-only, sharing everything.
  std::unique_ptr<AsciiTextFile> OpenOver(std::string_view bytes, uint32_t lineLength = 20,
                                          std::string_view options = {}) const {
    WriteBytes(bytes);
    auto text = Declare(lineLength, options);
    OPEN(text->file(), kAccessReadOnly | kDenyNone);
    EXPECT_EQ(ErrorCode(), 0);
    return text;
  }

  // Every line from the start, each clipped; the read that ends it must be 33.
  static std::vector<std::string> ReadAll(AsciiTextFile& text) {
    std::vector<std::string> lines;
    SET(text.file());
    for (NEXT(text.file()); ErrorCode() == 0; NEXT(text.file())) lines.push_back(text.line());
    EXPECT_EQ(ErrorCode(), 33);
    return lines;
  }

  TempDirectory dir_;
};

}  // namespace rk::test_files
