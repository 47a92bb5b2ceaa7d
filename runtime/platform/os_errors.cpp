#include "runtime/platform/os_errors.h"

#include <cerrno>

#include "runtime/platform/last_error.h"

namespace rk::platform {
namespace {

struct ErrnoMapping {
  int errnoValue;
  uint32_t windowsError;
};

constexpr ErrnoMapping kErrnoTable[] = {
    {ENOENT, kErrorFileNotFound},
    {ENOTDIR, kErrorPathNotFound},
    {ENAMETOOLONG, kErrorPathNotFound},
    {ELOOP, kErrorPathNotFound},
    {EMFILE, kErrorTooManyOpenFiles},
    {ENFILE, kErrorTooManyOpenFiles},
    {EACCES, kErrorAccessDenied},
    {EPERM, kErrorAccessDenied},
    {EISDIR, kErrorAccessDenied},
    {EBADF, kErrorInvalidHandle},
    {ENOMEM, kErrorNotEnoughMemory},
    {EROFS, kErrorWriteProtect},
    {EIO, kErrorGenFailure},
    {ETXTBSY, kErrorSharingViolation},
    {EBUSY, kErrorSharingViolation},
    {EAGAIN, kErrorLockViolation},
    {EDEADLK, kErrorLockViolation},
    {ENOSPC, kErrorHandleDiskFull},
    {EDQUOT, kErrorHandleDiskFull},
    {EFBIG, kErrorHandleDiskFull},
    {EEXIST, kErrorFileExists},
    {EINVAL, kErrorInvalidParameter},
    {ESPIPE, kErrorInvalidParameter},
    {EXDEV, 17},       // ERROR_NOT_SAME_DEVICE
    {ENOTEMPTY, 145},  // ERROR_DIR_NOT_EMPTY
};

}  // namespace

uint32_t WindowsErrorFromErrno(int errnoValue) {
  for (const ErrnoMapping& mapping : kErrnoTable) {
    if (mapping.errnoValue == errnoValue) return mapping.windowsError;
  }
  return kErrorGenFailure;
}

uint32_t FailWithErrno(int errnoValue) {
  uint32_t windowsError = WindowsErrorFromErrno(errnoValue);
  SetLastError(windowsError);
  return windowsError;
}

uint32_t Fail(uint32_t windowsError) {
  SetLastError(windowsError);
  return windowsError;
}

uint32_t Succeed() {
  SetLastError(0);
  return 0;
}

}  // namespace rk::platform
