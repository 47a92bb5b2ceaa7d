// Handle-based file operations of the runtime. Every operation returns the
// Windows error number of its failure (0 for success), stores it as the last
// error, and never aborts; the drivers decide what a failure means.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/platform/range_locks.h"

namespace rk::platform {

using FileHandle = int;
inline constexpr FileHandle kNoHandle = -1;

// Access-mode bits of OPEN and SHARE.
inline constexpr uint32_t kModeWriteOnly = 0x01;
inline constexpr uint32_t kModeReadWrite = 0x02;
inline constexpr uint32_t kModeDenyAll = 0x10;
inline constexpr uint32_t kModeDenyWrite = 0x20;
inline constexpr uint32_t kModeDenyNone = 0x40;
inline constexpr uint32_t kModeCreate = 0x100;

// Access and sharing of a general open: bit 0x02 reads and writes, else bit 0x01
// writes only, else read only; 0x10 shares nothing, 0x40 shares both, otherwise
// write sharing unless 0x20 is set and read sharing only when neither 0x10 nor
// 0x20 is set.
ShareRequest ShareRequestFromMode(uint32_t mode);

uint32_t OpenExisting(const std::string& name, uint32_t mode, FileHandle& handle);
// Read and write, no sharing; an existing file is truncated (after the sharing
// check, so that a file another handle holds is left untouched).
uint32_t CreateAlways(const std::string& name, FileHandle& handle);
// The KMF driver's open: read only when the mode's access part is 0, else read
// and write; no sharing; kModeCreate opens or creates. A failure leaves kNoHandle.
uint32_t OpenKmf(const std::string& name, uint32_t mode, FileHandle& handle);

uint32_t ReadFile(FileHandle handle, void* buffer, uint32_t count, uint32_t& bytesRead);
uint32_t WriteFile(FileHandle handle, const void* buffer, uint32_t count, uint32_t& bytesWritten);
uint32_t ReadAt(FileHandle handle, uint64_t offset, void* buffer, uint32_t count,
                uint32_t& bytesRead);
uint32_t WriteAt(FileHandle handle, uint64_t offset, const void* buffer, uint32_t count,
                 uint32_t& bytesWritten);

uint32_t FileSize(FileHandle handle, uint64_t& size);
uint32_t TruncateFile(FileHandle handle, uint64_t length);
uint32_t FlushFile(FileHandle handle);
// Flushes the file's data and only the metadata needed to read it back (its
// length among them), not its times: enough wherever the caller needs its
// bytes on the disk.
uint32_t FlushFileData(FileHandle handle);
uint32_t CloseFile(FileHandle handle);

uint32_t DeleteFileByName(const std::string& name);
// Fails with kErrorFileExists when the new name exists.
uint32_t MoveFileByName(const std::string& oldName, const std::string& newName);

}  // namespace rk::platform
