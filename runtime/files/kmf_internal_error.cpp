#include "runtime/files/kmf_internal_error.h"

#include <string>

#include "runtime/core/halt.h"

namespace rk::kmf {

void InternalError(int line) {
  RuntimeError(0, "Internal error : kmfbt.cpp line " + std::to_string(line));
}

}  // namespace rk::kmf
