// The buttons of the window system: a push button (BUTTON), a check box (CHECK)
// and a radio button (RADIO). Each shows a caption whose "&" marks the hot key
// ("&&" is an ampersand) and tells its owner when the person presses it.
#pragma once

#include <string_view>

#include "runtime/platform/qt/control_widget.h"

namespace rk::platform {

enum class ButtonKind { kPush, kCheck, kRadio };

class ButtonOwner {
 public:
  virtual void ButtonPressed() = 0;

 protected:
  ~ButtonOwner() = default;
};

class ButtonWidget : public ControlWidget {
 public:
  // Windows-1252, with its hot-key markers.
  virtual void SetCaption(std::string_view caption) = 0;
  virtual void SetChecked(bool checked) = 0;
  virtual bool Checked() const = 0;
  // The default button of its window (Enter presses it); push buttons only.
  virtual void SetDefault(bool isDefault) = 0;
  virtual bool IsDefault() const = 0;

 protected:
  ~ButtonWidget() = default;
};

// The owner must outlive the button.
ButtonWidget* MakeButtonWidget(QWidget& parent, ButtonKind kind, std::string_view caption,
                               ButtonOwner& owner);

}  // namespace rk::platform
