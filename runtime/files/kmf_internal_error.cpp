#include "runtime/files/kmf_internal_error.h"

#include <cstdio>
#include <string>

#include "runtime/core/halt.h"

namespace rk::kmf {

void InternalError(const char* file, unsigned line, const char* function) {
  std::fprintf(stderr, "KMF check failed at %s:%u in %s\n", file, line, function);
  std::fflush(stderr);
  RuntimeError(0, "Internal error : kmfbt.cpp line " + std::to_string(line));
}

}  // namespace rk::kmf
