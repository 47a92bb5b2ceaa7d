// The runtime control object, built from a control record of a window
// definition. The base keeps what every kind shares (number, flags, text,
// bound variable, enabled and hidden state, status message, alert keys) and
// each kind supplies its operations: create its widget, show the variable's
// value, accept (validate the entry and store it), react to its widget's
// notices, and its own properties and choice.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/core/value_ref.h"
#include "runtime/platform/qt/control_widget_place.h"
#include "runtime/windows/definition_tree.h"

namespace rk {

class Window;

// An event a control raises in answer to a notice of its widget.
struct RaisedEvent {
  int32_t code = 0;
  int32_t control = 0;    // the number of the control it is for
  int32_t keyCode = 0;    // an alert-key event's key code (a right click: 2)
  uint8_t character = 0;  // the character that key typed, 0 for none
  bool operator==(const RaisedEvent&) const = default;
};

// What a control's widget reports through kCommand messages (the param).
enum ControlNotice : int64_t {
  kNoticePressed = 1,       // a button, radio or check was clicked
  kNoticeEdited = 2,        // an entry or text finished editing
  kNoticeValueChanged = 3,  // a spin box or drop list changed its value
  kNoticeTabChanged = 4,    // a sheet shows another tab
};

class Control {
 public:
  Control(Window& window, const ControlRecord& record);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Window& OwnerWindow() const { return window_; }
  const ControlRecord& Record() const { return record_; }
  RecordKind Kind() const { return record_.kind; }
  int32_t Number() const { return record_.number; }
  bool IsNumbered() const { return record_.number != 0; }
  uint32_t Id() const { return id_; }
  // The platform widget, a handle for the platform calls (and for the tests).
  QWidget* Widget() const { return widget_.Get(); }
  // The control that contains this one (a TAB, an OPTION), or nullptr.
  Control* Container() const { return container_; }
  void SetContainer(Control* container) { container_ = container; }

  // --- Operations per kind ---
  // Builds the widget inside `parent` at `place` (pixels; width or height 0 means
  // the natural size).
  virtual void Create(QWidget& parent, const platform::PixelRect& place) = 0;
  // DISPLAY: shows the bound variable's current value.
  virtual void ShowValue() {}
  // Validates what the user entered and stores it in the variable; false when it
  // is not acceptable (the control keeps the focus).
  virtual bool AcceptValue() { return true; }
  // A container shows `child`, one of the controls it holds (a tab asks its
  // sheet to turn to it).
  virtual void RevealChild(const Control& child);
  // The control refused its value and is about to take the focus back: a field
  // selects what the person typed, ready to be corrected or typed over.
  virtual void SelectForCorrection() {}
  // Whether the control takes part in the validation pass.
  virtual bool TakesInput() const { return false; }
  // A notice from the widget; returns the events it raises, in order.
  virtual std::vector<RaisedEvent> OnNotice(int64_t notice);
  // The thread is about to wait for its next message: a chance to show what
  // changed underneath the control (a list's queue).
  virtual void BeforeWait() {}
  // The kind's current value: the selected row, tab or radio; 0 when none.
  virtual int32_t Choice() const { return 0; }
  // Properties the kind handles itself; false / nothing for the others.
  virtual bool SetOwnProperty(int32_t code, int32_t index, std::string_view value);
  virtual std::optional<std::string> OwnProperty(int32_t code, int32_t index) const;

  // --- Shared properties ---
  bool SetProperty(int32_t code, int32_t index, std::string_view value);
  std::optional<std::string> Property(int32_t code, int32_t index) const;
  const std::string& Text() const { return text_; }
  void SetText(std::string_view text);
  bool Disabled() const { return disabled_; }
  bool Hidden() const { return hidden_; }
  void SetDisabled(bool disabled);
  void SetHidden(bool hidden);
  // Shown unless hidden itself, concealed (a tab that is not selected) or inside
  // a container that is not shown.
  bool Shown() const;
  void SetConcealed(bool concealed) { concealed_ = concealed; }
  // Shows or hides the widget as Shown() says.
  void RefreshVisibility();
  // Makes the containers show this control: a sheet turns to the tab that
  // holds it. Called before the control takes the focus.
  void BringIntoView();
  bool Active() const { return !disabled_ && !hidden_; }
  bool HasAlertKey(int32_t keyCode) const;

  // The bound variable, if the control has one.
  bool HasVariable() const;
  ValueRef Variable() const;
  // The variable's value formatted by the control's picture (or plainly).
  std::string VariableText() const;
  // Deformats `text` by the picture and stores it into the variable.
  void StoreVariableText(std::string_view text);
  // Stores a value that is already deformatted (digits, day number, plain text).
  void StoreVariableValue(std::string_view value);

 protected:
  void SetWidget(QWidget* widget, const platform::PixelRect& place);
  // Posts a notice about this control to its thread (called from widget signals).
  void Notify(int64_t notice) const;
  // Applies the text to the widget.
  virtual void ShowText() {}

 private:
  Window& window_;
  const ControlRecord& record_;
  uint32_t id_;
  platform::WidgetHolder widget_;
  Control* container_ = nullptr;
  std::string text_;
  bool disabled_ = false;
  bool hidden_ = false;
  bool concealed_ = false;
  std::string status_;
  std::map<int32_t, int32_t> alertKeys_;  // slot -> key code
};

}  // namespace rk
