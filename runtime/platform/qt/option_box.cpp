#include "runtime/platform/qt/option_box.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <algorithm>

#include "runtime/platform/qt/ansi_text.h"

namespace rk::platform {
namespace {

class OptionGroupBox : public QGroupBox, public OptionBox {
 public:
  OptionGroupBox(QWidget& parent, std::string_view caption)
      : QGroupBox(FromAnsi(caption), &parent), group_(new QButtonGroup(this)) {
    group_->setExclusive(true);
  }

  QWidget& Widget() override { return *this; }
  void SetCaption(std::string_view caption) override { setTitle(FromAnsi(caption)); }

  void AddRadio(ButtonWidget& radio, int place) override {
    if (auto* button = dynamic_cast<QAbstractButton*>(&radio.Widget())) {
      group_->addButton(button, place);
    }
  }

  int CheckedPlace() const override { return std::max(group_->checkedId(), 0); }

  // An exclusive group never lets its last checked button go.
  void ClearChoice() override {
    QAbstractButton* checked = group_->checkedButton();
    if (!checked) return;
    group_->setExclusive(false);
    checked->setChecked(false);
    group_->setExclusive(true);
  }

 private:
  QButtonGroup* group_;
};

}  // namespace

OptionBox* MakeOptionBox(QWidget& parent, std::string_view caption) {
  return new OptionGroupBox(parent, caption);
}

}  // namespace rk::platform
