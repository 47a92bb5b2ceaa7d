// The one way the KMF driver gives up: a damaged page, a failing read or write,
// an exhausted number counter. The runtime shows "Internal error : kmfbt.cpp
// line" with the line number of the check that failed and ends the program; it
// never continues on a damaged tree.
#pragma once

namespace rk::kmf {

[[noreturn]] void InternalError(int line);

}  // namespace rk::kmf

#define KMF_CHECK(condition)                              \
  do {                                                    \
    if (!(condition)) ::rk::kmf::InternalError(__LINE__); \
  } while (false)
