// OPTION and RADIO: a group of radio buttons over one variable. The variable
// holds the text of the chosen radio (without its hot-key marker); the
// option's choice is the chosen radio's place in the group, from 1.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>

#include "runtime/core/collation.h"
#include "runtime/platform/qt/ansi_text.h"
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

  void Create(QWidget& parent, const QRect& place) override {
    box_ = new QGroupBox(PlainText(Text()), &parent);
    group_ = new QButtonGroup(box_);
    group_->setExclusive(true);
    SetWidget(box_, place);
  }

  void AddRadio(RadioControl* radio, QRadioButton* button) {
    radios_.push_back(radio);
    group_->addButton(button, static_cast<int>(radios_.size()));
  }

  int32_t Choice() const override { return group_ ? std::max(group_->checkedId(), 0) : 0; }

  void ShowValue() override;
  bool AcceptValue() override;
  bool TakesInput() const override { return HasVariable(); }
  // A radio of the group was pressed.
  std::vector<RaisedEvent> RadioPressed(const RadioControl& radio);

 protected:
  void ShowText() override {
    if (box_) box_->setTitle(PlainText(Text()));
  }

 private:
  QGroupBox* box_ = nullptr;
  QButtonGroup* group_ = nullptr;
  std::vector<RadioControl*> radios_;
};

class RadioControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const QRect& place) override {
    button_ = new QRadioButton(HotKeyText(Text()), &parent);
    QObject::connect(button_, &QRadioButton::clicked, [this] { Notify(kNoticePressed); });
    SetWidget(button_, place);
    if (auto* option = dynamic_cast<OptionControl*>(Container())) option->AddRadio(this, button_);
  }

  // The value the option's variable takes when this radio is chosen.
  std::string AnsiValue() const { return platform::ToAnsi(PlainText(Text())); }
  void Check() {
    if (button_) button_->setChecked(true);
  }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    auto* option = dynamic_cast<OptionControl*>(Container());
    if (notice != kNoticePressed || !option) return {};
    return option->RadioPressed(*this);
  }

 protected:
  void ShowText() override {
    if (button_) button_->setText(HotKeyText(Text()));
  }

 private:
  QRadioButton* button_ = nullptr;
};

void OptionControl::ShowValue() {
  if (!HasVariable()) return;
  std::string value(ClipRight(VariableText()));
  for (RadioControl* radio : radios_) {
    if (CompareCollatedNoCase(radio->AnsiValue().c_str(), value.c_str()) == 0)
      return radio->Check();
  }
  // A value no radio holds (a blank new record) shows no choice, not the one
  // shown before. An exclusive group never lets its last checked button go.
  if (QAbstractButton* checked = group_ ? group_->checkedButton() : nullptr) {
    group_->setExclusive(false);
    checked->setChecked(false);
    group_->setExclusive(true);
  }
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
