// SPIN: a spin box over a numeric variable, shown through its picture. Stepping
// changes the variable and raises new selection; leaving an edited value raises
// accepted. The range starts as wide as the picture can show (the largest run of
// nines it takes; negative too when it shows a sign) and the procedure narrows
// it through property 0x7C15 (upper limit) and 0x7C16 (lower limit).
#include <climits>
#include <cstdlib>
#include <memory>

#include "runtime/core/picture.h"
#include "runtime/core/picture_format.h"
#include "runtime/core/picture_typed_text.h"
#include "runtime/core/value_ref.h"
#include "runtime/platform/qt/spin_box.h"
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

// Shows and reads the box's value through the picture; what the person types is
// read by its meaning, as an entry field reads it.
class SpinPictureOf : public platform::SpinPicture {
 public:
  explicit SpinPictureOf(const CompiledPicture& picture) : picture_(picture) {}

  std::string SpinText(int value) const override {
    return std::string(ClipBoth(FormatText(std::to_string(value), picture_)));
  }

  platform::SpinReading SpinRead(std::string_view typed) const override {
    std::string value = ReadTypedText(typed, picture_);
    return {std::atoi(value.c_str()), PictureCanShow(value, picture_)};
  }

 private:
  CompiledPicture picture_;
};

class SpinControl : public Control, private platform::SpinOwner {
 public:
  using Control::Control;

  void Create(QWidget& parent, const platform::PixelRect& place) override {
    CompiledPicture compiled;
    SpinRange range;
    std::unique_ptr<SpinPictureOf> picture;
    if (!Record().picture.empty() && CompilePicture(Record().picture, compiled) != 0) {
      picture = std::make_unique<SpinPictureOf>(compiled);
      range = PictureRange(compiled);
    }
    spin_ = platform::MakeSpinBox(parent, std::move(picture), *this, range.low, range.high);
    SetWidget(&spin_->Widget(), place);
  }

  void ShowValue() override {
    if (!spin_ || !HasVariable()) return;
    spin_->SetValue(RefAsLong(Variable()));
  }

  bool AcceptValue() override {
    if (spin_ && HasVariable()) {
      ValueRef variable = Variable();
      AssignLong(variable, spin_->Value());
    }
    return true;
  }

  bool TakesInput() const override { return HasVariable(); }
  int32_t Choice() const override { return spin_ ? spin_->Value() : 0; }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    AcceptValue();
    if (notice == kNoticeValueChanged) return {{event::kNewSelection, Number()}};
    if (notice == kNoticeEdited) return {{event::kAccepted, Number()}};
    return {};
  }

  bool SetOwnProperty(int32_t code, int32_t, std::string_view value) override {
    if (!spin_) return false;
    if (code == property::kRangeHigh) {
      spin_->SetMaximum(property::NumberOf(value));
    } else if (code == property::kRangeLow) {
      spin_->SetMinimum(property::NumberOf(value));
    } else {
      return false;
    }
    return true;
  }

  std::optional<std::string> OwnProperty(int32_t code, int32_t) const override {
    if (!spin_) return std::nullopt;
    if (code == property::kRangeHigh) return std::to_string(spin_->Maximum());
    if (code == property::kRangeLow) return std::to_string(spin_->Minimum());
    return std::nullopt;
  }

 private:
  void SpinChanged() override { Notify(kNoticeValueChanged); }

  void SpinEdited() override { Notify(kNoticeEdited); }

  platform::SpinBox* spin_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> MakeSpinControl(Window& window, const ControlRecord& record) {
  return std::make_unique<SpinControl>(window, record);
}

}  // namespace rk
