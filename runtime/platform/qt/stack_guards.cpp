#include "runtime/platform/qt/stack_guards.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>

namespace rk::platform {
namespace {

constexpr size_t kGuardEntries = 256;  // more than the 64 runtime threads, for tests
constexpr size_t kTextBytes = 128;

struct GuardEntry {
  std::atomic<uintptr_t> low{0};
  std::atomic<uintptr_t> high{0};  // 0: the entry is free
  char label[kTextBytes] = {};
};

std::array<GuardEntry, kGuardEntries> guards;
char reportMessage[kTextBytes] = {};
volatile sig_atomic_t reportExitCode = 1;
struct sigaction previousAction = {};
bool handlerInstalled = false;
// SIGSTKSZ is no constant in newer C libraries; this is well above it.
alignas(16) char alternateStack[64 * 1024];

void CopyText(std::string_view text, char (&to)[kTextBytes]) {
  size_t size = std::min(text.size(), kTextBytes - 1);
  std::copy_n(text.data(), size, to);
  to[size] = '\0';
}

void WriteText(const char* text) {
  size_t size = 0;
  while (text[size] != '\0') ++size;
  while (size > 0) {
    ssize_t written = write(STDERR_FILENO, text, size);
    if (written <= 0) return;
    text += written;
    size -= static_cast<size_t>(written);
  }
}

const GuardEntry* GuardAt(uintptr_t address) {
  for (const GuardEntry& guard : guards) {
    uintptr_t high = guard.high.load(std::memory_order_relaxed);
    if (high != 0 && address >= guard.low.load(std::memory_order_relaxed) && address < high) {
      return &guard;
    }
  }
  return nullptr;
}

// Not a stack overflow: the handler that was there before decides. A default
// action is restored and the faulting instruction, run again, takes it.
void PassOn(int signal, siginfo_t* info, void* context) {
  if (previousAction.sa_flags & SA_SIGINFO) {
    previousAction.sa_sigaction(signal, info, context);
  } else if (previousAction.sa_handler == SIG_DFL || previousAction.sa_handler == SIG_IGN) {
    sigaction(signal, &previousAction, nullptr);
  } else {
    previousAction.sa_handler(signal);
  }
}

void OnFault(int signal, siginfo_t* info, void* context) {
  const GuardEntry* guard = GuardAt(reinterpret_cast<uintptr_t>(info->si_addr));
  if (!guard) return PassOn(signal, info, context);
  WriteText(reportMessage);
  WriteText(guard->label);
  WriteText("\n");
  _exit(reportExitCode);
}

// The handler runs where the fault happened unless the thread has a stack for
// signals; one set up earlier (a sanitizer's) is kept.
void EnsureAlternateStack() {
  stack_t current = {};
  if (sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE)) return;
  stack_t stack = {};
  stack.ss_sp = alternateStack;
  stack.ss_size = sizeof alternateStack;
  sigaltstack(&stack, nullptr);
}

void InstallHandler() {
  EnsureAlternateStack();
  struct sigaction action = {};
  action.sa_sigaction = OnFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  sigaction(SIGSEGV, &action, &previousAction);
  handlerInstalled = true;
}

}  // namespace

int WatchGuard(const void* low, size_t size) {
  for (size_t i = 0; i < guards.size(); ++i) {
    GuardEntry& guard = guards[i];
    if (guard.high.load(std::memory_order_relaxed) != 0) continue;
    guard.label[0] = '\0';
    auto start = reinterpret_cast<uintptr_t>(low);
    guard.low.store(start, std::memory_order_relaxed);
    guard.high.store(start + size, std::memory_order_release);
    return static_cast<int>(i);
  }
  return kNoGuard;
}

void LabelGuard(int guard, std::string_view label) {
  if (guard < 0 || static_cast<size_t>(guard) >= guards.size()) return;
  CopyText(label, guards[static_cast<size_t>(guard)].label);
}

void ForgetGuard(int guard) {
  if (guard < 0 || static_cast<size_t>(guard) >= guards.size()) return;
  guards[static_cast<size_t>(guard)].high.store(0, std::memory_order_release);
}

void ReportStackOverflows(std::string_view message, int exitCode) {
  CopyText(message, reportMessage);
  reportExitCode = exitCode;
  if (!handlerInstalled) InstallHandler();
}

}  // namespace rk::platform
