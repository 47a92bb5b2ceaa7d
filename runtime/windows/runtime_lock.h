// The runtime lock: only the thread that holds it runs runtime or procedure code.
// Runtime threads are fibers under one scheduler, so holding the lock means the
// scheduler resumes no other runtime thread until this one waits. A thread gives
// the lock up only while it waits for its next platform message; taking it back
// makes the thread the served one, which swaps the per-thread runtime state and
// puts the thread's per-thread instances in place.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "runtime/platform/qt/platform_message.h"

namespace rk {

// Called by the running thread: takes the lock and becomes the served thread.
void AcquireRuntime();
void ReleaseRuntime();
bool RuntimeLockHeld();
// The thread number of the served thread, 0 when none is served.
int32_t ServedThread();

// The waits of a runtime thread; each releases the lock while it waits.
platform::PlatformMessage WaitForNextMessage();
std::optional<platform::PlatformMessage> WaitForNextMessage(std::chrono::milliseconds timeout);
// Waits for the one message `wanted` accepts; the others stay queued.
platform::PlatformMessage WaitForMessageWhere(
    std::function<bool(const platform::PlatformMessage&)> wanted);
// As WaitForMessageWhere, but the lock is kept: no other thread runs meanwhile.
platform::PlatformMessage WaitForMessageKeepingLock(
    std::function<bool(const platform::PlatformMessage&)> wanted);
// A timed retry: lets the other threads run and leaves the own queue as it is.
void PauseThread(std::chrono::milliseconds duration);

// Called when a thread ends, while it is still served: its live state is
// discarded and no thread is served until the next acquire.
void ForgetServedThread();

}  // namespace rk
