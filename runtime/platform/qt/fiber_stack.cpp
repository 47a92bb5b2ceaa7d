#include "runtime/platform/qt/fiber_stack.h"

#include <sys/mman.h>
#include <unistd.h>

#include "runtime/platform/qt/stack_guards.h"

namespace rk::platform {
namespace {

size_t PageSize() {
  static const size_t size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  return size;
}

size_t RoundUpToPages(size_t bytes) {
  size_t page = PageSize();
  return (bytes + page - 1) / page * page;
}

}  // namespace

StackMemory MapFiberStack(size_t usableBytes) {
  size_t usable = RoundUpToPages(usableBytes);
  size_t guard = RoundUpToPages(kStackGuardBytes);
  // No swap is set aside for the reservation: untouched pages cost nothing.
  void* base = mmap(nullptr, guard + usable, PROT_READ | PROT_WRITE,
                    MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK, -1, 0);
  if (base == MAP_FAILED) return {};
  if (mprotect(base, guard, PROT_NONE) != 0) {
    munmap(base, guard + usable);
    return {};
  }
  StackMemory memory;
  memory.top = static_cast<char*>(base) + guard + usable;
  memory.usable = usable;
  memory.guard = WatchGuard(base, guard);
  return memory;
}

void UnmapFiberStack(StackMemory& memory) {
  if (!memory.top) return;
  size_t guard = RoundUpToPages(kStackGuardBytes);
  ForgetGuard(memory.guard);
  munmap(static_cast<char*>(memory.top) - memory.usable - guard, guard + memory.usable);
  memory = {};
}

}  // namespace rk::platform
