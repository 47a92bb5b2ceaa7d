#include "runtime/windows/control.h"

#include "runtime/core/picture.h"
#include "runtime/core/picture_format.h"
#include "runtime/core/value_stack.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/definition_flags.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_font.h"
#include "runtime/windows/window_registry.h"

namespace rk {
namespace {

constexpr int kMaxAlertSlot = 255;

std::string FlagText(bool flag) {
  return flag ? "1" : "0";
}

}  // namespace

Control::Control(Window& window, const ControlRecord& record)
    : window_(window),
      record_(record),
      id_(RegisterControl(this)),
      text_(record.text),
      disabled_((record.flags & control_flag::kDisable) != 0),
      hidden_((record.flags & control_flag::kHide) != 0),
      status_(record.status) {}

Control::~Control() {
  UnregisterControl(id_);
  widget_.Delete();
}

std::vector<RaisedEvent> Control::OnNotice(int64_t) {
  return {};
}

void Control::Notify(int64_t notice) const {
  platform::FiberId fiber = FiberOfThread(window_.thread);
  if (fiber != 0) {
    platform::TheScheduler().Post(fiber, {platform::MessageKind::kCommand, id_, notice, nullptr});
  }
}

bool Control::SetOwnProperty(int32_t, int32_t, std::string_view) {
  return false;
}

std::optional<std::string> Control::OwnProperty(int32_t, int32_t) const {
  return std::nullopt;
}

void Control::SetWidget(QWidget* widget, const platform::PixelRect& place) {
  widget_.Hold(widget);
  platform::PlaceControlWidget(*widget, place, FontFrom(record_.font, window_.font),
                               record_.tooltip, !disabled_, FiberOfThread(window_.thread), id_);
}

void Control::SetText(std::string_view text) {
  text_ = text;
  ShowText();
}

void Control::SetDisabled(bool disabled) {
  disabled_ = disabled;
  if (QWidget* widget = widget_.Get()) platform::EnableWidget(*widget, !disabled);
}

void Control::SetHidden(bool hidden) {
  hidden_ = hidden;
  RefreshVisibility();
}

bool Control::Shown() const {
  return !hidden_ && !concealed_ && (!container_ || container_->Shown());
}

void Control::RefreshVisibility() {
  if (QWidget* widget = widget_.Get()) platform::ShowWidget(*widget, Shown());
}

void Control::BringIntoView() {
  const Control* inner = this;
  for (Control* container = container_; container; container = container->Container()) {
    container->RevealChild(*inner);
    inner = container;
  }
}

void Control::RevealChild(const Control&) {}

bool Control::HasAlertKey(int32_t keyCode) const {
  for (const auto& [slot, code] : alertKeys_) {
    if (code == keyCode) return true;
  }
  return false;
}

bool Control::SetProperty(int32_t code, int32_t index, std::string_view value) {
  if (SetOwnProperty(code, index, value)) return true;
  switch (code) {
    case property::kText:
      SetText(value);
      return true;
    case property::kDisabled:
      SetDisabled(property::NumberOf(value) != 0);
      return true;
    case property::kHidden:
      SetHidden(property::NumberOf(value) != 0);
      return true;
    case property::kStatusMessage:
      status_ = value;
      return true;
    case property::kAlertKeys:
      if (index < 1 || index > kMaxAlertSlot) return false;
      if (int32_t key = property::NumberOf(value)) {
        alertKeys_[index] = key;
      } else {
        alertKeys_.erase(index);
      }
      return true;
    default:
      return false;
  }
}

std::optional<std::string> Control::Property(int32_t code, int32_t index) const {
  if (std::optional<std::string> own = OwnProperty(code, index)) return own;
  switch (code) {
    case property::kText:
      return text_;
    case property::kDisabled:
      return FlagText(disabled_);
    case property::kHidden:
      return FlagText(hidden_);
    case property::kStatusMessage:
      return status_;
    case property::kAlertKeys: {
      auto it = alertKeys_.find(index);
      return std::to_string(it == alertKeys_.end() ? 0 : it->second);
    }
    default:
      return std::nullopt;
  }
}

bool Control::HasVariable() const {
  return record_.use && record_.use->binding.kind == BindingKind::kVariable &&
         record_.use->binding.address != nullptr;
}

ValueRef Control::Variable() const {
  if (!HasVariable()) return {};
  const DataDescriptor& use = *record_.use;
  return MakeValueRef(use.type, use.size, use.places, use.binding.address);
}

std::string Control::VariableText() const {
  if (!HasVariable()) return {};
  ValueRef ref = Variable();
  std::string value;
  if (IsTextType(ref.Type())) {
    value = RefText(ref);
  } else {
    PushRef(ref);
    value = Values().PopString();
  }
  return record_.picture.empty() ? value : FormatText(value, record_.picture);
}

void Control::StoreVariableText(std::string_view text) {
  // A string picture shows the text as it is; the other pictures are read back
  // into the value they show.
  CompiledPicture picture;
  bool asTyped = record_.picture.empty() || CompilePicture(record_.picture, picture) == 0 ||
                 picture.Kind() == PictureKind::kString;
  StoreVariableValue(asTyped ? std::string(text) : Deformat(text, &picture));
}

void Control::StoreVariableValue(std::string_view value) {
  if (!HasVariable()) return;
  ValueRef ref = Variable();
  Values().PushCopy(value);
  AssignText(ref);
}

}  // namespace rk
