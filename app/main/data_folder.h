// The folder that holds a collection: its six data files, the transaction
// control file and the README.TXT shown at start. The program works inside it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace rk::start {

// The desktop's per-user data folder for the program: $XDG_DATA_HOME/reelkeeper,
// or ~/.local/share/reelkeeper when XDG_DATA_HOME is unset, empty or relative
// (relative values are to be ignored). Empty when neither variable gives a
// usable folder. The arguments are the variables' values, null when unset.
std::filesystem::path DefaultDataFolder(const char* xdgDataHome, const char* home);

// Makes `folder` ready for use: creates it (and its parents) when missing,
// checks that it is a folder the program can write in, and writes `readme` there
// as README.TXT when the folder has none. Returns what went wrong, in words for
// the user, or nothing when the folder is ready.
std::optional<std::string> PrepareDataFolder(const std::filesystem::path& folder,
                                             std::span<const uint8_t> readme);

}  // namespace rk::start
