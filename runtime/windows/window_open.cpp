#include "runtime/windows/window_open.h"

#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <algorithm>
#include <vector>

#include "runtime/core/halt.h"
#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/close_request_filter.h"
#include "runtime/platform/qt/dialog_units.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/platform/qt/platform_timer.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/platform/qt/window_shell.h"
#include "runtime/platform/qt/window_state_notifier.h"
#include "runtime/windows/control.h"
#include "runtime/windows/definition_flags.h"
#include "runtime/windows/definition_open.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/frame_window.h"
#include "runtime/windows/modal_state.h"
#include "runtime/windows/thread_input.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_build.h"
#include "runtime/windows/window_font.h"
#include "runtime/windows/window_thread_end.h"

namespace rk {
namespace {

constexpr int kTimerTicksToMs = 10;  // the definition's interval is in hundredths of a second

platform::ShellStyle StyleOf(const Window& window) {
  namespace wa = window_attribute;
  int32_t frame = window.attributes & wa::kFrameMask;
  platform::ShellStyle style;
  style.caption = !window.title.empty();
  style.frameless = frame == wa::kNoFrame;
  style.resizable = frame == wa::kResizable;
  style.maximizeBox = (window.attributes & wa::kMaximizeBox) != 0;
  style.systemMenu = (window.attributes & wa::kSystemMenu) != 0;
  return style;
}

int32_t CreationError(WindowKind kind) {
  switch (kind) {
    case WindowKind::kApplication:
      return window_error::kFrameNotCreated;
    case WindowKind::kMdiChild:
      return window_error::kMdiNotCreated;
    case WindowKind::kPlain:
      break;
  }
  return window_error::kWindowNotCreated;
}

std::unique_ptr<platform::WindowShell> MakeShell(WindowKind kind,
                                                 const platform::ShellStyle& style) {
  if (!QGuiApplication::instance()) return nullptr;
  switch (kind) {
    case WindowKind::kApplication:
      return std::make_unique<platform::FrameShell>(style);
    case WindowKind::kMdiChild: {
      Window* frame = TheFrame();
      auto* frameShell = frame ? dynamic_cast<platform::FrameShell*>(frame->shell.get()) : nullptr;
      return frameShell ? platform::MakeMdiChildShell(*frameShell, style) : nullptr;
    }
    case WindowKind::kPlain:
      break;
  }
  return platform::MakePlainShell(style);
}

UnitScale ScaleOf(const Window& window) {
  DeviceMetrics metrics;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    metrics.pixelsPerInchX = static_cast<int32_t>(screen->logicalDotsPerInchX());
    metrics.pixelsPerInchY = static_cast<int32_t>(screen->logicalDotsPerInchY());
  }
  platform::DialogBaseUnits base = platform::BaseUnitsOf(window.font);
  metrics.averageCharWidth = base.x;
  metrics.charHeight = base.y;
  return ScaleFor(window.definition.units(), metrics);
}

// Width and height not given: large enough for the controls.
QSize ClientSizeOf(const Window& window, const Position& pixels) {
  const Position& at = window.definition.at;
  QRect used = window.shell->Client()->childrenRect();
  int width = at[2] == kNotGiven ? used.right() + 8 : pixels[2];
  int height = at[3] == kNotGiven ? used.bottom() + 8 : pixels[3];
  return {std::max(width, 1), std::max(height, 1)};
}

void PlaceWindow(Window& window) {
  Position pixels = ToPixels(window.definition.at, window.scale);
  QSize size = ClientSizeOf(window, pixels);
  window.shell->SetClientSize(size.width(), size.height());
  const Position& at = window.definition.at;
  if (at[0] != kNotGiven && at[1] != kNotGiven) {
    window.shell->MoveTo(pixels[0], pixels[1]);
  } else {
    window.shell->PlaceByDefault();
  }
}

void InstallPlatformHooks(Window& window) {
  platform::Scheduler& scheduler = platform::TheScheduler();
  platform::FiberId owner = FiberOfThread(window.thread);
  QWidget& outer = *window.shell->Outer();
  new platform::CloseRequestFilter(outer, scheduler, owner, window.Id());
  new platform::WindowStateNotifier(outer, scheduler, owner, window.Id());
  if (auto* frame = dynamic_cast<platform::FrameShell*>(window.shell.get())) {
    // Another MDI child became the active one: the frame's thread works out whose.
    uintptr_t target = window.Id();
    QObject::connect(frame->Area(), &QMdiArea::subWindowActivated, frame->Area(),
                     [&scheduler, owner, target] {
                       scheduler.Post(owner, {platform::MessageKind::kStateChanged, target,
                                              platform::kWindowActivated, nullptr});
                     });
  }
  if (window.definition.timer > 0) {
    window.timer = std::make_unique<platform::PlatformTimer>(scheduler, owner, window.Id(), 0);
    window.timer->Start(window.definition.timer * kTimerTicksToMs);
  }
}

void Register(Window& window) {
  WindowsOfThread(window.thread).open.push_back(&window);
  switch (window.kind) {
    case WindowKind::kApplication:
      SetTheFrame(&window);
      break;
    case WindowKind::kMdiChild:
      window.frame = TheFrame();
      window.frame->children.push_back(&window);
      break;
    case WindowKind::kPlain:
      EnterModal();
      window.holdsModal = true;
      break;
  }
  // A window opens active; its own thread needs no focus event for that.
  int32_t previous = ActiveThread();
  SetActiveThread(window.thread);
  WindowsOfThread(window.thread).seenActiveThread = window.thread;
  if (previous != window.thread) WakeThread(previous);
  UpdateThreadInput(window.thread);
}

void ResetLoopState(Window& window) {
  window.queue.clear();
  window.urgent.clear();
  window.current.reset();
  window.insideAccept = false;
  window.refused = false;
  window.selected = 0;
  window.validating = false;
  window.validationNext = 0;
  window.closeState = CloseState::kNone;
  window.agreedToClose = false;
  window.timerPending = false;
  window.suspended = false;
  window.quit = false;
  window.takesInput = true;
}

// An MDI child has gone: a frame waiting for it goes on with its close.
void LeaveFrame(Window& window) {
  Window* frame = window.frame;
  window.frame = nullptr;
  if (!frame) return;
  std::erase(frame->children, &window);
  if (frame->closeState == CloseState::kWaitingForChildren) {
    frame->closeState = CloseState::kRequested;
  }
  WakeThread(frame->thread);
}

// The frame has gone: its children's platform windows went with it.
void ReleaseChildren(Window& frame) {
  for (Window* child : frame.children) {
    child->frame = nullptr;
    WakeThread(child->thread);
  }
  frame.children.clear();
}

}  // namespace

