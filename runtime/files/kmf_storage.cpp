#include "runtime/files/kmf_storage.h"

#include "runtime/platform/os_errors.h"
#include "runtime/platform/os_file.h"

namespace rk::kmf {
namespace {

class OsStorage : public Storage {
 public:
  explicit OsStorage(platform::FileHandle handle) : handle_(handle) {
    platform::FileSize(handle_, size_);
  }
  ~OsStorage() override { platform::CloseFile(handle_); }

  uint32_t Read(uint64_t offset, uint8_t* buffer, uint32_t count, uint32_t& bytesRead) override {
    return platform::ReadAt(handle_, offset, buffer, count, bytesRead);
  }
  uint32_t Write(uint64_t offset, const uint8_t* data, uint32_t count) override {
    uint32_t written = 0;
    uint32_t error = platform::WriteAt(handle_, offset, data, count, written);
    if (offset + written > size_) {
      size_ = offset + written;
      sizeChanged_ = true;
    }
    if (error == 0 && written != count) return platform::Fail(platform::kErrorAccessDenied);
    return error;
  }
  // A write-back that only rewrites bytes inside the file needs its data on the
  // disk, not the file's times; one that changed the length flushes everything.
  uint32_t Flush() override {
    uint32_t error = sizeChanged_ ? platform::FlushFile(handle_) : platform::FlushFileData(handle_);
    if (error == 0) sizeChanged_ = false;
    return error;
  }
  uint32_t Truncate(uint64_t length) override {
    uint32_t error = platform::TruncateFile(handle_, length);
    if (error == 0 && length != size_) {
      size_ = length;
      sizeChanged_ = true;
    }
    return error;
  }
  uint32_t Lock(uint64_t offset, uint64_t length) override {
    return platform::LockFileRange(handle_, offset, length);
  }
  uint32_t Unlock(uint64_t offset, uint64_t length) override {
    return platform::UnlockFileRange(handle_, offset, length);
  }

 private:
  platform::FileHandle handle_;
  uint64_t size_ = 0;
  bool sizeChanged_ = false;
};

StorageOpener& CurrentOpener() {
  static StorageOpener opener;
  return opener;
}

}  // namespace

uint32_t OpenOsStorage(const std::string& path, uint32_t mode, std::unique_ptr<Storage>& storage) {
  platform::FileHandle handle = platform::kNoHandle;
  uint32_t error = platform::OpenKmf(path, mode, handle);
  if (error != 0) return error;
  storage = std::make_unique<OsStorage>(handle);
  return 0;
}

void SetStorageOpener(StorageOpener opener) {
  CurrentOpener() = std::move(opener);
}

uint32_t OpenStorage(const std::string& path, uint32_t mode, std::unique_ptr<Storage>& storage) {
  if (CurrentOpener()) return CurrentOpener()(path, mode, storage);
  return OpenOsStorage(path, mode, storage);
}

}  // namespace rk::kmf
