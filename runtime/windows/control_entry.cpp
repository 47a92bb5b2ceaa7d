// ENTRY: an edit field over a variable, shown through the field's picture.
// Leaving the field after a change stores the value and raises accepted. A
// required field (flag REQUIRED) that is blank is not acceptable.
//
// The widget here is a plain line edit; the runtime's own drawn entry replaces it.
#include <QLineEdit>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/definition_flags.h"
#include "runtime/windows/event_codes.h"

namespace rk {
namespace {

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

class EntryControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const QRect& place) override {
    edit_ = new QLineEdit(&parent);
    edit_->setReadOnly((Record().flags & control_flag::kReadOnly) != 0);
    QObject::connect(edit_, &QLineEdit::editingFinished, [this] {
      if (edit_->isModified()) Notify(kNoticeEdited);
    });
    SetWidget(edit_, place);
  }

  void ShowValue() override {
    if (!edit_ || !HasVariable()) return;
    edit_->setText(platform::FromAnsi(VariableText()));
    edit_->setModified(false);
  }

  bool AcceptValue() override {
    if (!edit_ || !HasVariable()) return true;
    std::string text = platform::ToAnsi(edit_->text());
    if ((Record().flags & control_flag::kRequired) && IsBlank(text)) return false;
    if (Record().flags & control_flag::kUpper) text = platform::ToAnsi(edit_->text().toUpper());
    StoreVariableText(text);
    edit_->setModified(false);
    return true;
  }

  bool TakesInput() const override { return HasVariable() && !edit_->isReadOnly(); }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    if (notice != kNoticeEdited || !AcceptValue()) return {};
    ShowValue();
    return {{event::kAccepted, Number()}};
  }

 private:
  QLineEdit* edit_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> MakeEntryControl(Window& window, const ControlRecord& record) {
  return std::make_unique<EntryControl>(window, record);
}

}  // namespace rk
