#include "runtime/windows/window_menu_items.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenuBar>
#include <QStatusBar>
#include <algorithm>
#include <vector>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/dialog_units.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/platform/qt/frame_widget.h"
#include "runtime/platform/qt/menu_bar_builder.h"
#include "runtime/platform/qt/status_zones.h"
#include "runtime/platform/qt/window_shell.h"
#include "runtime/windows/frame_menu.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/window.h"

namespace rk {
namespace {

// The frame's bar belongs to its main window; any other window's own bar sits
// on its client area.
QMenuBar* MenuBarOf(const Window& window) {
  if (!window.shell) return nullptr;
  QWidget* holder =
      window.kind == WindowKind::kApplication ? window.shell->Outer() : window.shell->Client();
  if (!holder) return nullptr;
  return holder->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
}

QAction* ActionOf(const Window& window, int32_t number) {
  if (!HasMenuItem(window, number)) return nullptr;
  QMenuBar* bar = MenuBarOf(window);
  return bar ? platform::FindMenuAction(*bar, number) : nullptr;
}

}  // namespace

bool HasMenuItem(const Window& window, int32_t number) {
  return number != 0 && window.definition.menubar &&
         FindMenuItem(*window.definition.menubar, number) != nullptr;
}

bool SetMenuItemProperty(Window& window, int32_t number, int32_t code, std::string_view value) {
  QAction* action = ActionOf(window, number);
  if (!action) return false;
  switch (code) {
    case property::kDisabled:
      action->setEnabled(property::NumberOf(value) == 0);
      return true;
    case property::kText:
      action->setText(platform::FromAnsi(value));
      return true;
    case property::kStatusMessage:
      action->setStatusTip(platform::FromAnsi(value));
      return true;
    default:
      return false;
  }
}

std::optional<std::string> MenuItemProperty(const Window& window, int32_t number, int32_t code) {
  QAction* action = ActionOf(window, number);
  if (!action) return std::nullopt;
  switch (code) {
    case property::kDisabled:
      return action->isEnabled() ? "0" : "1";
    case property::kText:
      return platform::ToAnsi(action->text());
    case property::kStatusMessage:
      return platform::ToAnsi(action->statusTip());
    default:
      return std::nullopt;
  }
}

std::vector<int> ZoneWidthsOf(const Window& window) {
  platform::DialogBaseUnits base = platform::BaseUnitsOf(window.font);
  std::vector<int> widths;
  for (int32_t value : window.definition.valueList) {
    widths.push_back(value < 0 ? -1 : platform::DialogToPixelsX(value, base));
  }
  return widths;
}

void AddOwnStatusBar(Window& window) {
  if (window.definition.valueList.empty() || !window.shell ||
      window.kind == WindowKind::kApplication)
    return;
  QWidget* client = window.shell->Client();
  if (!client) return;
  auto* bar = new QStatusBar(client);
  bar->setSizeGripEnabled(false);
  new platform::StatusZones(*bar, ZoneWidthsOf(window));
  // Not yet polished, the bar has no height of its own to offer: one line of text.
  int height = std::max(bar->sizeHint().height(),
                        QFontMetrics(platform::MakeFont(window.font)).height() + 8);
  bar->setFixedHeight(height);
  // The window grows by the bar, which takes the new foot: the controls keep
  // the room the definition gives them.
  int top = client->height();
  window.shell->SetClientSize(client->width(), top + height);
  bar->setGeometry(0, top, client->width(), height);
  bar->raise();
}

platform::StatusZones* StatusZonesOf(const Window& window) {
  if (window.shell && window.kind != WindowKind::kApplication) {
    if (QWidget* client = window.shell->Client()) {
      if (auto* bar = client->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (auto* zones = bar->findChild<platform::StatusZones*>()) return zones;
      }
    }
  }
  const Window* frame = window.kind == WindowKind::kMdiChild ? window.frame : &window;
  if (!frame || !frame->shell) return nullptr;
  auto* widget = dynamic_cast<platform::FrameWidget*>(frame->shell->Outer());
  return widget ? &widget->Zones() : nullptr;
}

}  // namespace rk