int32_t OpenRefusal(WindowKind kind) {
  switch (kind) {
    case WindowKind::kApplication:
      if (TheFrame()) return window_error::kFrameAlreadyActive;
      if (SystemIsModal()) return window_error::kFrameModal;
      return 0;
    case WindowKind::kMdiChild: {
      Window* frame = TheFrame();
      if (!frame || !frame->IsOpen() || frame->closeState != CloseState::kNone) {
        return window_error::kNoFrame;
      }
      if (SystemIsModal()) return window_error::kMdiModal;
      if (frame->thread == RunningThreadNumber()) return window_error::kMdiOnFrameThread;
      return 0;
    }
    case WindowKind::kPlain:
      return 0;
  }
  return 0;
}

int32_t TryOpenWindow(Window& window, WindowKind kind, StructureRecord definition) {
  if (window.IsOpen()) return window_error::kAlreadyOpen;
  if (int32_t refusal = OpenRefusal(kind)) return refusal;
  InstallWindowThreadEndHook();
  int32_t thread = RunningThreadNumber();
  if (thread == 0) return CreationError(kind);

  window.controls.clear();
  window.kind = kind;
  window.thread = thread;
  window.definition = std::move(definition);
  window.flags = window.definition.flags;
  window.attributes = window.definition.attributes;
  window.title = window.definition.title;
  window.statusText.clear();
  window.font = FontFrom(window.definition.font, SystemFont());
  window.scale = ScaleOf(window);
  window.shell = MakeShell(kind, StyleOf(window));
  if (!window.shell || !window.shell->Exists()) {
    window.shell.reset();
    return CreationError(kind);
  }
  window.TakeNewId();
  ResetLoopState(window);
  window.everOpened = true;
  window.shell->Client()->setFont(platform::MakeFont(window.font));
  window.shell->SetTitle(platform::FromAnsi(window.title));
  BuildControls(window);
  PlaceWindow(window);
  DecorateWindow(window);
  Register(window);
  if (kind == WindowKind::kPlain) window.shell->Outer()->setWindowModality(Qt::ApplicationModal);
  namespace wa = window_attribute;
  window.shell->Show((window.attributes & wa::kMaximized) != 0,
                     (window.attributes & wa::kMinimized) != 0);
  // After showing: the moves and sizes of the window's own creation are no events.
  InstallPlatformHooks(window);
  window.queue.push_back({event::kOpenWindow, 0, window.Id()});
  return 0;
}

