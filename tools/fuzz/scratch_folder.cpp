#include <unistd.h>

#include "tools/fuzz/fuzz_inputs.h"

namespace rk::fuzz {
namespace {

struct Folder {
  Folder() {
    std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    path = base / ("rk_fuzz_" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::filesystem::path path;
};

}  // namespace

std::filesystem::path ScratchFolder() {
  static const Folder folder;
  return folder.path;
}

}  // namespace rk::fuzz
