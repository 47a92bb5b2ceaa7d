// The process-wide list of open KMF operating-system files: every table opened
// in a file shares its one File object; the last close writes it back, cuts the
// file after its used ranges and closes the handle.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/files/kmf_file.h"

namespace rk::kmf {

// The file name with ".KMF" added when it has no extension.
std::string KmfFileName(const std::string& name);

// Finds the file in the list (counting one more user) or opens it with the
// access mode. Returns the OS error of a failed open.
uint32_t AcquireFile(const std::string& path, uint32_t mode, File*& file);
// One user fewer; the last one writes back, cuts and closes. Returns the OS
// error of the write-back.
uint32_t ReleaseFile(File* file);
// The open object of a file, or null.
File* FindOpenFile(const std::string& path);

}  // namespace rk::kmf
