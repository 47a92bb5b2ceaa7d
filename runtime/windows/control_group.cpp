// GROUP: a framed box with a caption. It contains nothing: the controls drawn
// inside it are its following siblings.
#include "runtime/platform/qt/caption_widget.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"

namespace rk {
namespace {

class GroupControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const platform::PixelRect& place) override {
    box_ = platform::MakeCaptionWidget(parent, platform::CaptionKind::kGroupBox, PlainText(Text()));
    SetWidget(&box_->Widget(), place);
  }

 protected:
  void ShowText() override {
    if (box_) box_->SetCaption(PlainText(Text()));
  }

 private:
  platform::CaptionWidget* box_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> MakeGroupControl(Window& window, const ControlRecord& record) {
  return std::make_unique<GroupControl>(window, record);
}

}  // namespace rk
