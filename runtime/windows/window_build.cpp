#include "runtime/windows/window_build.h"

#include <memory>

#include "runtime/platform/qt/window_shell.h"
#include "runtime/windows/accessible_names.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/window.h"

namespace rk {
namespace {

platform::PixelRect PlaceOf(const Window& window, const ControlRecord& record) {
  Position pixels = ToPixels(record.at, window.scale);
  return {pixels[0], pixels[1], pixels[2], pixels[3]};
}

void BuildChain(Window& window, const std::vector<ControlRecord>& records, Control* container) {
  QWidget& client = *window.shell->Client();
  for (const ControlRecord& record : records) {
    std::unique_ptr<Control> control = MakeControl(window, record);
    if (!control) continue;  // a kind without constructor, and what it would contain
    Control* made = control.get();
    made->SetContainer(container);
    window.controls.push_back(std::move(control));
    made->Create(client, PlaceOf(window, record));
    BuildChain(window, record.children, made);
  }
}

}  // namespace

void BuildControls(Window& window) {
  BuildChain(window, window.definition.controls, nullptr);
  NameControlsForAssistiveTools(window);
  for (const std::unique_ptr<Control>& control : window.controls) {
    control->ShowValue();
    control->RefreshVisibility();
  }
}

}  // namespace rk
