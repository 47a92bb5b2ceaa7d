// The framed box of an OPTION control and the exclusive group of its radio
// buttons: checking one unchecks the others.
#pragma once

#include <string_view>

#include "runtime/platform/qt/button_widget.h"
#include "runtime/platform/qt/control_widget.h"

namespace rk::platform {

class OptionBox : public ControlWidget {
 public:
  // Windows-1252, shown as it is.
  virtual void SetCaption(std::string_view caption) = 0;
  // Takes a radio button (ButtonKind::kRadio) into the group as number `place`.
  virtual void AddRadio(ButtonWidget& radio, int place) = 0;
  // The number of the checked radio; 0 when none is.
  virtual int CheckedPlace() const = 0;
  // Leaves no radio checked, which the group alone would never allow.
  virtual void ClearChoice() = 0;

 protected:
  ~OptionBox() = default;
};

OptionBox* MakeOptionBox(QWidget& parent, std::string_view caption);

}  // namespace rk::platform
