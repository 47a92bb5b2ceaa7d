// STRING (a constant text), USESTRING (a variable shown through its picture)
// and PROMPT (the caption in front of a field).
#include <QLabel>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"

namespace rk {
namespace {

class LabelControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const QRect& place) override {
    label_ = new QLabel(&parent);
    ShowText();
    SetWidget(label_, place);
  }

  void ShowValue() override {
    if (label_ && Kind() == RecordKind::kUseString) {
      label_->setText(platform::FromAnsi(VariableText()));
    }
  }

 protected:
  void ShowText() override {
    if (label_ && Kind() != RecordKind::kUseString) label_->setText(PlainText(Text()));
  }

 private:
  QLabel* label_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> MakeLabelControl(Window& window, const ControlRecord& record) {
  return std::make_unique<LabelControl>(window, record);
}

}  // namespace rk
