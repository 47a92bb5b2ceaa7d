#include "runtime/platform/qt/text_edit_widget.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>

#include "runtime/platform/qt/ansi_text.h"

namespace rk::platform {
namespace {

class TextEdit : public QPlainTextEdit, public TextEditWidget {
 public:
  TextEdit(QWidget& parent, bool readOnly, TextEditOwner& owner)
      : QPlainTextEdit(&parent), owner_(owner) {
    setReadOnly(readOnly);
    QObject::connect(this, &QPlainTextEdit::textChanged, [this] {
      if (!showing_) Changed();
    });
  }

  QWidget& Widget() override { return *this; }
  void ShowText(std::string_view text) override { Show(FromAnsi(text), 0); }
  std::string Text() const override { return ToAnsi(toPlainText()); }

 private:
  void Show(const QString& text, int caret) {
    showing_ = true;
    setPlainText(text);
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(caret, 0, static_cast<int>(text.size())));
    setTextCursor(cursor);
    showing_ = false;
    accepted_ = text;
  }

  void Changed() {
    const QString text = toPlainText();
    if (!owner_.TextChanged(ToAnsi(text))) {
      const int caret = textCursor().position() - static_cast<int>(text.size() - accepted_.size());
      Show(accepted_, caret);
      return;
    }
    accepted_ = text;
  }

  TextEditOwner& owner_;
  bool showing_ = false;
  QString accepted_;  // the text as last shown or taken
};

}  // namespace

TextEditWidget* MakeTextEditWidget(QWidget& parent, bool readOnly, TextEditOwner& owner) {
  return new TextEdit(parent, readOnly, owner);
}

}  // namespace rk::platform
