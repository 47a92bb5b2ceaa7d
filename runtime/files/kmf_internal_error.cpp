#include "runtime/files/kmf_internal_error.h"

#include <cstdio>
#include <string>

#include "runtime/core/halt.h"

namespace rk::kmf {

void InternalError(std::source_location where) {
  std::fprintf(stderr, "KMF check failed at %s:%u in %s\n", where.file_name(),
               static_cast<unsigned>(where.line()), where.function_name());
  std::fflush(stderr);
  RuntimeError(0, "Internal error : kmfbt.cpp line " + std::to_string(where.line()));
}

}  // namespace rk::kmf