namespace {

void RaiseIfFailed(int32_t error) {
  if (error != 0) RuntimeError(error);
}

void OpenLoaded(Window& window, WindowKind kind, StructureRecord definition) {
  RaiseIfFailed(TryOpenWindow(window, kind, std::move(definition)));
}

std::vector<void*> ZeroTerminated(std::span<void* const> variables) {
  std::vector<void*> list(variables.begin(), variables.end());
  list.push_back(nullptr);
  return list;
}

std::vector<void*> ZeroTerminated(std::initializer_list<void*> variables) {
  return ZeroTerminated(std::span<void* const>(variables.begin(), variables.size()));
}

}  // namespace

void OpenWindowWith(Window& window, WindowKind kind, std::string_view tag, std::string_view label,
                    std::span<void* const> variables) {
  if (window.IsOpen()) RuntimeError(window_error::kAlreadyOpen);
  RaiseIfFailed(OpenRefusal(kind));
  std::vector<void*> addresses = ZeroTerminated(variables);
  OpenLoaded(window, kind, OpenDefinition(tag, label, addresses.data()));
}

void OpenWindow(Window& window, WindowKind kind, std::string_view tag, std::string_view label,
                std::initializer_list<void*> variables) {
  OpenWindowWith(window, kind, tag, label,
                 std::span<void* const>(variables.begin(), variables.size()));
}

void OpenWindow(Window& window, WindowKind kind, std::span<const uint8_t> buffer,
                std::string_view label, std::initializer_list<void*> variables) {
  if (window.IsOpen()) RuntimeError(window_error::kAlreadyOpen);
  RaiseIfFailed(OpenRefusal(kind));
  std::vector<void*> addresses = ZeroTerminated(variables);
  DefinitionFailure failure;
  std::optional<StructureRecord> definition =
      LoadDefinition(buffer, label, addresses.data(), failure);
  if (!definition) RuntimeError(failure.error, failure.context);
  OpenLoaded(window, kind, std::move(*definition));
}

void CloseWindow(Window& window) {
  if (!window.shell) return;
  if (window.timer) window.timer->Stop();
  window.timer.reset();
  window.controls.clear();
  if (window.kind == WindowKind::kApplication) ReleaseChildren(window);
  window.shell.reset();
  if (window.thread >= 1 && window.thread <= kThreadSlots) {
    std::erase(WindowsOfThread(window.thread).open, &window);
    UpdateThreadInput(window.thread);
  }
  if (TheFrame() == &window) SetTheFrame(nullptr);
  LeaveFrame(window);
  if (window.holdsModal) LeaveModal();
  if (window.heldForSend) LeaveModal();
  window.holdsModal = false;
  window.heldForSend = false;
  window.queue.clear();
  window.urgent.clear();
}

void RequireOpen(const Window* window) {
  if (!window || !window->IsOpen()) RuntimeError(window_error::kNotOpen);
}

}  // namespace rk
