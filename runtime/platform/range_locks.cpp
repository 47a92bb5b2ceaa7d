#include "runtime/platform/range_locks.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <vector>

#include "runtime/platform/os_errors.h"

namespace rk::platform {
namespace {

struct HeldRange {
  dev_t device;
  ino_t inode;
  int fd;
  uint64_t offset;
  uint64_t length;
};

// Every range locked by this program, whichever handle holds it. Never
// destroyed: handles may still be closed by other objects' destructors at exit.
std::vector<HeldRange>& HeldRanges() {
  static auto* ranges = new std::vector<HeldRange>();
  return *ranges;
}

bool Overlaps(const HeldRange& held, uint64_t offset, uint64_t length) {
  return offset < held.offset + held.length && held.offset < offset + length;
}

int SetOsLock(int fd, short type, uint64_t offset, uint64_t length, int command) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(offset);
  lock.l_len = static_cast<off_t>(length);
  lock.l_pid = 0;
  return fcntl(fd, command, &lock) == 0 ? 0 : errno;
}

// The OS takes an exclusive lock only through a handle open for writing; a
// read-only handle gets a shared one. Inside the program the table makes it
// exclusive all the same; across programs it still excludes every exclusive
// lock (a writer's) and only a second read-only holder could share the byte.
short OsLockTypeFor(int fd) {
  int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && (flags & O_ACCMODE) == O_RDONLY ? F_RDLCK : F_WRLCK;
}

// What a lock request needs to know about its handle: the file it reaches and
// the kind of OS lock it can take. Learned at the handle's first lock and kept
// until the handle is closed, so that a lock costs one system call, not three.
struct HandleIdentity {
  int fd;
  dev_t device;
  ino_t inode;
  short osLockType;
};

std::vector<HandleIdentity>& KnownHandles() {
  static auto* handles = new std::vector<HandleIdentity>();
  return *handles;
}

// Null when the handle cannot be examined.
const HandleIdentity* IdentityOf(int fd) {
  auto& handles = KnownHandles();
  for (const HandleIdentity& known : handles) {
    if (known.fd == fd) return &known;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0) return nullptr;
  handles.push_back({fd, info.st_dev, info.st_ino, OsLockTypeFor(fd)});
  return &handles.back();
}

// True when another description holds a lock that a write lock on the byte
// would conflict with.
bool OthersHold(int fd, uint64_t offset) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(offset);
  lock.l_len = 1;
  if (fcntl(fd, F_OFD_GETLK, &lock) != 0) return false;
  return lock.l_type != F_UNLCK;
}

// Sharing marks: one byte each, far above every range the drivers lock.
constexpr uint64_t kShareMarkBase = 0x7FFF000000000000ULL;
constexpr uint64_t kAccessReadMark = kShareMarkBase + 0;
constexpr uint64_t kAccessWriteMark = kShareMarkBase + 1;
constexpr uint64_t kDenyReadMark = kShareMarkBase + 2;
constexpr uint64_t kDenyWriteMark = kShareMarkBase + 3;

}  // namespace

uint32_t LockFileRange(int fd, uint64_t offset, uint64_t length) {
  if (length == 0) return Succeed();
  const HandleIdentity* identity = IdentityOf(fd);
  if (!identity) return FailWithErrno(errno);
  for (const HeldRange& held : HeldRanges()) {
    if (held.device == identity->device && held.inode == identity->inode &&
        Overlaps(held, offset, length)) {
      return FailWithErrno(EAGAIN);
    }
  }
  int error = SetOsLock(fd, identity->osLockType, offset, length, F_OFD_SETLK);
  if (error != 0) return FailWithErrno(error == EACCES ? EAGAIN : error);
  HeldRanges().push_back({identity->device, identity->inode, fd, offset, length});
  return Succeed();
}

uint32_t UnlockFileRange(int fd, uint64_t offset, uint64_t length) {
  auto& ranges = HeldRanges();
  for (auto it = ranges.begin(); it != ranges.end(); ++it) {
    if (it->fd == fd && it->offset == offset && it->length == length) {
      ranges.erase(it);
      int error = SetOsLock(fd, F_UNLCK, offset, length, F_OFD_SETLK);
      return error == 0 ? Succeed() : FailWithErrno(error);
    }
  }
  return Fail(kErrorNotLocked);
}

void ForgetHandleLocks(int fd) {
  auto& ranges = HeldRanges();
  std::erase_if(ranges, [fd](const HeldRange& held) { return held.fd == fd; });
  std::erase_if(KnownHandles(), [fd](const HandleIdentity& known) { return known.fd == fd; });
}

uint32_t ClaimSharing(int fd, const ShareRequest& request) {
  bool conflict = (request.read && OthersHold(fd, kDenyReadMark)) ||
                  (request.write && OthersHold(fd, kDenyWriteMark)) ||
                  (request.denyRead && OthersHold(fd, kAccessReadMark)) ||
                  (request.denyWrite && OthersHold(fd, kAccessWriteMark));
  if (conflict) {
    return Fail(kErrorSharingViolation);
  }
  const std::pair<bool, uint64_t> marks[] = {{request.read, kAccessReadMark},
                                             {request.write, kAccessWriteMark},
                                             {request.denyRead, kDenyReadMark},
                                             {request.denyWrite, kDenyWriteMark}};
  for (const auto& [wanted, mark] : marks) {
    if (!wanted) continue;
    int error = SetOsLock(fd, F_RDLCK, mark, 1, F_OFD_SETLK);
    if (error != 0) {
      return Fail(kErrorSharingViolation);
    }
  }
  return Succeed();
}

}  // namespace rk::platform
