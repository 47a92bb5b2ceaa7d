// PROGRESS: a progress bar showing its variable, a percentage from 0 to 100.
#include <QProgressBar>
#include <algorithm>

#include "runtime/core/value_ref.h"
#include "runtime/windows/control_factory.h"

namespace rk {
namespace {

constexpr int kFull = 100;

class ProgressControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const QRect& place) override {
    bar_ = new QProgressBar(&parent);
    bar_->setRange(0, kFull);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    SetWidget(bar_, place);
  }

  void ShowValue() override {
    if (bar_ && HasVariable()) bar_->setValue(std::clamp(RefAsLong(Variable()), 0, kFull));
  }

  int32_t Choice() const override { return bar_ ? bar_->value() : 0; }

 private:
  QProgressBar* bar_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> MakeProgressControl(Window& window, const ControlRecord& record) {
  return std::make_unique<ProgressControl>(window, record);
}

}  // namespace rk
