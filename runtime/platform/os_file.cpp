#include "runtime/platform/os_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "runtime/platform/os_errors.h"

namespace rk::platform {
namespace {

int OpenFlags(bool read, bool write) {
  if (read && write) return O_RDWR;
  return write ? O_WRONLY : O_RDONLY;
}

// Opens, then claims the share mode; a refused claim closes the new handle again.
uint32_t OpenShared(const std::string& name, int flags, const ShareRequest& share,
                    FileHandle& handle) {
  handle = kNoHandle;
  int fd = ::open(name.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) return FailWithErrno(errno);
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    return Fail(kErrorAccessDenied);
  }
  uint32_t error = ClaimSharing(fd, share);
  if (error != 0) {
    ::close(fd);
    return Fail(error);
  }
  handle = fd;
  return Succeed();
}

}  // namespace

ShareRequest ShareRequestFromMode(uint32_t mode) {
  ShareRequest request;
  request.read = (mode & kModeReadWrite) != 0 || (mode & kModeWriteOnly) == 0;
  request.write = (mode & (kModeReadWrite | kModeWriteOnly)) != 0;
  bool shareRead;
  bool shareWrite;
  if (mode & kModeDenyAll) {
    shareRead = shareWrite = false;
  } else if (mode & kModeDenyNone) {
    shareRead = shareWrite = true;
  } else {
    shareWrite = (mode & kModeDenyWrite) == 0;
    shareRead = (mode & kModeDenyWrite) == 0;
  }
  request.denyRead = !shareRead;
  request.denyWrite = !shareWrite;
  return request;
}

uint32_t OpenExisting(const std::string& name, uint32_t mode, FileHandle& handle) {
  ShareRequest share = ShareRequestFromMode(mode);
  return OpenShared(name, OpenFlags(share.read, share.write), share, handle);
}

uint32_t CreateAlways(const std::string& name, FileHandle& handle) {
  ShareRequest share{true, true, true, true};
  uint32_t error = OpenShared(name, O_RDWR | O_CREAT, share, handle);
  if (error != 0) return error;
  if (ftruncate(handle, 0) != 0) {
    int savedErrno = errno;
    CloseFile(handle);
    handle = kNoHandle;
    return FailWithErrno(savedErrno);
  }
  return Succeed();
}

uint32_t OpenKmf(const std::string& name, uint32_t mode, FileHandle& handle) {
  bool readOnly = (mode & 0x03) == 0;
  ShareRequest share{true, !readOnly, true, true};
  int flags = readOnly ? O_RDONLY : O_RDWR;
  if ((mode & kModeCreate) && !readOnly) flags |= O_CREAT;
  return OpenShared(name, flags, share, handle);
}

uint32_t ReadFile(FileHandle handle, void* buffer, uint32_t count, uint32_t& bytesRead) {
  bytesRead = 0;
  if (handle == kNoHandle) return Succeed();
  auto* bytes = static_cast<char*>(buffer);
  while (bytesRead < count) {
    ssize_t got = ::read(handle, bytes + bytesRead, count - bytesRead);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return FailWithErrno(errno);
    if (got == 0) break;
    bytesRead += static_cast<uint32_t>(got);
  }
  return Succeed();
}

uint32_t WriteFile(FileHandle handle, const void* buffer, uint32_t count, uint32_t& bytesWritten) {
  bytesWritten = 0;
  if (handle == kNoHandle) return Succeed();
  auto* bytes = static_cast<const char*>(buffer);
  while (bytesWritten < count) {
    ssize_t put = ::write(handle, bytes + bytesWritten, count - bytesWritten);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return FailWithErrno(errno);
    bytesWritten += static_cast<uint32_t>(put);
  }
  return Succeed();
}

uint32_t ReadAt(FileHandle handle, uint64_t offset, void* buffer, uint32_t count,
                uint32_t& bytesRead) {
  bytesRead = 0;
  if (handle == kNoHandle) return Succeed();
  auto* bytes = static_cast<char*>(buffer);
  while (bytesRead < count) {
    ssize_t got = ::pread(handle, bytes + bytesRead, count - bytesRead,
                          static_cast<off_t>(offset + bytesRead));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return FailWithErrno(errno);
    if (got == 0) break;
    bytesRead += static_cast<uint32_t>(got);
  }
  return Succeed();
}

uint32_t WriteAt(FileHandle handle, uint64_t offset, const void* buffer, uint32_t count,
                 uint32_t& bytesWritten) {
  bytesWritten = 0;
  if (handle == kNoHandle) return Succeed();
  auto* bytes = static_cast<const char*>(buffer);
  while (bytesWritten < count) {
    ssize_t put = ::pwrite(handle, bytes + bytesWritten, count - bytesWritten,
                           static_cast<off_t>(offset + bytesWritten));
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return FailWithErrno(errno);
    bytesWritten += static_cast<uint32_t>(put);
  }
  return Succeed();
}

uint32_t FileSize(FileHandle handle, uint64_t& size) {
  size = 0;
  if (handle == kNoHandle) return Succeed();
  struct stat info {};
  if (fstat(handle, &info) != 0) return FailWithErrno(errno);
  size = static_cast<uint64_t>(info.st_size);
  return Succeed();
}

uint32_t TruncateFile(FileHandle handle, uint64_t length) {
  if (handle == kNoHandle) return Succeed();
  if (ftruncate(handle, static_cast<off_t>(length)) != 0) return FailWithErrno(errno);
  return Succeed();
}

uint32_t FlushFile(FileHandle handle) {
  if (handle == kNoHandle) return Succeed();
  if (fsync(handle) != 0) return FailWithErrno(errno);
  return Succeed();
}

uint32_t FlushFileData(FileHandle handle) {
  if (handle == kNoHandle) return Succeed();
  if (fdatasync(handle) != 0) return FailWithErrno(errno);
  return Succeed();
}

uint32_t CloseFile(FileHandle handle) {
  if (handle == kNoHandle) return Succeed();
  ForgetHandleLocks(handle);
  if (::close(handle) != 0) return FailWithErrno(errno);
  return Succeed();
}

uint32_t DeleteFileByName(const std::string& name) {
  if (::unlink(name.c_str()) != 0) return FailWithErrno(errno);
  return Succeed();
}

uint32_t MoveFileByName(const std::string& oldName, const std::string& newName) {
  struct stat info {};
  if (::stat(newName.c_str(), &info) == 0) return Fail(kErrorFileExists);
  if (::rename(oldName.c_str(), newName.c_str()) != 0) return FailWithErrno(errno);
  return Succeed();
}

}  // namespace rk::platform
