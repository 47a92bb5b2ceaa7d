#include "app/main/data_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace rk::start {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const fs::path& path) {
  return "\"" + path.string() + "\"";
}

// Permission bits can say yes on a read-only mount or to a user whose writes
// a quota refuses; only a real write answers the question.
std::optional<std::string> CheckWritable(const fs::path& folder) {
  fs::path probe = folder / (".reelkeeper-write-check-" + std::to_string(getpid()));
  int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    return "cannot write in the data folder " + Quoted(folder) + ": " + std::strerror(errno);
  }
  close(fd);
  unlink(probe.c_str());
  return std::nullopt;
}

std::optional<std::string> CopyReadme(const fs::path& folder, std::span<const uint8_t> readme) {
  fs::path target = folder / "README.TXT";
  std::error_code error;
  if (fs::exists(target, error) || readme.empty()) return std::nullopt;
  std::ofstream out(target, std::ios::binary);
  out.write(reinterpret_cast<const char*>(readme.data()),
            static_cast<std::streamsize>(readme.size()));
  out.close();
  if (!out) return "cannot write " + Quoted(target);
  return std::nullopt;
}

}  // namespace

fs::path DefaultDataFolder(const char* xdgDataHome, const char* home) {
  if (xdgDataHome != nullptr && xdgDataHome[0] == '/') return fs::path(xdgDataHome) / "reelkeeper";
  if (home != nullptr && home[0] == '/') return fs::path(home) / ".local/share/reelkeeper";
  return {};
}

std::optional<std::string> PrepareDataFolder(const fs::path& folder,
                                             std::span<const uint8_t> readme) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    return "cannot create the data folder " + Quoted(folder) + ": " + error.message();
  }
  if (!fs::is_directory(folder, error)) {
    return "the data folder " + Quoted(folder) + " is not a folder";
  }
  if (std::optional<std::string> problem = CheckWritable(folder)) return problem;
  return CopyReadme(folder, readme);
}

}  // namespace rk::start
