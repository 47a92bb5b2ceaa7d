// The standard actions that menu items carry in their definitions and that the
// window system carries out itself: arranging the MDI children, help, the
// clipboard commands of the control with the focus, closing a window and print
// setup. None of them waits, so the display may run them the moment the item is
// chosen.
#pragma once

#include <cstdint>

#include "runtime/platform/qt/platform_message.h"

class QWidget;

namespace rk {

namespace standard_action {
inline constexpr int32_t kTile = 2;  // vertical tiling
inline constexpr int32_t kCascade = 3;
inline constexpr int32_t kArrangeIcons = 4;
inline constexpr int32_t kHelpContents = 5;
inline constexpr int32_t kHelpOnHelp = 6;
inline constexpr int32_t kHelpSearch = 7;
inline constexpr int32_t kHelpTopic = 8;
inline constexpr int32_t kCut = 10;
inline constexpr int32_t kCopy = 11;
inline constexpr int32_t kPaste = 12;
inline constexpr int32_t kClear = 13;
inline constexpr int32_t kUndo = 14;
inline constexpr int32_t kClose = 15;
inline constexpr int32_t kPrintSetup = 16;
inline constexpr int32_t kTileHorizontally = 17;
inline constexpr int32_t kTileVertically = 18;
}  // namespace standard_action

// The window an action is for: closing asks its runtime thread to close it.
struct ActionWindow {
  platform::FiberId thread = 0;
  uintptr_t target = 0;  // the window object
};

// Runs the action; unknown numbers do nothing. Arranging does nothing without a
// frame, help nothing without a help file (and no help viewer is available).
void RunStandardAction(int32_t action, const ActionWindow& window);

}  // namespace rk
