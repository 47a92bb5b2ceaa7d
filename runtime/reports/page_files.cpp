#include "runtime/reports/page_files.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "runtime/platform/os_errors.h"

namespace rk {

namespace {

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

std::optional<std::string> WritePageFile(std::span<const uint8_t> header,
                                         std::span<const uint8_t> body, PageFileFailure& failure) {
  failure.folder = TemporaryFolder();
  std::string pattern = failure.folder + "/" + kPageFilePrefix + "XXXXXX.TMP";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkstemps(name.data(), 4);
  if (fd < 0) {
    failure.osError = platform::WindowsErrorFromErrno(errno);
    return std::nullopt;
  }
  bool written = WriteAll(fd, header) && WriteAll(fd, body);
  int writeErrno = errno;
  bool closed = ::close(fd) == 0;
  if (!written || !closed) {
    failure.osError = platform::WindowsErrorFromErrno(written ? errno : writeErrno);
    ::unlink(name.data());
    return std::nullopt;
  }
  return std::string(name.data());
}

void RemovePageFile(const std::string& name) {
  ::unlink(name.c_str());
}

}  // namespace rk
