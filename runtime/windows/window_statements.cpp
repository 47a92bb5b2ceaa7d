#include "runtime/windows/window_statements.h"

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/status_zones.h"
#include "runtime/platform/qt/window_shell.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/control.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/next_event.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_menu_items.h"
#include "runtime/windows/window_open.h"

namespace rk {
namespace {

StatusTextHook& StatusHook() {
  static StatusTextHook hook;
  return hook;
}

Window& OpenCurrentWindow() {
  Window* window = CurrentWindow();
  RequireOpen(window);
  return *window;
}

bool SetWindowProperty(Window& window, int32_t code, std::string_view value, int32_t index) {
  switch (code) {
    case property::kText:
      window.title = value;
      window.shell->SetTitle(platform::FromAnsi(value));
      return true;
    case property::kValidating:
      if (property::NumberOf(value) == 0) {
        window.validating = false;
      } else {
        StartValidation(window);
      }
      return true;
    case property::kStatusText:
      // Zone 1 is the message area every window shares with its status
      // messages; the zones after it are the window's own labels.
      if (index >= 2) {
        if (platform::StatusZones* zones = StatusZonesOf(window)) {
          zones->SetText(index, platform::FromAnsi(value));
        }
        return true;
      }
      window.statusText = value;
      if (StatusHook()) StatusHook()(window);
      return true;
    default:
      return false;
  }
}

std::string WindowProperty(const Window& window, int32_t code, int32_t index) {
  switch (code) {
    case property::kText:
      return window.title;
    case property::kValidating:
      return window.validating ? "1" : "0";
    case property::kStatusText:
      if (index >= 2) {
        platform::StatusZones* zones = StatusZonesOf(window);
        return zones ? platform::ToAnsi(zones->Text(index)) : std::string{};
      }
      return window.statusText;
    default:
      return {};
  }
}

}  // namespace

void SetStatusTextHook(StatusTextHook hook) {
  StatusHook() = std::move(hook);
}

void SELECT(int32_t number) {
  Window& window = OpenCurrentWindow();
  if (number == 0) return StartValidation(window);
  if (window.validating) {
    if (!window.current || window.current->control != number) return;
    window.validating = false;
  }
  Control* control = window.FindControl(number);
  if (!control) return;
  window.selected = window.IndexOf(control) + 1;
  SendEvent(window, event::kSelected, number);
}

void DISPLAY(int32_t first, int32_t last) {
  Window& window = OpenCurrentWindow();
  if (first != 0 && last == 0) last = first;
  for (const std::unique_ptr<Control>& control : window.controls) {
    int32_t number = control->Number();
    if (first == 0 || (number >= first && number <= last)) control->ShowValue();
  }
}

int32_t CHOICE(int32_t number) {
  Window& window = OpenCurrentWindow();
  if (number == 0) number = FIELD();
  Control* control = window.FindControl(number);
  return control ? control->Choice() : 0;
}

void SetProperty(int32_t number, int32_t code, std::string_view value, int32_t index) {
  Window& window = OpenCurrentWindow();
  if (number == 0) {
    SetWindowProperty(window, code, value, index);
  } else if (Control* control = window.FindControl(number)) {
    control->SetProperty(code, index, value);
  } else {
    SetMenuItemProperty(window, number, code, value);
  }
}

void SetProperty(int32_t number, int32_t code, int32_t value, int32_t index) {
  SetProperty(number, code, std::to_string(value), index);
}

std::string GetProperty(int32_t number, int32_t code, int32_t index) {
  Window& window = OpenCurrentWindow();
  if (number == 0) return WindowProperty(window, code, index);
  Control* control = window.FindControl(number);
  if (!control) return MenuItemProperty(window, number, code).value_or(std::string{});
  return control->Property(code, index).value_or(std::string{});
}

int32_t GetPropertyNumber(int32_t number, int32_t code, int32_t index) {
  return property::NumberOf(GetProperty(number, code, index));
}

}  // namespace rk
