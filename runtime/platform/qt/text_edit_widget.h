// The multi-line edit of a TEXT control. Its owner decides on every change the
// person makes: a change it does not take is undone at once, the caret where
// the change began. Texts are Windows-1252 with lines broken by LF alone.
#pragma once

#include <string>
#include <string_view>

#include "runtime/platform/qt/control_widget.h"

namespace rk::platform {

class TextEditOwner {
 public:
  // The person changed the text; false undoes the change.
  virtual bool TextChanged(std::string_view text) = 0;

 protected:
  ~TextEditOwner() = default;
};

class TextEditWidget : public ControlWidget {
 public:
  // Shows the text with the caret at its start; the owner hears nothing of it.
  virtual void ShowText(std::string_view text) = 0;
  virtual std::string Text() const = 0;

 protected:
  ~TextEditWidget() = default;
};

// The owner must outlive the edit.
TextEditWidget* MakeTextEditWidget(QWidget& parent, bool readOnly, TextEditOwner& owner);

}  // namespace rk::platform
