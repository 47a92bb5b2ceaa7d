// OPTION and RADIO: a group of radio buttons over one variable. The variable
// holds the text of the chosen radio (without its hot-key marker); the
// option's choice is the chosen radio's place in the group, from 1.
#include "runtime/core/collation.h"
#include "runtime/platform/qt/option_box.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/window.h"

namespace rk {
namespace {

class RadioControl;

class OptionControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const platform::PixelRect& place) override {
    box_ = platform::MakeOptionBox(parent, PlainText(Text()));
    SetWidget(&box_->Widget(), place);
  }

  void AddRadio(RadioControl* radio, platform::ButtonWidget& button) {
    radios_.push_back(radio);
    box_->AddRadio(button, static_cast<int>(radios_.size()));
  }

  int32_t Choice() const override { return box_ ? box_->CheckedPlace() : 0; }

  void ShowValue() override;
  bool AcceptValue() override;
  bool TakesInput() const override { return HasVariable(); }
  // A radio of the group was pressed.
  std::vector<RaisedEvent> RadioPressed(const RadioControl& radio);

 protected:
  void ShowText() override {
    if (box_) box_->SetCaption(PlainText(Text()));
  }

 private:
  platform::OptionBox* box_ = nullptr;
  std::vector<RadioControl*> radios_;
};

class RadioControl : public Control, private platform::ButtonOwner {
 public:
  using Control::Control;

  void Create(QWidget& parent, const platform::PixelRect& place) override {
    button_ =
        platform::MakeButtonWidget(parent, platform::ButtonKind::kRadio, HotKeyText(Text()), *this);
    SetWidget(&button_->Widget(), place);
    if (auto* option = dynamic_cast<OptionControl*>(Container())) option->AddRadio(this, *button_);
  }

  // The value the option's variable takes when this radio is chosen.
  std::string AnsiValue() const { return PlainText(Text()); }
  void Check() {
    if (button_) button_->SetChecked(true);
  }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    auto* option = dynamic_cast<OptionControl*>(Container());
    if (notice != kNoticePressed || !option) return {};
    return option->RadioPressed(*this);
  }

 protected:
  void ShowText() override {
    if (button_) button_->SetCaption(HotKeyText(Text()));
  }

 private:
  void ButtonPressed() override { Notify(kNoticePressed); }

  platform::ButtonWidget* button_ = nullptr;
};

void OptionControl::ShowValue() {
  if (!HasVariable()) return;
  std::string value(ClipRight(VariableText()));
  for (RadioControl* radio : radios_) {
    if (CompareCollatedNoCase(radio->AnsiValue().c_str(), value.c_str()) == 0)
      return radio->Check();
  }
  // A value no radio holds (a blank new record) shows no choice, not the one
  // shown before.
  if (box_) box_->ClearChoice();
}

bool OptionControl::AcceptValue() {
  int32_t choice = Choice();
  if (choice >= 1 && choice <= static_cast<int32_t>(radios_.size())) {
    StoreVariableText(radios_[choice - 1]->AnsiValue());
  }
  return true;
}

std::vector<RaisedEvent> OptionControl::RadioPressed(const RadioControl& radio) {
  AcceptValue();
  return {{event::kAccepted, radio.Number()}, {event::kNewSelection, Number()}};
}

}  // namespace

std::unique_ptr<Control> MakeOptionControl(Window& window, const ControlRecord& record) {
  return std::make_unique<OptionControl>(window, record);
}

std::unique_ptr<Control> MakeRadioControl(Window& window, const ControlRecord& record) {
  return std::make_unique<RadioControl>(window, record);
}

}  // namespace rk
