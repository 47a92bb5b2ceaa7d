// CHECK: a check box over a variable that holds 1 when checked and 0 when not.
#include <QCheckBox>

#include "runtime/core/value_ref.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/event_codes.h"

namespace rk {
namespace {

class CheckControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const QRect& place) override {
    box_ = new QCheckBox(HotKeyText(Text()), &parent);
    QObject::connect(box_, &QCheckBox::clicked, [this] { Notify(kNoticePressed); });
    SetWidget(box_, place);
  }

  void ShowValue() override {
    if (box_ && HasVariable()) box_->setChecked(IsTrue(Variable()));
  }

  bool AcceptValue() override {
    if (box_ && HasVariable()) {
      ValueRef variable = Variable();
      AssignLong(variable, box_->isChecked() ? 1 : 0);
    }
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
    if (box_) box_->setText(HotKeyText(Text()));
  }

 private:
  QCheckBox* box_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> MakeCheckControl(Window& window, const ControlRecord& record) {
  return std::make_unique<CheckControl>(window, record);
}

}  // namespace rk
