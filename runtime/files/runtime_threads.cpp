#include "runtime/files/runtime_threads.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace rk {
namespace {

ThreadNumberSource threadNumberSource = nullptr;
PerThreadFileRegistrar perThreadRegistrar = nullptr;
PerThreadFileForgetter perThreadForgetter = nullptr;
RetryPause retryPause = nullptr;
RuntimeEntryCheck runtimeEntryCheck = nullptr;

}  // namespace

void SetThreadNumberSource(ThreadNumberSource source) {
  threadNumberSource = source;
}
void SetPerThreadFileRegistrar(PerThreadFileRegistrar registrar) {
  perThreadRegistrar = registrar;
}
void SetPerThreadFileForgetter(PerThreadFileForgetter forgetter) {
  perThreadForgetter = forgetter;
}
void SetRetryPause(RetryPause pause) {
  retryPause = pause;
}

void SetRuntimeEntryCheck(RuntimeEntryCheck check) {
  runtimeEntryCheck = check;
}

void CheckRuntimeEntry([[maybe_unused]] int32_t operation) {
#ifndef NDEBUG
  if (runtimeEntryCheck && !runtimeEntryCheck()) {
    std::fprintf(stderr,
                 "file operation %d called outside the runtime thread that holds the runtime "
                 "lock\n",
                 operation);
    std::abort();
  }
#endif
}

int32_t CurrentThreadNumber() {
  return threadNumberSource ? threadNumberSource() : 1;
}

void RegisterPerThreadFile(FileDescriptor& file) {
  if (perThreadRegistrar) perThreadRegistrar(file);
}

void ForgetPerThreadFile(FileDescriptor& file) {
  if (perThreadForgetter) perThreadForgetter(file);
}

void PauseBeforeRetry(std::chrono::milliseconds duration) {
  if (retryPause) {
    retryPause(duration);
  } else {
    std::this_thread::sleep_for(duration);
  }
}

}  // namespace rk
