// GROUP: a framed box with a caption. It contains nothing: the controls drawn
// inside it are its following siblings.
#include <QGroupBox>

#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"

namespace rk {
namespace {

class GroupControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const QRect& place) override {
    box_ = new QGroupBox(PlainText(Text()), &parent);
    box_->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetWidget(box_, place);
  }

 protected:
  void ShowText() override {
    if (box_) box_->setTitle(PlainText(Text()));
  }

 private:
  QGroupBox* box_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> MakeGroupControl(Window& window, const ControlRecord& record) {
  return std::make_unique<GroupControl>(window, record);
}

}  // namespace rk
