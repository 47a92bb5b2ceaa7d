// PROGRESS: a progress bar showing its variable, a percentage from 0 to 100.
#include "runtime/core/value_ref.h"
#include "runtime/platform/qt/progress_widget.h"
#include "runtime/windows/control_factory.h"

namespace rk {
namespace {

class ProgressControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const platform::PixelRect& place) override {
    bar_ = platform::MakeProgressWidget(parent);
    SetWidget(&bar_->Widget(), place);
  }

  void ShowValue() override {
    if (bar_ && HasVariable()) bar_->SetPercent(RefAsLong(Variable()));
  }

  int32_t Choice() const override { return bar_ ? bar_->Percent() : 0; }

 private:
  platform::ProgressWidget* bar_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> MakeProgressControl(Window& window, const ControlRecord& record) {
  return std::make_unique<ProgressControl>(window, record);
}

}  // namespace rk
