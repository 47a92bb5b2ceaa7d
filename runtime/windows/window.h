// The runtime window object: what a procedure opens from a WINDOW definition and
// runs its ACCEPT loop on. It holds the loop's state (event queue, current event,
// selected control, validation pass, close protocol, timer), the controls in
// creation order and, while open, the platform window (its shell).
//
// A procedure owns its Window (usually a local); destroying an open window
// closes it.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/platform/qt/font_record.h"
#include "runtime/windows/definition_tree.h"
#include "runtime/windows/definition_units.h"
#include "runtime/windows/event_record.h"

namespace rk::platform {
class WindowShell;
class FrameShell;
class PlatformTimer;
}  // namespace rk::platform

namespace rk {

class Control;

enum class WindowKind : uint8_t {
  kApplication,  // the frame
  kMdiChild,     // a document window inside the frame
  kPlain,        // a top-level window; the system is modal while one is open
};

// Where a window stands in the close protocol.
enum class CloseState : uint8_t {
  kNone,
  kWaitingForChildren,  // a frame that has asked a child to close down
  kRequested,           // the loop ends once the queue is empty and no child is left
};

class Window {
 public:
  Window();
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Identifies the current opening of the window: platform messages name the
  // window by it, so one left over from an earlier opening of the same object
  // (or from another object at the same address) finds nothing. A closed
  // window keeps its last one until it opens again; 0 before the first opening.
  uint32_t Id() const { return id_; }
  bool IsOpen() const;

  // Called by opening: the identifier of the new opening; the old one is gone.
  void TakeNewId();

  // The control with that number (numbered controls only), nullptr for none.
  Control* FindControl(int32_t number) const;
  // Position of the control in creation order, or -1.
  int IndexOf(const Control* control) const;

  // --- Set when the window is opened ---
  WindowKind kind = WindowKind::kPlain;
  int32_t thread = 0;  // the owning thread's number
  StructureRecord definition;
  int32_t flags = 0;
  int32_t attributes = 0;  // bits 0xC000 also follow the maximized/minimized state
  std::string title;       // ANSI
  std::string statusText;  // ANSI, property 0x7D01
  platform::FontRecord font;
  UnitScale scale;
  std::unique_ptr<platform::WindowShell> shell;    // null while not open
  std::vector<std::unique_ptr<Control>> controls;  // creation order
  Window* frame = nullptr;                         // an MDI child's frame
  std::vector<Window*> children;                   // a frame's MDI children, in opening order
  std::unique_ptr<platform::PlatformTimer> timer;
  bool holdsModal = false;  // a plain window counts in the modal count while open
  bool everOpened = false;

  // --- The ACCEPT loop ---
  std::deque<EventRecord> queue;       // posted events, in arrival order
  std::deque<EventRecord> urgent;      // synchronous events: delivered before the queue
  std::optional<EventRecord> current;  // the event the body is handling
  bool insideAccept = false;
  bool refused = false;       // the body refused the current event
  bool heldForSend = false;   // a synchronous delivery holds the modal count
  int32_t selected = 0;       // index + 1 of the selected control in creation order, 0 none
  bool validating = false;    // the validation pass is running
  size_t validationNext = 0;  // the next control the pass looks at
  CloseState closeState = CloseState::kNone;
  bool agreedToClose = false;  // an MDI child that accepted its frame's close-down
  bool timerPending = false;
  bool suspended = false;
  bool quit = false;       // the thread was told to leave its loop
  bool takesInput = true;  // false while a later window or a dialog of the thread is open

 private:
  uint32_t id_ = 0;
};

}  // namespace rk
