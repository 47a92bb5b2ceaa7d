// Connects the file layer to the runtime threads: the file layer asks for the
// running thread's number, registers each file declared per thread with the
// per-thread instances when it is opened, and pauses between the tries of a
// refused lock so that the other runtime threads run meanwhile.
#pragma once

#include "runtime/files/file_descriptor.h"

namespace rk {

// Installs the hooks; repeating it does no harm.
void ConnectFileLayerToThreads();

// Gives each thread its own file descriptor, record buffer, key descriptors,
// memo descriptors and memo buffers. A new thread's record starts blank (cleared
// by the record's type descriptor); its descriptors start as they were when the
// file was first registered, so each thread opens its own instance.
void RegisterPerThreadFileInstances(FileDescriptor& file);

}  // namespace rk
