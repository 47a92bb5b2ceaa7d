// The guard areas below the fibers' stacks, and the report of a stack overflow.
//
// A fiber that runs off the end of its stack touches its guard area, which is
// neither readable nor writable. Once ReportStackOverflows has been called, the
// fault is caught by a SIGSEGV handler running on an alternate signal stack (the
// faulting stack has no room left): a fault inside a watched guard area writes
// the message and the area's label to standard error and ends the process; any
// other fault takes the course it would have taken without the handler.
//
// Everything the handler reads lives in fixed tables, written before a fault
// can happen, so that it needs no allocation and no lock.
#pragma once

#include <cstddef>
#include <string_view>

namespace rk::platform {

inline constexpr int kNoGuard = -1;

// Watches [low, low + size); returns the area's number, kNoGuard when every
// entry of the table is taken (the area then faults without a report).
int WatchGuard(const void* low, size_t size);
// The words naming the stack's owner in the report, cut to fit the table.
void LabelGuard(int guard, std::string_view label);
void ForgetGuard(int guard);

// Installs the handler (once; a later call only replaces the message and exit
// code). The report reads: message, the label, a line end.
void ReportStackOverflows(std::string_view message, int exitCode);

}  // namespace rk::platform
