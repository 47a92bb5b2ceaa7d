// Shared pieces of the report tests: report definitions built in code, a preview
// queue of 80-byte page names, the texts a page file draws, a folder of its own
// for the page files of one test, and the external readers the tests check
// pages and PDFs with.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/core/type_codes.h"
#include "runtime/files/queue.h"
#include "runtime/platform/qt/metafile_format.h"
#include "runtime/platform/qt/metafile_reader.h"
#include "runtime/platform/qt/page_printer.h"
#include "runtime/windows/definition_tree.h"

namespace rk::report_testing {

inline constexpr int32_t kPageNameLength = 80;

// Letter paper at 600 pixels per inch, no unprintable margin.
inline platform::PageMetrics LetterAt(int32_t dpi) {
  return {dpi * 17 / 2, dpi * 11, dpi, dpi, 0, 0};
}

inline ControlRecord Text(std::string text, int32_t x, int32_t y, int32_t flags = 0) {
  ControlRecord c;
  c.kind = RecordKind::kString;
  c.text = std::move(text);
  c.flags = flags;
  c.at = {x, y, 3000, 200};
  return c;
}

// A USESTRING bound to a STRING variable at `address`.
inline ControlRecord Shown(char* address, int32_t size, int32_t x, int32_t y,
                           std::string picture = {}) {
  ControlRecord c;
  c.kind = RecordKind::kUseString;
  c.at = {x, y, 3000, 200};
  c.picture = picture.empty() ? "s" + std::to_string(size) : picture;
  DataDescriptor use;
  use.type = kString;
  use.size = size;
  use.binding = {BindingKind::kVariable, address};
  c.use = use;
  return c;
}

inline BandRecord Band(RecordKind kind, Position at, std::vector<ControlRecord> controls = {}) {
  BandRecord b;
  b.kind = kind;
  b.at = at;
  b.controls = std::move(controls);
  return b;
}

// A detail or group band of `height` thousandths of an inch.
inline BandRecord Flowing(RecordKind kind, int32_t height,
                          std::vector<ControlRecord> controls = {}) {
  return Band(kind, {kNotGiven, kNotGiven, kNotGiven, height}, std::move(controls));
}

inline BandRecord Break(char* address, int32_t size, std::vector<BandRecord> bands) {
  BandRecord b;
  b.kind = RecordKind::kBreak;
  DataDescriptor use;
  use.type = kString;
  use.size = size;
  use.binding = {BindingKind::kVariable, address};
  b.use = use;
  b.bands = std::move(bands);
  return b;
}

// A report in thousandths of an inch with the detail area 1000, 2000, 6000,
// `areaHeight`.
inline StructureRecord ReportOf(std::vector<BandRecord> bands, int32_t areaHeight = 8000) {
  StructureRecord r;
  r.kind = RecordKind::kReport;
  r.flags = static_cast<int32_t>(Units::kInch1000);
  r.at = {1000, 2000, 6000, areaHeight};
  r.label = "TEST$REPORT";
  r.title = "Test report";
  FontRecord font;
  font.face = "Arial";
  font.size = 10;
  r.font = font;
  r.bands = std::move(bands);
  return r;
}

class PreviewQueue {
 public:
  PreviewQueue() : queue_(kFields, kPageNameLength) {}
  QueueDescriptor& queue() { return queue_.queue(); }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (int32_t i = 1; i <= RECORDS(queue()); ++i) {
      GET(queue(), i);
      std::string name(reinterpret_cast<char*>(queue_.buffer()), kPageNameLength);
      names.push_back(name.substr(0, name.find_last_not_of(' ') + 1));
    }
    return names;
  }

 private:
  static constexpr FieldSpec kFields[] = {{"PAGE", 0, kString, kPageNameLength}};
  DeclaredQueue queue_;
};

struct PageText {
  int32_t x = 0;
  int32_t y = 0;
  std::string text;
};

// Every text a page file draws, in drawing order.
inline std::vector<PageText> TextsOf(const std::string& path) {
  std::string error;
  auto bytes = platform::ReadWholeFile(path, error);
  EXPECT_TRUE(bytes) << error;
  if (!bytes) return {};
  auto image = platform::ReadPageImage(*bytes, error);
  EXPECT_TRUE(image) << path << ": " << error;
  if (!image) return {};
  std::vector<PageText> texts;
  for (const auto& record : image->records) {
    if (record.function != platform::meta::kTextOut) continue;
    const auto& p = record.parameters;
    size_t count = p[0];
    std::string text;
    for (size_t i = 0; i < count; ++i) {
      uint16_t word = p[1 + i / 2];
      text += static_cast<char>(i % 2 == 0 ? word & 0xFF : word >> 8);
    }
    size_t words = (count + 1) / 2;
    texts.push_back({static_cast<int16_t>(p[2 + words]), static_cast<int16_t>(p[1 + words]), text});
  }
  return texts;
}

inline std::vector<std::string> JustTexts(const std::string& path) {
  std::vector<std::string> out;
  for (const PageText& t : TextsOf(path)) out.push_back(t.text);
  return out;
}

inline int CountOf(const std::vector<std::string>& texts, const std::string& text) {
  return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

// TMPDIR set to a fresh folder for the test's page files; restored afterwards.
class PageFolder {
 public:
  PageFolder() {
    // Short: page names must fit the queue's 80-byte entries.
    static int made = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("rkr" + std::to_string(getpid()) + "_" + std::to_string(++made));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    const char* old = std::getenv("TMPDIR");
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv("TMPDIR", path_.c_str(), 1);
  }
  ~PageFolder() {
    if (had_) {
      setenv("TMPDIR", old_.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
    std::filesystem::remove_all(path_);
  }
  PageFolder(const PageFolder&) = delete;
  PageFolder& operator=(const PageFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The page files in the folder (Qt may keep a runtime folder of its own there).
  std::vector<std::string> PageFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      std::string name = entry.path().filename().string();
      if (name.rfind("QVN", 0) == 0) names.push_back(name);
    }
    return names;
  }

 private:
  std::filesystem::path path_;
  bool had_ = false;
  std::string old_;
};

// Runs a command and gives its standard output; the test fails when the command
// is missing or fails (the tools are test dependencies installed by ./dev).
inline std::string RunTool(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  EXPECT_NE(pipe, nullptr) << command;
  if (pipe == nullptr) return output;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  int status = ::pclose(pipe);
  EXPECT_EQ(status, 0) << "failed: " << command;
  return output;
}

// Every page file read back by an independent reader: its SVG must hold the
// texts the page draws.
inline void CheckWithIndependentReader(const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    std::string svg = RunTool("wmf2svg -o /dev/stdout " + file);
    EXPECT_NE(svg.find("<svg"), std::string::npos) << file;
    for (const std::string& text : JustTexts(file)) {
      EXPECT_NE(svg.find(text), std::string::npos) << file << " lacks " << text;
    }
  }
}

}  // namespace rk::report_testing
