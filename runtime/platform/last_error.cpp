#include "runtime/platform/last_error.h"

namespace rk::platform {
namespace {
// One program-wide value: every runtime thread is a fiber on the GUI thread, so
// the runtime lock already serialises every reader and writer.
uint32_t lastError = 0;
}  // namespace

uint32_t LastError() {
  return lastError;
}
void SetLastError(uint32_t windowsError) {
  lastError = windowsError;
}

}  // namespace rk::platform
