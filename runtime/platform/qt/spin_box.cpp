#include "runtime/platform/qt/spin_box.h"

#include <QSignalBlocker>
#include <QSpinBox>

#include "runtime/platform/qt/ansi_text.h"

namespace rk::platform {
namespace {

class SpinBoxWidget : public QSpinBox, public SpinBox {
 public:
  SpinBoxWidget(QWidget& parent, std::unique_ptr<SpinPicture> picture, SpinOwner& owner, int low,
                int high)
      : QSpinBox(&parent), picture_(std::move(picture)) {
    // The range first: moving the value into it is no change the owner hears of.
    setRange(low, high);
    QObject::connect(this, &QSpinBox::valueChanged, [&owner] { owner.SpinChanged(); });
    QObject::connect(this, &QSpinBox::editingFinished, [&owner] { owner.SpinEdited(); });
  }

  QWidget& Widget() override { return *this; }
  void SetValue(int value) override {
    QSignalBlocker quiet(this);
    setValue(value);
  }
  int Value() const override { return value(); }
  void SetMinimum(int low) override { setMinimum(low); }
  void SetMaximum(int high) override { setMaximum(high); }
  int Minimum() const override { return minimum(); }
  int Maximum() const override { return maximum(); }

 protected:
  QString textFromValue(int value) const override {
    if (!picture_) return QSpinBox::textFromValue(value);
    return FromAnsi(picture_->SpinText(value));
  }

  int valueFromText(const QString& text) const override {
    if (!picture_) return QSpinBox::valueFromText(text);
    return picture_->SpinRead(ToAnsi(text)).number;
  }

  QValidator::State validate(QString& text, int& position) const override {
    if (!picture_) return QSpinBox::validate(text, position);
    SpinReading reading = picture_->SpinRead(ToAnsi(text));
    if (!reading.showable) return QValidator::Intermediate;
    return reading.number >= minimum() && reading.number <= maximum() ? QValidator::Acceptable
                                                                      : QValidator::Intermediate;
  }

 private:
  std::unique_ptr<SpinPicture> picture_;
};

}  // namespace

SpinBox* MakeSpinBox(QWidget& parent, std::unique_ptr<SpinPicture> picture, SpinOwner& owner,
                     int low, int high) {
  return new SpinBoxWidget(parent, std::move(picture), owner, low, high);
}

}  // namespace rk::platform
