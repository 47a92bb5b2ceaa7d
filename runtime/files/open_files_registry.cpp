#include "runtime/files/open_files_registry.h"

#include <algorithm>

#include "runtime/files/file_driver.h"
#include "runtime/files/operation_codes.h"
#include "runtime/files/runtime_threads.h"

namespace rk {
namespace {

std::vector<OpenFileEntry> registry;

int32_t OwningThread(const FileDescriptor& file) {
  return (file.attributes & kFileAttrPerThread) ? CurrentThreadNumber() : -1;
}

auto Matching(const FileDescriptor& file) {
  int32_t thread = OwningThread(file);
  return std::find_if(registry.begin(), registry.end(), [&](const OpenFileEntry& entry) {
    return entry.file == &file && entry.thread == thread;
  });
}

}  // namespace

void RegisterOpenFile(FileDescriptor& file, const DriverRegistration& driver) {
  if (Matching(file) != registry.end()) return;
  registry.push_back({
      .file = &file,
      .thread = OwningThread(file),
      .canLogout = DriverDeclares(driver, kOpLogout),
      .canRollback = DriverDeclares(driver, kOpRollback),
      .canCommit = DriverDeclares(driver, kOpCommit),
      .canLock = DriverDeclares(driver, kOpLockSeconds),
      .canUnlock = DriverDeclares(driver, kOpUnlock),
  });
}

void UnregisterOpenFile(FileDescriptor& file) {
  if (auto it = Matching(file); it != registry.end()) registry.erase(it);
}

OpenFileEntry* FindOpenFile(const FileDescriptor& file) {
  auto it = Matching(file);
  return it == registry.end() ? nullptr : &*it;
}

std::vector<OpenFileEntry>& OpenFiles() {
  return registry;
}

}  // namespace rk
