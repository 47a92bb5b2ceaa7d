// TEXT: a multi-line edit over a text variable. Every change is stored as it is
// typed, so the variable always holds what the control shows.
#include <QPlainTextEdit>

#include "runtime/platform/qt/ansi_text.h"
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
      if (!showing_) Notify(kNoticeEdited);
    });
    SetWidget(edit_, place);
  }

  void ShowValue() override {
    if (!edit_ || !HasVariable()) return;
    showing_ = true;
    edit_->setPlainText(ShownText(VariableText()));
    showing_ = false;
  }

  bool AcceptValue() override {
    if (edit_ && HasVariable()) StoreVariableText(StoredText(edit_->toPlainText()));
    return true;
  }

  bool TakesInput() const override { return HasVariable(); }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    if (notice == kNoticeEdited) AcceptValue();
    return {};
  }

 private:
  QPlainTextEdit* edit_ = nullptr;
  bool showing_ = false;
};

}  // namespace

std::unique_ptr<Control> MakeTextControl(Window& window, const ControlRecord& record) {
  return std::make_unique<TextControl>(window, record);
}

}  // namespace rk
