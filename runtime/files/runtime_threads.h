// What the file layer needs from the runtime's threads, filled in by the window
// system: the running thread's number, and the registration of a per-thread file
// (its descriptor, record buffer, key and memo descriptors get one instance per
// thread). With a single thread both hooks keep their defaults.
#pragma once

#include <cstdint>

#include "runtime/files/file_descriptor.h"

namespace rk {

using ThreadNumberSource = int32_t (*)();
using PerThreadFileRegistrar = void (*)(FileDescriptor& file);

void SetThreadNumberSource(ThreadNumberSource source);  // null restores the default
void SetPerThreadFileRegistrar(PerThreadFileRegistrar registrar);

// The running runtime thread's number; 1 until the window system says otherwise.
int32_t CurrentThreadNumber();
// Registers a per-thread file with the thread instancing; nothing by default.
void RegisterPerThreadFile(FileDescriptor& file);

}  // namespace rk
