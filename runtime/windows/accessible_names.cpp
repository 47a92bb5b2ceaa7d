#include "runtime/windows/accessible_names.h"

#include <memory>

#include "runtime/windows/control.h"
#include "runtime/windows/window.h"

namespace rk {
namespace {

bool NamedByOwnText(RecordKind kind) {
  switch (kind) {
    case RecordKind::kButton:
    case RecordKind::kCheck:
    case RecordKind::kRadio:
    case RecordKind::kGroup:
    case RecordKind::kOption:
    case RecordKind::kTab:
    case RecordKind::kPrompt:
    case RecordKind::kString:
      return true;
    default:
      return false;
  }
}

bool NamedByPrompt(RecordKind kind) {
  switch (kind) {
    case RecordKind::kEntry:
    case RecordKind::kList:
    case RecordKind::kSpin:
    case RecordKind::kText:
      return true;
    default:
      return false;
  }
}

// A field's name when no prompt stands before it.
std::string FallbackName(const Control& control, const Window& window) {
  const ControlRecord& record = control.Record();
  if (!record.status.empty()) return record.status;
  if (!record.tooltip.empty()) return record.tooltip;
  if (record.kind == RecordKind::kList) return window.title;
  return {};
}

void Name(const Control& control, const std::string& name) {
  std::string spoken = WithoutShortcutMarks(name);
  if (control.Widget() != nullptr && !spoken.empty()) {
    platform::SetAccessibleName(*control.Widget(), spoken);
  }
}

}  // namespace

std::string WithoutShortcutMarks(std::string_view text) {
  std::string spoken;
  for (size_t i = 0; i < text.size(); ++i) {
    // After a mark the next character stands as written, even another "&".
    if (text[i] == '&' && ++i == text.size()) break;
    spoken += text[i];
  }
  return spoken;
}

void NameControlsForAssistiveTools(Window& window) {
  std::string prompt;  // the text of the prompt waiting for its field
  for (const std::unique_ptr<Control>& control : window.controls) {
    RecordKind kind = control->Kind();
    if (NamedByOwnText(kind)) Name(*control, control->Record().text);
    if (kind == RecordKind::kPrompt) {
      prompt = control->Record().text;
    } else if (NamedByPrompt(kind)) {
      Name(*control, !prompt.empty() ? prompt : FallbackName(*control, window));
      prompt.clear();
    }
  }
}

}  // namespace rk
