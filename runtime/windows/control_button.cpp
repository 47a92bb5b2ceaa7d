// BUTTON: a push button; pressing it raises the accepted event.
#include "runtime/platform/qt/button_widget.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/definition_flags.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/property_codes.h"

namespace rk {
namespace {

class ButtonControl : public Control, private platform::ButtonOwner {
 public:
  using Control::Control;

  void Create(QWidget& parent, const platform::PixelRect& place) override {
    button_ =
        platform::MakeButtonWidget(parent, platform::ButtonKind::kPush, HotKeyText(Text()), *this);
    button_->SetDefault((Record().flags & control_flag::kDefault) != 0);
    SetWidget(&button_->Widget(), place);
  }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    if (notice != kNoticePressed) return {};
    return {{event::kAccepted, Number()}};
  }

  bool SetOwnProperty(int32_t code, int32_t, std::string_view value) override {
    if (code != property::kDefaultButton || !button_) return false;
    button_->SetDefault(value != "0" && !value.empty());
    return true;
  }

  std::optional<std::string> OwnProperty(int32_t code, int32_t) const override {
    if (code != property::kDefaultButton || !button_) return std::nullopt;
    return button_->IsDefault() ? "1" : "0";
  }

 protected:
  void ShowText() override {
    if (button_) button_->SetCaption(HotKeyText(Text()));
  }

 private:
  void ButtonPressed() override { Notify(kNoticePressed); }

  platform::ButtonWidget* button_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> MakeButtonControl(Window& window, const ControlRecord& record) {
  return std::make_unique<ButtonControl>(window, record);
}

}  // namespace rk
