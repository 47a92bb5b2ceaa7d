#include "runtime/files/runtime_threads.h"

#include <thread>

namespace rk {
namespace {

ThreadNumberSource threadNumberSource = nullptr;
PerThreadFileRegistrar perThreadRegistrar = nullptr;
PerThreadFileForgetter perThreadForgetter = nullptr;
RetryPause retryPause = nullptr;

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
