#include "runtime/platform/qt/progress_widget.h"

#include <QProgressBar>
#include <algorithm>

namespace rk::platform {
namespace {

constexpr int kFull = 100;

class ProgressBar : public QProgressBar, public ProgressWidget {
 public:
  explicit ProgressBar(QWidget& parent) : QProgressBar(&parent) {
    setRange(0, kFull);
    setValue(0);
    setTextVisible(false);
  }
  QWidget& Widget() override { return *this; }
  void SetPercent(int percent) override { setValue(std::clamp(percent, 0, kFull)); }
  int Percent() const override { return value(); }
};

}  // namespace

ProgressWidget* MakeProgressWidget(QWidget& parent) {
  return new ProgressBar(parent);
}

}  // namespace rk::platform
