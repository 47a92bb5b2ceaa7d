// Connects the file layer to the runtime threads: the file layer asks for the
// running thread's number, registers each file declared per thread with the
// per-thread instances when it is opened, and pauses between the tries of a
// refused lock so that the other runtime threads run meanwhile. Halt's exit
// procedures close every file still open, on every thread.
#pragma once

#include "runtime/files/file_descriptor.h"

namespace rk {

// Installs the hooks and registers the exit procedure (once); repeating it does
// no harm.
void ConnectFileLayerToThreads();

// The exit procedure: closes every file in the open-files registry, newest
// first. A file declared per thread is closed as the thread that opened it,
// with that thread's instance in place; one whose thread has ended (its
// instance is gone) is left to the end of the process.
void CloseEveryThreadsFiles();

// Gives each thread its own file descriptor, record buffer, key descriptors,
// memo descriptors and memo buffers. A new thread's record starts blank (cleared
// by the record's type descriptor); its descriptors start as they were when the
// file was first registered, so each thread opens its own instance.
void RegisterPerThreadFileInstances(FileDescriptor& file);
// Undoes the registration of a file that goes away.
void ForgetPerThreadFileInstances(FileDescriptor& file);

}  // namespace rk
