// Windows error numbers for the operating-system failures of the file layer.
// The runtime posts an OS failure as 300 + the number (Part of the error state),
// so the numbers must be the ones the Windows API would have given.
#pragma once

#include <cstdint>

namespace rk::platform {

inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorPathNotFound = 3;
inline constexpr uint32_t kErrorTooManyOpenFiles = 4;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorNotEnoughMemory = 8;
inline constexpr uint32_t kErrorWriteProtect = 19;
inline constexpr uint32_t kErrorGenFailure = 31;
inline constexpr uint32_t kErrorSharingViolation = 32;
inline constexpr uint32_t kErrorLockViolation = 33;
inline constexpr uint32_t kErrorHandleDiskFull = 39;
inline constexpr uint32_t kErrorFileExists = 80;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorNotLocked = 158;

// The one mapping from errno to a Windows error number. Unknown errno values map
// to ERROR_GEN_FAILURE (31) so that a failure is never reported as success.
uint32_t WindowsErrorFromErrno(int errnoValue);

// Maps errno, stores the number as the last error and returns it.
uint32_t FailWithErrno(int errnoValue);
// Stores the number as the last error and returns it.
uint32_t Fail(uint32_t windowsError);
// Stores 0 as the last error and returns 0.
uint32_t Succeed();

}  // namespace rk::platform
