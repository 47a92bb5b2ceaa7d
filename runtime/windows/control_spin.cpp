// SPIN: a spin box over a numeric variable, shown through its picture. Stepping
// changes the variable and raises new selection; leaving an edited value raises
// accepted. The range starts as wide as the picture can show (the largest run of
// nines it takes; negative too when it shows a sign) and the procedure narrows
// it through property 0x7C15 (upper limit) and 0x7C16 (lower limit).
#include <QSpinBox>
#include <climits>
#include <cstdlib>

#include "runtime/core/picture.h"
#include "runtime/core/picture_format.h"
#include "runtime/core/picture_typed_text.h"
#include "runtime/core/value_ref.h"
#include "runtime/platform/qt/ansi_text.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/property_codes.h"

namespace rk {
namespace {

struct SpinRange {
  int low = INT_MIN;
  int high = INT_MAX;
};

SpinRange PictureRange(const CompiledPicture& picture) {
  std::string nines;
  int high = 0;
  for (int digits = 1; digits <= 9; ++digits) {
    nines += '9';
    if (!PictureCanShow(nines, picture)) break;
    high = std::atoi(nines.c_str());
  }
  if (high == 0) return {};
  return {PictureCanShow("-1", picture) ? -high : 0, high};
}

// Shows and reads its value through the picture; what the person types is read
// by its meaning, as an entry field reads it.
class PictureSpinBox : public QSpinBox {
 public:
  PictureSpinBox(QWidget* parent, const CompiledPicture& picture)
      : QSpinBox(parent), picture_(picture) {}

 protected:
  QString textFromValue(int value) const override {
    return platform::FromAnsi(ClipBoth(FormatText(std::to_string(value), picture_)));
  }

  int valueFromText(const QString& text) const override {
    return std::atoi(ReadTypedText(platform::ToAnsi(text), picture_).c_str());
  }

  QValidator::State validate(QString& text, int&) const override {
    std::string value = ReadTypedText(platform::ToAnsi(text), picture_);
    if (!PictureCanShow(value, picture_)) return QValidator::Intermediate;
    const int number = std::atoi(value.c_str());
    return number >= minimum() && number <= maximum() ? QValidator::Acceptable
                                                      : QValidator::Intermediate;
  }

 private:
  CompiledPicture picture_;
};

class SpinControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const QRect& place) override {
    CompiledPicture picture;
    if (!Record().picture.empty() && CompilePicture(Record().picture, picture) != 0) {
      spin_ = new PictureSpinBox(&parent, picture);
      SpinRange range = PictureRange(picture);
      spin_->setRange(range.low, range.high);
    } else {
      spin_ = new QSpinBox(&parent);
      spin_->setRange(INT_MIN, INT_MAX);
    }
    QObject::connect(spin_, &QSpinBox::valueChanged, [this] {
      if (!showing_) Notify(kNoticeValueChanged);
    });
    QObject::connect(spin_, &QSpinBox::editingFinished, [this] { Notify(kNoticeEdited); });
    SetWidget(spin_, place);
  }

  void ShowValue() override {
    if (!spin_ || !HasVariable()) return;
    showing_ = true;
    spin_->setValue(RefAsLong(Variable()));
    showing_ = false;
  }

  bool AcceptValue() override {
    if (spin_ && HasVariable()) {
      ValueRef variable = Variable();
      AssignLong(variable, spin_->value());
    }
    return true;
  }

  bool TakesInput() const override { return HasVariable(); }
  int32_t Choice() const override { return spin_ ? spin_->value() : 0; }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    AcceptValue();
    if (notice == kNoticeValueChanged) return {{event::kNewSelection, Number()}};
    if (notice == kNoticeEdited) return {{event::kAccepted, Number()}};
    return {};
  }

  bool SetOwnProperty(int32_t code, int32_t, std::string_view value) override {
    if (!spin_) return false;
    if (code == property::kRangeHigh) {
      spin_->setMaximum(property::NumberOf(value));
    } else if (code == property::kRangeLow) {
      spin_->setMinimum(property::NumberOf(value));
    } else {
      return false;
    }
    return true;
  }

  std::optional<std::string> OwnProperty(int32_t code, int32_t) const override {
    if (!spin_) return std::nullopt;
    if (code == property::kRangeHigh) return std::to_string(spin_->maximum());
    if (code == property::kRangeLow) return std::to_string(spin_->minimum());
    return std::nullopt;
  }

 private:
  QSpinBox* spin_ = nullptr;
  bool showing_ = false;
};

}  // namespace

std::unique_ptr<Control> MakeSpinControl(Window& window, const ControlRecord& record) {
  return std::make_unique<SpinControl>(window, record);
}

}  // namespace rk
