// The environment file: an optional text file beside the program that adapts the
// runtime to a country and character set (character set, collating sequence,
// case pairs, month names, AM/PM texts, digraphs, button texts, message texts).
//
// Layout, line by line:
//   KEY=VALUE        key up to '=' or the first control character, spaces dropped,
//                    at most 31 characters, compared without regard to case;
//                    value the rest of the line, at most 255 characters, trailing
//                    spaces and tabs removed
//   (other lines)    ignored; empty lines and CR/LF are skipped
//   Ctrl-Z (26)      ends the file
// A value is a list of items: either plain (commas separate items) or quoted
// ("item","item", where "" inside an item stands for one double quote).
// QVNCOLSEQ and the QVNMSGn keys take their whole plain value as one item.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rk {

inline constexpr size_t kMaxEnvironmentKey = 31;
inline constexpr size_t kMaxEnvironmentValue = 255;

struct EnvironmentSetting {
  std::string key;
  std::string value;
};

// Every KEY=VALUE line of a file's text, in order.
std::vector<EnvironmentSetting> ParseEnvironmentText(std::string_view text);

// The items of a value. A single-item value that is not quoted is one item, commas
// and all.
std::vector<std::string> EnvironmentItems(std::string_view value, bool singleItem);

// Keys compared as the system compares them, without regard to case.
bool SameEnvironmentKey(std::string_view a, std::string_view b);

// Applies settings in order; unknown keys and items beyond a key's limits are
// ignored, and a malformed value leaves the setting it would change as it was.
void ApplyEnvironmentSettings(const std::vector<EnvironmentSetting>& settings);

// The file name for a program: its path with the extension of the file name
// replaced by ".ENV" (or ".ENV" appended when the name has none).
std::string EnvironmentFileName(std::string_view programPath);

// Reads and applies a file. The name "WINDOWS" (in any case) reads nothing and
// applies the value WINDOWS to QVNCHARSET, QVNCOLSEQ and QVNCASE. When the file
// cannot be read the error state is set from the operating-system error, every
// setting stays as it was, and the result is false.
bool LoadEnvironmentFile(std::string_view path);

// Start-up, once per process before the first window: the international
// settings of the system, then the environment file of the program (or the
// given file when one is named). False when a named file could not be read; a
// missing file beside the program is normal and only leaves the error state set.
bool InitializeEnvironment(std::string_view environmentFile = {});

}  // namespace rk
