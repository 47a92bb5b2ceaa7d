// Opening and closing runtime windows.
//
// Opening checks the kind's rules first (one frame per program; no frame or MDI
// window while the system is modal; MDI children need an open frame that is not
// closing and a thread other than the frame's), loads and binds the definition,
// creates the platform window and the controls, and queues the open-window
// event. Closing destroys the platform window; the window's ACCEPT loop then
// ends. Closing a window that is not open does nothing.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "runtime/windows/definition_tree.h"
#include "runtime/windows/window.h"

namespace rk {

namespace window_error {
inline constexpr int32_t kFrameAlreadyActive = 526;
inline constexpr int32_t kFrameModal = 527;
inline constexpr int32_t kFrameNotCreated = 528;
inline constexpr int32_t kWindowNotCreated = 529;
inline constexpr int32_t kNoFrame = 530;
inline constexpr int32_t kMdiModal = 531;
inline constexpr int32_t kMdiOnFrameThread = 532;
inline constexpr int32_t kMdiNotCreated = 533;
inline constexpr int32_t kTooManyKeys = 534;
inline constexpr int32_t kAlreadyOpen = 535;
inline constexpr int32_t kNotOpen = 536;
inline constexpr int32_t kAcceptWithoutWindow = 537;
inline constexpr int32_t kAcceptModal = 540;
inline constexpr int32_t kControlModal = 541;
inline constexpr int32_t kOperationModal = 542;
}  // namespace window_error

// The error that opening a window of `kind` on the running thread would raise
// before anything is created: 0, 526, 527, 530, 531 or 532.
int32_t OpenRefusal(WindowKind kind);

// Opens `window` from a definition already read and bound. Returns 0, or the
// runtime error's number (nothing is raised and nothing is left half open).
int32_t TryOpenWindow(Window& window, WindowKind kind, StructureRecord definition);

// The procedure's call: looks up the definition by tag and label, binds the
// variables (in binding order) and opens the window. Failures are runtime errors.
void OpenWindow(Window& window, WindowKind kind, std::string_view tag, std::string_view label,
                std::initializer_list<void*> variables = {});
// The same with the variables in a list built at run time.
void OpenWindowWith(Window& window, WindowKind kind, std::string_view tag, std::string_view label,
                    std::span<void* const> variables);
// The same with a definition already in memory (two lead bytes, then the blob).
void OpenWindow(Window& window, WindowKind kind, std::span<const uint8_t> buffer,
                std::string_view label, std::initializer_list<void*> variables = {});

void CloseWindow(Window& window);

// Raises 536 unless the window is open.
void RequireOpen(const Window* window);

}  // namespace rk
