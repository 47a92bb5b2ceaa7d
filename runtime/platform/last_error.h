// The operating system's "last error" as the runtime sees it: a Windows error
// number (ERROR_FILE_NOT_FOUND = 2, ERROR_SHARING_VIOLATION = 32, ...). The OS file
// layer stores the number it mapped from errno here; the error state reads it.
#pragma once

#include <cstdint>

namespace rk::platform {

uint32_t LastError();
void SetLastError(uint32_t windowsError);

}  // namespace rk::platform
