// The bar of a PROGRESS control: a percentage from 0 to 100, drawn without text.
#pragma once

#include "runtime/platform/qt/control_widget.h"

namespace rk::platform {

class ProgressWidget : public ControlWidget {
 public:
  // Values outside 0-100 are taken as the nearest end.
  virtual void SetPercent(int percent) = 0;
  virtual int Percent() const = 0;

 protected:
  ~ProgressWidget() = default;
};

ProgressWidget* MakeProgressWidget(QWidget& parent);

}  // namespace rk::platform
