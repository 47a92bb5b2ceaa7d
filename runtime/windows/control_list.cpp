// LIST: a list box or, with a drop count, a drop list, over a queue of rows.
// The object keeps the list's state that procedures read and set: the selected
// row, the scroll bar and its thumb, the number of rows that fit. A drop list of
// fixed choices ("VHS|SVHS|...") is a combo box over its variable; other lists
// are a plain framed area for now, until the runtime's own drawn list takes
// their place.
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <algorithm>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/property_codes.h"

namespace rk {
namespace {

constexpr int kRowPadding = 2;
constexpr int32_t kThumbMaximum = 100;

class ListControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const QRect& place) override {
    if (IsDropList() && Record().from && Record().from->constantText) {
      return CreateChoices(parent, place, *Record().from->constantText);
    }
    frame_ = new QFrame(&parent);
    frame_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    frame_->setFocusPolicy(Qt::StrongFocus);
    frame_->setBackgroundRole(QPalette::Base);
    frame_->setAutoFillBackground(true);
    SetWidget(frame_, place);
  }

  bool IsDropList() const { return Record().dropCount != 0; }

  void ShowValue() override {
    if (!choices_ || !HasVariable()) return;
    QString value = platform::FromAnsi(ClipRight(VariableText()));
    int index = choices_->findText(value, Qt::MatchFixedString);
    choices_->setCurrentIndex(index);
    selected_ = index + 1;
  }

  bool AcceptValue() override {
    if (choices_ && HasVariable() && choices_->currentIndex() >= 0) {
      StoreVariableText(platform::ToAnsi(choices_->currentText()));
    }
    return true;
  }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    if (notice != kNoticeValueChanged || !choices_) return {};
    selected_ = choices_->currentIndex() + 1;
    AcceptValue();
    return {{event::kNewSelection, Number()}, {event::kAccepted, Number()}};
  }
  int32_t Choice() const override { return selected_; }
  bool TakesInput() const override { return IsDropList() && HasVariable(); }

  int32_t VisibleRows() const {
    if (IsDropList()) return Record().dropCount;
    if (!frame_) return 0;
    int row = QFontMetrics(frame_->font()).height() + kRowPadding;
    int inside = frame_->contentsRect().height();
    return std::max(inside / std::max(row, 1), 1);
  }

  bool SetOwnProperty(int32_t code, int32_t, std::string_view value) override {
    int32_t number = property::NumberOf(value);
    switch (code) {
      case property::kSelectedRow:
      case property::kListSelection:
        selected_ = std::max(number, 0);
        if (choices_) choices_->setCurrentIndex(selected_ - 1);
        return true;
      case property::kVScrollShown:
        scrollBar_ = number != 0;
        return true;
      case property::kThumbPosition:
        thumb_ = std::clamp(number, 0, kThumbMaximum);
        return true;
      case property::kVisibleRows:
        return true;  // read only
      default:
        return false;
    }
  }

  std::optional<std::string> OwnProperty(int32_t code, int32_t) const override {
    switch (code) {
      case property::kSelectedRow:
      case property::kListSelection:
        return std::to_string(selected_);
      case property::kVScrollShown:
        return scrollBar_ ? "1" : "0";
      case property::kThumbPosition:
        return std::to_string(thumb_);
      case property::kVisibleRows:
        return std::to_string(VisibleRows());
      default:
        return std::nullopt;
    }
  }

 private:
  void CreateChoices(QWidget& parent, const QRect& place, std::string_view choices) {
    choices_ = new QComboBox(&parent);
    choices_->setMaxVisibleItems(Record().dropCount);
    for (const QString& choice : platform::FromAnsi(choices).split('|')) choices_->addItem(choice);
    choices_->setCurrentIndex(-1);
    QObject::connect(choices_, &QComboBox::activated, [this] { Notify(kNoticeValueChanged); });
    SetWidget(choices_, place);
  }

  QFrame* frame_ = nullptr;
  QComboBox* choices_ = nullptr;
  int32_t selected_ = 0;
  bool scrollBar_ = true;
  int32_t thumb_ = 0;
};

}  // namespace

std::unique_ptr<Control> MakeListControl(Window& window, const ControlRecord& record) {
  return std::make_unique<ListControl>(window, record);
}

}  // namespace rk
