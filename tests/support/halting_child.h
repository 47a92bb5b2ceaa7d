// Death tests whose child ends the program through Halt: the child exits from
// inside a runtime thread, without unwinding the test's frames, so the leak
// checker of a sanitizer build would take everything those frames still hold
// for leaks and change the child's exit code. While an object of this class
// lives, children started by a "threadsafe" death test run without the leak
// check; every other check of the sanitizer stays on.
#pragma once

#include <cstdlib>
#include <string>

namespace rk::testing {

class ChildrenSkipLeakCheck {
 public:
  ChildrenSkipLeakCheck() {
    const char* options = std::getenv("ASAN_OPTIONS");
    had_ = options != nullptr;
    if (had_) saved_ = options;
    std::string changed = had_ ? saved_ + ":detect_leaks=0" : "detect_leaks=0";
    setenv("ASAN_OPTIONS", changed.c_str(), 1);
  }
  ~ChildrenSkipLeakCheck() {
    if (had_) {
      setenv("ASAN_OPTIONS", saved_.c_str(), 1);
    } else {
      unsetenv("ASAN_OPTIONS");
    }
  }
  ChildrenSkipLeakCheck(const ChildrenSkipLeakCheck&) = delete;
  ChildrenSkipLeakCheck& operator=(const ChildrenSkipLeakCheck&) = delete;

 private:
  bool had_ = false;
  std::string saved_;
};

}  // namespace rk::testing
