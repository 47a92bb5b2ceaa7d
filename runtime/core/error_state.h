// The process-wide error state that every runtime operation leaves behind
// (ERRORCODE, ERROR, the error name and the system error), the saved-state stack,
// and the message-text lookup.
//
// Codes below 100 are file errors, 301-391 operating-system errors (300 + the
// Windows error number), 401 and above the runtime's own messages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rk {

inline constexpr int kErrorNameWidth = 80;      // space padded
inline constexpr int kMessageBufferSize = 256;  // texts are cut to 255 characters
inline constexpr int32_t kUnknownErrorPosted = 81;

struct ErrorState {
  int32_t code = 0;
  uint32_t systemError = 0;
  std::string name = std::string(kErrorNameWidth, ' ');  // always kErrorNameWidth long
};

// The current state, read by ERRORCODE, ERROR and ERRORFILE.
const ErrorState& CurrentError();
int32_t ErrorCode();
// The error name without its trailing padding.
std::string ErrorName();

void ClearError();
// Clears, then stores the code, the name (leading spaces skipped, at most 79
// characters) and the current system error.
void SetError(int32_t code, std::string_view name);
// System error := the platform's last error. A code of 0 becomes 300 + that error.
// The name becomes the message text of the code.
void SetErrorFromSystem(int32_t code);

void PushErrorState();
void PopErrorState();  // nothing happens when no state was saved
// Number of states saved by PushErrorState and not yet popped.
size_t SavedErrorStates();

// The text of a message: overrides first, then the string table; code 0 counts as
// 81. A code without text gives the text of 81, " : " and the code in decimal.
std::string MessageText(int32_t code);
// Overrides first (cut to size - 1), then the string table. Returns false, and an
// empty text, when neither has the id.
bool LoadText(int32_t id, std::string& out, size_t size = kMessageBufferSize);

// The override list filled from the environment file (QVNMSGnnn, QVNBUTTON).
void SetMessageOverride(int32_t id, std::string_view text);
void ClearMessageOverrides();

// The built-in string table: runtime, file and operating-system messages.
// Returns nullptr for an id without text.
const char* StringTableText(int32_t id);

}  // namespace rk
