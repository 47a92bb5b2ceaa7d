// STRING (a constant text), USESTRING (a variable shown through its picture)
// and PROMPT (the caption in front of a field).
#include "runtime/platform/qt/caption_widget.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"

namespace rk {
namespace {

class LabelControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const platform::PixelRect& place) override {
    label_ = platform::MakeCaptionWidget(parent, platform::CaptionKind::kLabel, "");
    ShowText();
    SetWidget(&label_->Widget(), place);
  }

  void ShowValue() override {
    if (label_ && Kind() == RecordKind::kUseString) {
      label_->SetCaption(VariableText());
    }
  }

 protected:
  void ShowText() override {
    if (label_ && Kind() != RecordKind::kUseString) label_->SetCaption(PlainText(Text()));
  }

 private:
  platform::CaptionWidget* label_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> MakeLabelControl(Window& window, const ControlRecord& record) {
  return std::make_unique<LabelControl>(window, record);
}

}  // namespace rk
