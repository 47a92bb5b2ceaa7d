// Fatal runtime errors and the end of the program.
//
// RuntimeError shows "Runtime error" with the code's text and ends the program
// with exit code 2. The message always goes to standard error, and then to the
// presenter the window system installs (its message box). Halt runs the exit
// procedures (newest first), then the termination routines (ascending
// priority), then ends the process.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace rk {

inline constexpr int kRuntimeErrorExitCode = 2;

using MessagePresenter = std::function<void(std::string_view title, std::string_view message)>;

// Installed by the window system; an empty presenter leaves standard error alone.
void SetRuntimeErrorPresenter(MessagePresenter presenter);

[[noreturn]] void RuntimeError(int32_t code, std::string_view text = {});
[[noreturn]] void Halt(int exitCode);

// The message RuntimeError shows for a code and text; exposed for tests and for
// callers that show the same message elsewhere.
std::string RuntimeErrorMessage(int32_t code, std::string_view text);

void RegisterExitProcedure(std::function<void()> procedure);
// Termination routines of the program's module, priority 0-255; each is called
// once with the argument 1.
void RegisterTerminationRoutine(int priority, std::function<void(int)> routine);

}  // namespace rk
