// The positioned I/O through which the KMF driver reaches its files. A test can
// install its own opener and wrap the storage to stop the world after the k-th
// write or flush.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace rk::kmf {

class Storage {
 public:
  virtual ~Storage() = default;
  // Reads up to count bytes; bytesRead tells how many arrived. Returns the OS error.
  virtual uint32_t Read(uint64_t offset, uint8_t* buffer, uint32_t count, uint32_t& bytesRead) = 0;
  // Writes count bytes. Returns the OS error, 5 for a short write.
  virtual uint32_t Write(uint64_t offset, const uint8_t* data, uint32_t count) = 0;
  virtual uint32_t Flush() = 0;
  virtual uint32_t Truncate(uint64_t length) = 0;
  virtual uint32_t Lock(uint64_t offset, uint64_t length) = 0;
  virtual uint32_t Unlock(uint64_t offset, uint64_t length) = 0;
};

// Opens the operating-system file (OpenKmf of the platform layer).
uint32_t OpenOsStorage(const std::string& path, uint32_t mode, std::unique_ptr<Storage>& storage);

using StorageOpener =
    std::function<uint32_t(const std::string& path, uint32_t mode, std::unique_ptr<Storage>&)>;
// Replaces the opener used for every KMF file opened from now on; an empty
// opener restores the operating system's.
void SetStorageOpener(StorageOpener opener);
uint32_t OpenStorage(const std::string& path, uint32_t mode, std::unique_ptr<Storage>& storage);

}  // namespace rk::kmf
