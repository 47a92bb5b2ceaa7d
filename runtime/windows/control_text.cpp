// TEXT: a multi-line edit over a text variable. Every change is stored as it is
// typed, so the variable always holds what the control shows. A change that
// would not fit in the variable (lines stored with CR LF) is refused with a
// beep and the text stays as it was: nothing typed is silently cut off.
#include <string>

#include "runtime/core/type_codes.h"
#include "runtime/core/value_stack.h"
#include "runtime/platform/qt/beep.h"
#include "runtime/platform/qt/text_edit_widget.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/definition_flags.h"

namespace rk {
namespace {

std::string Replaced(std::string_view text, std::string_view from, std::string_view to) {
  std::string result;
  size_t at = 0;
  for (size_t found = text.find(from); found != std::string_view::npos;
       found = text.find(from, at)) {
    result.append(text, at, found - at).append(to);
    at = found + from.size();
  }
  return result.append(text.substr(at));
}

// Stored texts break lines with CR LF, the editor with LF alone.
std::string ShownText(std::string_view stored) {
  return Replaced(ClipRight(stored), "\r\n", "\n");
}

std::string StoredText(std::string_view shown) {
  return Replaced(shown, "\n", "\r\n");
}

class TextControl : public Control, private platform::TextEditOwner {
 public:
  using Control::Control;

  void Create(QWidget& parent, const platform::PixelRect& place) override {
    edit_ = platform::MakeTextEditWidget(parent, (Record().flags & control_flag::kReadOnly) != 0,
                                         *this);
    SetWidget(&edit_->Widget(), place);
  }

  void ShowValue() override {
    if (!edit_ || !HasVariable()) return;
    edit_->ShowText(ShownText(VariableText()));
  }

  bool AcceptValue() override {
    if (edit_ && HasVariable()) Store(StoredText(edit_->Text()));
    return true;
  }

  bool TakesInput() const override { return HasVariable(); }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    if (notice == kNoticeEdited) AcceptValue();
    return {};
  }

 private:
  // A memo is a fixed text area, which takes no assignment of a value: its
  // bytes are written directly, space padded like a STRING.
  void Store(const std::string& text) {
    ValueRef memo = Variable();
    if (memo.Type() != kTextArea) return StoreVariableText(text);
    Values().PushCopy(text);
    Values().PopToField(static_cast<char*>(memo.address), memo.Size());
  }

  // A change the variable has room for is posted; one it has no room for is
  // refused, and the widget takes it back.
  bool TextChanged(std::string_view text) override {
    if (HasVariable() && StoredText(text).size() > Variable().Size()) {
      platform::Beep();
      return false;
    }
    Notify(kNoticeEdited);
    return true;
  }

  platform::TextEditWidget* edit_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> MakeTextControl(Window& window, const ControlRecord& record) {
  return std::make_unique<TextControl>(window, record);
}

}  // namespace rk
