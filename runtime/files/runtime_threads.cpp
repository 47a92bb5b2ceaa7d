#include "runtime/files/runtime_threads.h"

namespace rk {
namespace {

ThreadNumberSource threadNumberSource = nullptr;
PerThreadFileRegistrar perThreadRegistrar = nullptr;

}  // namespace

void SetThreadNumberSource(ThreadNumberSource source) {
  threadNumberSource = source;
}
void SetPerThreadFileRegistrar(PerThreadFileRegistrar registrar) {
  perThreadRegistrar = registrar;
}

int32_t CurrentThreadNumber() {
  return threadNumberSource ? threadNumberSource() : 1;
}

void RegisterPerThreadFile(FileDescriptor& file) {
  if (perThreadRegistrar) perThreadRegistrar(file);
}

}  // namespace rk
