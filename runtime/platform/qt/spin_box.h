// The spin box of a SPIN control. The box steps and edits a whole number; its
// owner says how a number is shown and how typed text is read (the control's
// picture), and hears of every change.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "runtime/platform/qt/control_widget.h"

namespace rk::platform {

// How typed text reads: the number it stands for, and whether the owner could
// show it at all (a text that cannot be shown is never acceptable).
struct SpinReading {
  int number = 0;
  bool showable = false;
};

// The owner's picture: numbers to text and back, both Windows-1252.
class SpinPicture {
 public:
  virtual ~SpinPicture() = default;
  virtual std::string SpinText(int value) const = 0;
  virtual SpinReading SpinRead(std::string_view typed) const = 0;
};

// What the box reports to its owner.
class SpinOwner {
 public:
  // The value changed: a step, or typed text taken.
  virtual void SpinChanged() = 0;
  // Editing finished: the focus left or Enter was pressed.
  virtual void SpinEdited() = 0;

 protected:
  ~SpinOwner() = default;
};

class SpinBox : public ControlWidget {
 public:
  // Shows a value; the owner hears nothing of it.
  virtual void SetValue(int value) = 0;
  virtual int Value() const = 0;
  virtual void SetMinimum(int low) = 0;
  virtual void SetMaximum(int high) = 0;
  virtual int Minimum() const = 0;
  virtual int Maximum() const = 0;

 protected:
  ~SpinBox() = default;
};

// A spin box over [low, high] inside `parent`, keeping the picture; without one
// (nullptr) it shows and reads plain numbers. The owner must outlive the box.
SpinBox* MakeSpinBox(QWidget& parent, std::unique_ptr<SpinPicture> picture, SpinOwner& owner,
                     int low, int high);

}  // namespace rk::platform
