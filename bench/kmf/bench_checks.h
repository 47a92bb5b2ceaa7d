// The benchmark checks every answer it gets: a store that skipped work would
// otherwise look fast. A failed check ends the run with a message.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace rk::bench {

inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "bench_kmf: %s\n", what);
  std::exit(1);
}

}  // namespace rk::bench
