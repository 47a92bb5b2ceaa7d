// BUTTON: a push button; pressing it raises the accepted event.
#include <QPushButton>

#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/definition_flags.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/property_codes.h"

namespace rk {
namespace {

class ButtonControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const QRect& place) override {
    button_ = new QPushButton(HotKeyText(Text()), &parent);
    button_->setDefault((Record().flags & control_flag::kDefault) != 0);
    QObject::connect(button_, &QPushButton::clicked, [this] { Notify(kNoticePressed); });
    SetWidget(button_, place);
  }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    if (notice != kNoticePressed) return {};
    return {{event::kAccepted, Number()}};
  }

  bool SetOwnProperty(int32_t code, int32_t, std::string_view value) override {
    if (code != property::kDefaultButton || !button_) return false;
    button_->setDefault(value != "0" && !value.empty());
    return true;
  }

  std::optional<std::string> OwnProperty(int32_t code, int32_t) const override {
    if (code != property::kDefaultButton || !button_) return std::nullopt;
    return button_->isDefault() ? "1" : "0";
  }

 protected:
  void ShowText() override {
    if (button_) button_->setText(HotKeyText(Text()));
  }

 private:
  QPushButton* button_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> MakeButtonControl(Window& window, const ControlRecord& record) {
  return std::make_unique<ButtonControl>(window, record);
}

}  // namespace rk
