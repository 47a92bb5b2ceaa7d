// What every control widget of the window system has in common, seen from its
// owner in runtime/windows: the widget behind the interface of its kind, named
// only as a handle. Each kind's interface (spin box, button, caption...) derives
// from this one, and the Qt class that implements it is the widget itself, so
// deleting the widget deletes the interface too.
#pragma once

class QWidget;

namespace rk::platform {

class ControlWidget {
 public:
  // The widget, for placing, showing and focusing it (control_widget_place.h).
  virtual QWidget& Widget() = 0;

 protected:
  ~ControlWidget() = default;
};

}  // namespace rk::platform
