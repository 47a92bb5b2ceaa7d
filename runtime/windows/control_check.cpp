// CHECK: a check box over a variable. Checking stores "1" and unchecking "0":
// one character each, so the same values serve a STRING(1) flag and a numeric
// variable alike. The box shows checked only when the variable holds the
// checked value, so a blank flag (a new record) shows unchecked.
#include <string_view>

#include "runtime/platform/qt/button_widget.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/event_codes.h"

namespace rk {
namespace {

constexpr std::string_view kCheckedValue = "1";
constexpr std::string_view kUncheckedValue = "0";

class CheckControl : public Control, private platform::ButtonOwner {
 public:
  using Control::Control;

  void Create(QWidget& parent, const platform::PixelRect& place) override {
    box_ =
        platform::MakeButtonWidget(parent, platform::ButtonKind::kCheck, HotKeyText(Text()), *this);
    SetWidget(&box_->Widget(), place);
  }

  void ShowValue() override {
    if (box_ && HasVariable()) box_->SetChecked(ClipBoth(VariableText()) == kCheckedValue);
  }

  bool AcceptValue() override {
    if (box_ && HasVariable())
      StoreVariableValue(box_->Checked() ? kCheckedValue : kUncheckedValue);
    return true;
  }

  bool TakesInput() const override { return HasVariable(); }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    if (notice != kNoticePressed) return {};
    AcceptValue();
    return {{event::kAccepted, Number()}};
  }

 protected:
  void ShowText() override {
    if (box_) box_->SetCaption(HotKeyText(Text()));
  }

 private:
  void ButtonPressed() override { Notify(kNoticePressed); }

  platform::ButtonWidget* box_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> MakeCheckControl(Window& window, const ControlRecord& record) {
  return std::make_unique<CheckControl>(window, record);
}

}  // namespace rk
