#include "runtime/core/halt.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/core/error_state.h"

namespace rk {
namespace {

struct TerminationRoutine {
  int priority;
  std::function<void(int)> routine;
};

MessagePresenter presenter;
std::vector<std::function<void()>> exitProcedures;
std::vector<TerminationRoutine> terminationRoutines;

void PresentOnStandardError(std::string_view title, std::string_view message) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
               static_cast<int>(message.size()), message.data());
  std::fflush(stderr);
}

}  // namespace

void SetRuntimeErrorPresenter(MessagePresenter p) {
  presenter = std::move(p);
}

std::string RuntimeErrorMessage(int32_t code, std::string_view text) {
  std::string message;
  if (code != 0) {
    SetErrorFromSystem(code);
    message = ErrorName();
    if (message.size() > kMessageBufferSize - 1) message.resize(kMessageBufferSize - 1);
    if (!text.empty()) message += " : ";
  }
  message += text;
  return message;
}

void RuntimeError(int32_t code, std::string_view text) {
  std::string message = RuntimeErrorMessage(code, text);
  // Standard error keeps a copy whatever the presenter shows: the report
  // outlives the box.
  PresentOnStandardError("Runtime error", message);
  if (presenter) presenter("Runtime error", message);
  Halt(kRuntimeErrorExitCode);
}

void Halt(int exitCode) {
  // Each procedure and routine leaves its list before it runs, so one that halts
  // again does not run twice: the inner call finishes what is left and ends.
  while (!exitProcedures.empty()) {
    auto procedure = std::move(exitProcedures.back());
    exitProcedures.pop_back();
    procedure();
  }
  std::stable_sort(terminationRoutines.begin(), terminationRoutines.end(),
                   [](const auto& a, const auto& b) { return a.priority < b.priority; });
  while (!terminationRoutines.empty()) {
    auto routine = std::move(terminationRoutines.front().routine);
    terminationRoutines.erase(terminationRoutines.begin());
    routine(1);
  }
  std::fflush(nullptr);
  std::exit(exitCode);
}

void RegisterExitProcedure(std::function<void()> procedure) {
  exitProcedures.push_back(std::move(procedure));
}

void RegisterTerminationRoutine(int priority, std::function<void(int)> routine) {
  terminationRoutines.push_back({std::clamp(priority, 0, 255), std::move(routine)});
}

}  // namespace rk
