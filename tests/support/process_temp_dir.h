// A temporary folder of this test process alone. Test runs side by side (two
// checkouts, or ctest running test cases in parallel) each get their own, so a
// file with a fixed name written by one is never overwritten by another. The
// folder and what is left in it go when the process ends.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

namespace rk::testing {

class ProcessTempDir {
 public:
  static const std::filesystem::path& Path() {
    static ProcessTempDir dir;
    return dir.path_;
  }

  // The path of `name` inside the folder, as a string for the APIs that take one.
  static std::string File(const std::string& name) { return (Path() / name).string(); }

  ProcessTempDir(const ProcessTempDir&) = delete;
  ProcessTempDir& operator=(const ProcessTempDir&) = delete;

 private:
  ProcessTempDir()
      : path_(std::filesystem::temp_directory_path() / ("rk_test_" + std::to_string(getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ProcessTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  std::filesystem::path path_;
};

}  // namespace rk::testing
