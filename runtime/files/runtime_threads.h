// What the file layer needs from the runtime's threads, filled in by the window
// system: the running thread's number, the registration of a per-thread file
// (its descriptor, record buffer, key and memo descriptors get one instance per
// thread), and the pause between two tries of a refused lock (which must let the
// other runtime threads run: one of them may hold what is waited for). With a
// single thread the hooks keep their defaults.
#pragma once

#include <chrono>
#include <cstdint>

#include "runtime/files/file_descriptor.h"

namespace rk {

using ThreadNumberSource = int32_t (*)();
using PerThreadFileRegistrar = void (*)(FileDescriptor& file);
using PerThreadFileForgetter = void (*)(FileDescriptor& file);
using RetryPause = void (*)(std::chrono::milliseconds duration);
// Whether runtime code may run where it is called from: the window system
// answers true only on the runtime thread that holds the runtime lock (or
// before any runtime thread exists), never in a callback of the display.
using RuntimeEntryCheck = bool (*)();

void SetThreadNumberSource(ThreadNumberSource source);  // null restores the default
void SetPerThreadFileRegistrar(PerThreadFileRegistrar registrar);
void SetPerThreadFileForgetter(PerThreadFileForgetter forgetter);
void SetRetryPause(RetryPause pause);
void SetRuntimeEntryCheck(RuntimeEntryCheck check);

// At the entry of every file operation: in debug builds, a call from where
// runtime code may not run ends the program at once with the operation's code,
// so that a callback that runs runtime code directly is found by any test that
// reaches it. Nothing in release builds.
void CheckRuntimeEntry(int32_t operation);

// The running runtime thread's number; 1 until the window system says otherwise.
int32_t CurrentThreadNumber();
// Registers a per-thread file with the thread instancing; nothing by default.
void RegisterPerThreadFile(FileDescriptor& file);
// Takes a file that goes away out of the thread instancing, so that no thread
// switch copies into its memory afterwards; nothing by default.
void ForgetPerThreadFile(FileDescriptor& file);
// Waits before a refused lock is tried again; sleeps by default.
void PauseBeforeRetry(std::chrono::milliseconds duration);

}  // namespace rk
