// The one way the KMF driver gives up: a damaged page, a failing read or write,
// an exhausted number counter. The runtime shows "Internal error : kmfbt.cpp
// line" with the line number of the check that failed and ends the program; it
// never continues on a damaged tree. The message names one file whatever
// source file the check is in, so the check's real file and line go to
// standard error first, for whoever traces a report.
#pragma once

namespace rk::kmf {

// The check's place comes from the macro below, not from std::source_location,
// which the fuzzing build's compiler cannot give with this standard library.
[[noreturn]] void InternalError(const char* file, unsigned line, const char* function);

}  // namespace rk::kmf

#define KMF_CHECK(condition)                                                  \
  do {                                                                        \
    if (!(condition)) ::rk::kmf::InternalError(__FILE__, __LINE__, __func__); \
  } while (false)
