#include "runtime/windows/frame_window.h"

#include <QMdiSubWindow>
#include <QMenuBar>
#include <vector>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/frame_widget.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/platform/qt/window_shell.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/frame_menu.h"
#include "runtime/windows/standard_actions.h"
#include "runtime/windows/thread_input.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_menu_items.h"
#include "runtime/windows/window_messages.h"
#include "runtime/windows/window_registry.h"
#include "runtime/windows/window_statements.h"

namespace rk {
namespace {

platform::MenuOwner MenuOwnerOf(const Window& window) {
  platform::MenuOwner owner;
  owner.scheduler = &platform::TheScheduler();
  owner.thread = FiberOfThread(window.thread);
  owner.target = window.Id();
  return owner;
}

platform::FrameWidget* FrameWidgetOf(const Window& window) {
  return window.shell ? dynamic_cast<platform::FrameWidget*>(window.shell->Outer()) : nullptr;
}

// A menu bar of the window's own, above its controls: they move down by its
// height and the window grows by as much.
void AddOwnMenuBar(Window& window, const MenuBarRecord& bar) {
  QWidget* client = window.shell->Client();
  if (!window.shell->Outer() || !client) return;
  auto* menuBar = new QMenuBar(client);
  platform::AddMenuBarItems(*menuBar, MenuBarItemsOf(bar), MenuOwnerOf(window));
  int height = menuBar->sizeHint().height();
  for (QWidget* child : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child != menuBar) child->move(child->x(), child->y() + height);
  }
  menuBar->setGeometry(0, 0, client->width(), height);
  // The controls keep the room the definition gives them.
  window.shell->SetClientSize(client->width(), client->height() + height);
}

void InstallHandlersOnce() {
  static const bool installed = [] {
    SetMessageHandler(platform::MessageKind::kMenuCommand, HandleMenuCommand);
    SetStatusTextHook(ShowStatusText);
    return true;
  }();
  (void)installed;
}

}  // namespace

void DecorateWindow(Window& window) {
  InstallHandlersOnce();
  if (!window.shell) return;
  if (platform::FrameWidget* frame = FrameWidgetOf(window)) {
    frame->SetStatusZones(ZoneWidthsOf(window));
    if (window.definition.menubar) {
      frame->SetMenu(MenuBarItemsOf(*window.definition.menubar), MenuOwnerOf(window));
    }
    return;
  }
  if (window.definition.menubar) {
    const MenuBarRecord& bar = *window.definition.menubar;
    auto* child = dynamic_cast<QMdiSubWindow*>(window.shell->Outer());
    platform::FrameWidget* frame = platform::FrameWidget::Current();
    if (window.kind == WindowKind::kMdiChild && MergesIntoFrame(bar) && child && frame) {
      frame->SetChildMenu(*child, MenuBarItemsOf(bar), MenuOwnerOf(window));
    } else {
      AddOwnMenuBar(window, bar);
    }
  }
  AddOwnStatusBar(window);
}

void ShowStatusText(const Window& window) {
  if (platform::StatusZones* zones = StatusZonesOf(window)) {
    zones->SetText(1, platform::FromAnsi(window.statusText));
  }
}

bool HandleMenuCommand(const platform::PlatformMessage& message) {
  Window* window = FindWindow(static_cast<uint32_t>(message.target));
  if (!window || !window->IsOpen() || !window->definition.menubar) return true;
  if (!TakesInput(*window)) return true;  // busy in a window above it, or in a dialog
  int32_t number = static_cast<int32_t>(message.param);
  const MenuRecord* item = FindMenuItem(*window->definition.menubar, number);
  if (!item || item->kind != RecordKind::kItem) return true;
  if (item->action != 0) {
    RunStandardAction(item->action, {FiberOfThread(window->thread), window->Id()});
  } else {
    QueueEvent(*window, {event::kAccepted, number, window->Id()});
  }
  return true;
}

}  // namespace rk
