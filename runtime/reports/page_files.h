// The temporary files that hold a report's finished pages in preview mode: one
// file per page in the system's temporary folder (TMPDIR, else /tmp), named with
// the prefix "QVN" and a unique part, as the platform's temporary-file naming
// gives them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace rk {

inline constexpr const char* kPageFilePrefix = "QVN";

struct PageFileFailure {
  uint32_t osError = 0;  // Windows error number
  std::string folder;    // the temporary folder that could not take the file
};

// Writes `header` and `body` to a new page file and returns its name. On failure
// nothing is left behind.
std::optional<std::string> WritePageFile(std::span<const uint8_t> header,
                                         std::span<const uint8_t> body, PageFileFailure& failure);

std::string TemporaryFolder();

// Removes a page file; a file that is already gone is no failure.
void RemovePageFile(const std::string& name);

}  // namespace rk
