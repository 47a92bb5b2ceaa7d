// Byte-range locks with the rules of the system the runtime was written for: a
// locked range cannot be locked again until it is unlocked, whoever asks - another
// program, another handle of this program or the same handle.
//
// Across programs the locks are open-file-description locks (fcntl F_OFD_SETLK,
// 64-bit offsets). Inside the program a table beside them refuses an overlapping
// request, which the OS locks alone would grant to the same description.
#pragma once

#include <cstdint>

namespace rk::platform {

// 0, or kErrorLockViolation when any part of the range is locked.
uint32_t LockFileRange(int fd, uint64_t offset, uint64_t length);
// 0, or kErrorNotLocked when this handle holds no lock of exactly that range.
uint32_t UnlockFileRange(int fd, uint64_t offset, uint64_t length);
// Drops the table's entries of a handle that is being closed, and what was
// learned about the handle (the OS drops its own locks when the file closes).
// Every handle that was locked must pass here before its number is reused.
void ForgetHandleLocks(int fd);

// Open sharing between handles and programs, in the manner of a share mode:
// a handle records what it accesses and what it denies to others; a request that
// conflicts with an existing handle fails with kErrorSharingViolation. The marks
// are shared OS locks on bytes far above every range the drivers lock.
struct ShareRequest {
  bool read = false;
  bool write = false;
  bool denyRead = false;
  bool denyWrite = false;
};
uint32_t ClaimSharing(int fd, const ShareRequest& request);

}  // namespace rk::platform
