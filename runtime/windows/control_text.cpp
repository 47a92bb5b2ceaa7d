// TEXT: a multi-line edit over a text variable. Every change is stored as it is
// typed, so the variable always holds what the control shows. A change that
// would not fit in the variable (lines stored with CR LF) is refused with a
// beep and the text stays as it was: nothing typed is silently cut off.
#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>

#include "runtime/core/type_codes.h"
#include "runtime/core/value_stack.h"
#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/beep.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/definition_flags.h"

namespace rk {
namespace {

// Stored texts break lines with CR LF, the editor with LF alone.
QString ShownText(std::string_view stored) {
  return platform::FromAnsi(ClipRight(stored)).replace("\r\n", "\n");
}

std::string StoredText(const QString& shown) {
  return platform::ToAnsi(QString(shown).replace("\n", "\r\n"));
}

class TextControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const QRect& place) override {
    edit_ = new QPlainTextEdit(&parent);
    edit_->setReadOnly((Record().flags & control_flag::kReadOnly) != 0);
    QObject::connect(edit_, &QPlainTextEdit::textChanged, [this] {
      if (!showing_) Changed();
    });
    SetWidget(edit_, place);
  }

  void ShowValue() override {
    if (!edit_ || !HasVariable()) return;
    Show(ShownText(VariableText()), 0);
  }

  bool AcceptValue() override {
    if (edit_ && HasVariable()) Store(StoredText(edit_->toPlainText()));
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

  void Show(const QString& text, int caret) {
    showing_ = true;
    edit_->setPlainText(text);
    QTextCursor cursor = edit_->textCursor();
    cursor.setPosition(std::clamp(caret, 0, static_cast<int>(text.size())));
    edit_->setTextCursor(cursor);
    showing_ = false;
    accepted_ = text;
  }

  // Widget side: a change the variable has room for is posted; one it has no
  // room for is taken back, the caret where the change began.
  void Changed() {
    const QString text = edit_->toPlainText();
    if (HasVariable() && StoredText(text).size() > Variable().Size()) {
      platform::Beep();
      const int caret =
          edit_->textCursor().position() - static_cast<int>(text.size() - accepted_.size());
      Show(accepted_, caret);
      return;
    }
    accepted_ = text;
    Notify(kNoticeEdited);
  }

  QPlainTextEdit* edit_ = nullptr;
  bool showing_ = false;
  QString accepted_;  // the text as last shown or accepted
};

}  // namespace

std::unique_ptr<Control> MakeTextControl(Window& window, const ControlRecord& record) {
  return std::make_unique<TextControl>(window, record);
}

}  // namespace rk
