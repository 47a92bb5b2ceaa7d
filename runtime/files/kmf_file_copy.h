// Whole-file copies of KMF files: every record of every table, in key order,
// written into a fresh tree, so that the copy is also a rebuilt, compact file.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/files/kmf_file.h"

namespace rk::kmf {

// Writes the copy of `from` (inside an access of it) at `path`, replacing a file
// of that name. The copy's number counter goes on from the original's. Returns
// 0 or the OS error; a file of that name that this program has open is refused
// with the sharing violation and left alone.
uint32_t WriteRebuiltCopy(File& from, const std::string& path);

// Replaces every record of `into` (inside a write access) by the records of the
// file at `path`. Returns 0 or the OS error of opening that file.
uint32_t ReplaceRecordsFrom(File& into, const std::string& path);

}  // namespace rk::kmf
