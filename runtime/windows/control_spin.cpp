// SPIN: a spin box over a numeric variable. Stepping changes the variable and
// raises new selection; leaving an edited value raises accepted. The upper
// limit is property 0x7C15 (0x7C16 the lower one).
#include <QSpinBox>
#include <climits>

#include "runtime/core/value_ref.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/property_codes.h"

namespace rk {
namespace {

class SpinControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const QRect& place) override {
    spin_ = new QSpinBox(&parent);
    spin_->setRange(INT_MIN, INT_MAX);
    QObject::connect(spin_, &QSpinBox::valueChanged, [this] {
      if (!showing_) Notify(kNoticeValueChanged);
    });
    QObject::connect(spin_, &QSpinBox::editingFinished, [this] { Notify(kNoticeEdited); });
    SetWidget(spin_, place);
  }

  void ShowValue() override {
    if (!spin_ || !HasVariable()) return;
    showing_ = true;
    spin_->setValue(RefAsLong(Variable()));
    showing_ = false;
  }

  bool AcceptValue() override {
    if (spin_ && HasVariable()) {
      ValueRef variable = Variable();
      AssignLong(variable, spin_->value());
    }
    return true;
  }

  bool TakesInput() const override { return HasVariable(); }
  int32_t Choice() const override { return spin_ ? spin_->value() : 0; }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    AcceptValue();
    if (notice == kNoticeValueChanged) return {{event::kNewSelection, Number()}};
    if (notice == kNoticeEdited) return {{event::kAccepted, Number()}};
    return {};
  }

  bool SetOwnProperty(int32_t code, int32_t, std::string_view value) override {
    if (!spin_) return false;
    if (code == property::kRangeHigh) {
      spin_->setMaximum(property::NumberOf(value));
    } else if (code == property::kRangeLow) {
      spin_->setMinimum(property::NumberOf(value));
    } else {
      return false;
    }
    return true;
  }

  std::optional<std::string> OwnProperty(int32_t code, int32_t) const override {
    if (!spin_) return std::nullopt;
    if (code == property::kRangeHigh) return std::to_string(spin_->maximum());
    if (code == property::kRangeLow) return std::to_string(spin_->minimum());
    return std::nullopt;
  }

 private:
  QSpinBox* spin_ = nullptr;
  bool showing_ = false;
};

}  // namespace

std::unique_ptr<Control> MakeSpinControl(Window& window, const ControlRecord& record) {
  return std::make_unique<SpinControl>(window, record);
}

}  // namespace rk
