// Copying a whole file by name, with the error convention of the OS file layer.
#pragma once

#include <cstdint>
#include <string>

namespace rk::platform {

// Copies the file's bytes to a new file of the target name, replacing an
// existing one. The source is read with writers shut out, and a target that
// another handle holds open (the source itself among them) is refused with the
// sharing violation before anything is truncated. Returns 0 or the Windows
// error number.
uint32_t CopyFileByName(const std::string& from, const std::string& to);

}  // namespace rk::platform
