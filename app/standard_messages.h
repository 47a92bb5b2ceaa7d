// SHOWMESSAGE: the application's 35 numbered standard messages. Each is shown in
// the runtime's message box with its title, icon and buttons; the fatal ones end
// the program afterwards.
//
// Texts name the last error as "error text (code)", taken from the error state
// when the message is composed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rk {

inline constexpr int32_t kFirstStandardMessage = 1;
inline constexpr int32_t kLastStandardMessage = 35;
inline constexpr size_t kErrorTextLimit = 149;  // a 150-character buffer

enum class MessageIcon { kExclamation, kQuestion };

struct StandardMessage {
  std::string title;
  std::string text;
  MessageIcon icon = MessageIcon::kExclamation;
  int32_t buttons = 0;           // button masks of MESSAGE
  int32_t defaultButton = 0;     // 0: the first one
  std::string haltText;          // non-empty: the program ends after the box ...
  int32_t haltUnlessButton = 0;  // ... unless this button closed it (0: always)
};

struct MessageArguments {
  std::string a1, a2, a3, a4;
};

// The last error as the messages name it: the error's text, trimmed, " (", the
// code and ")"; empty when there is no error.
std::string LastErrorText();

// The message of that number with its arguments and the last error; an unknown
// number gives nothing to show (an empty title and text).
StandardMessage ComposeStandardMessage(int32_t number, const MessageArguments& arguments,
                                       std::string_view errorText);

// Takes A1 to A4 off the value stack (A1 on top: it was pushed last), shows the
// message and returns the button that closed the box. After a fatal message the
// program ends (see HaltProgram).
int32_t SHOWMESSAGE(int32_t number);
// The same, pushing the arguments first.
int32_t SHOWMESSAGE(int32_t number, std::string_view a1, std::string_view a2 = {},
                    std::string_view a3 = {}, std::string_view a4 = {});

}  // namespace rk
