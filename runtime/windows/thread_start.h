// Starting procedures on runtime threads.
//
// START finds a free slot (1 to 63), creates a fiber for it and returns the new
// thread number, or 0 when the system is modal, no slot is free or no fiber could
// be made. The thread takes the runtime lock, calls the procedure and, when it
// returns, cleans up: the end hooks run (the window system closes the windows
// still open on the thread), the thread's runtime state and instances are
// released, and the slot is freed.
//
// A failure the thread cannot go on from ends the program with a report that
// names the procedure (or, without a name, the thread number): a C++ exception
// escaping the procedure is shown as a runtime error, and an overflow of the
// thread's stack is written to standard error (see stack_guards.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "runtime/windows/thread_slots.h"

namespace rk {

inline constexpr int32_t kDefaultThreadStack = 10000;
inline constexpr int32_t kMinimumThreadStack = 5000;

// 0 means 10000 bytes; anything below 5000 is raised to 5000.
int32_t ThreadStackSize(int32_t requested);

// `name` is the procedure's name, used only in reports of the thread's failures.
int32_t START(Procedure procedure, int32_t stackSize, std::string_view name = {});

// The program's first thread (number 1) running `main`. StartFirstThread only
// creates it, for tests that drive the scheduler step by step; RunFirstThread
// runs the scheduler's loop until `main` returns. Both return false when the first
// thread exists already or cannot be made.
bool StartFirstThread(Procedure main, std::string_view name = {});
bool RunFirstThread(Procedure main, std::string_view name = {});

// How reports name the thread in the slot: "NAME (thread 3)" or "thread 3".
std::string ThreadLabel(int slot);

// Called, newest first, by every ending thread with its thread number, while the
// thread still holds the runtime lock.
void AddThreadEndHook(std::function<void(int32_t threadNumber)> hook);

}  // namespace rk
