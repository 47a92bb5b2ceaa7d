#include "runtime/platform/qt/button_widget.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <type_traits>

#include "runtime/platform/qt/ansi_text.h"

namespace rk::platform {
namespace {

template <class QtButton>
class Button : public QtButton, public ButtonWidget {
 public:
  Button(QWidget& parent, std::string_view caption, ButtonOwner& owner)
      : QtButton(FromAnsi(caption), &parent) {
    QObject::connect(this, &QAbstractButton::clicked, [&owner] { owner.ButtonPressed(); });
  }

  QWidget& Widget() override { return *this; }
  void SetCaption(std::string_view caption) override { this->setText(FromAnsi(caption)); }
  void SetChecked(bool checked) override { this->setChecked(checked); }
  bool Checked() const override { return this->isChecked(); }

  void SetDefault(bool isDefault) override {
    if constexpr (std::is_same_v<QtButton, QPushButton>) this->setDefault(isDefault);
  }

  bool IsDefault() const override {
    if constexpr (std::is_same_v<QtButton, QPushButton>) return this->isDefault();
    return false;
  }
};

}  // namespace

ButtonWidget* MakeButtonWidget(QWidget& parent, ButtonKind kind, std::string_view caption,
                               ButtonOwner& owner) {
  switch (kind) {
    case ButtonKind::kCheck:
      return new Button<QCheckBox>(parent, caption, owner);
    case ButtonKind::kRadio:
      return new Button<QRadioButton>(parent, caption, owner);
    case ButtonKind::kPush:
      break;
  }
  return new Button<QPushButton>(parent, caption, owner);
}

}  // namespace rk::platform
