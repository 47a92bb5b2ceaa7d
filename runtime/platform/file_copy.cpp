#include "runtime/platform/file_copy.h"

#include <vector>

#include "runtime/platform/os_errors.h"
#include "runtime/platform/os_file.h"

namespace rk::platform {
namespace {

constexpr uint32_t kCopyBlock = 64 * 1024;

uint32_t CopyBytes(FileHandle source, FileHandle target) {
  std::vector<char> block(kCopyBlock);
  for (;;) {
    uint32_t got = 0;
    if (uint32_t error = ReadFile(source, block.data(), kCopyBlock, got)) return error;
    if (got == 0) return 0;
    uint32_t put = 0;
    if (uint32_t error = WriteFile(target, block.data(), got, put)) return error;
    if (put != got) return kErrorHandleDiskFull;
  }
}

}  // namespace

uint32_t CopyFileByName(const std::string& from, const std::string& to) {
  FileHandle source = kNoHandle;
  if (uint32_t error = OpenExisting(from, kModeDenyWrite, source)) return error;
  FileHandle target = kNoHandle;
  uint32_t error = CreateAlways(to, target);
  if (error == 0) error = CopyBytes(source, target);
  CloseFile(target);
  CloseFile(source);
  return error == 0 ? Succeed() : Fail(error);
}

}  // namespace rk::platform
