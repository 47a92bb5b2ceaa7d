// LIST: a list box or, with a drop count, a drop list, over a queue of rows.
// The object keeps the list's state that procedures read and set: the selected
// row, the scroll bar and its thumb, the number of rows that fit. The widget is
// a plain framed area for now; the runtime's own drawn list takes its place.
#include <QFontMetrics>
#include <QFrame>
#include <algorithm>

#include "runtime/windows/control_factory.h"
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
    frame_ = new QFrame(&parent);
    frame_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    frame_->setFocusPolicy(Qt::StrongFocus);
    frame_->setBackgroundRole(QPalette::Base);
    frame_->setAutoFillBackground(true);
    SetWidget(frame_, place);
  }

  bool IsDropList() const { return Record().dropCount != 0; }
  int32_t Choice() const override { return selected_; }
  bool TakesInput() const override { return IsDropList() && HasVariable(); }

  int32_t VisibleRows() const {
    if (!frame_) return 0;
    int row = QFontMetrics(frame_->font()).height() + kRowPadding;
    int inside = frame_->contentsRect().height();
    return IsDropList() ? Record().dropCount : std::max(inside / std::max(row, 1), 1);
  }

  bool SetOwnProperty(int32_t code, int32_t, std::string_view value) override {
    int32_t number = property::NumberOf(value);
    switch (code) {
      case property::kSelectedRow:
      case property::kListSelection:
        selected_ = std::max(number, 0);
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
  QFrame* frame_ = nullptr;
  int32_t selected_ = 0;
  bool scrollBar_ = true;
  int32_t thumb_ = 0;
};

}  // namespace

std::unique_ptr<Control> MakeListControl(Window& window, const ControlRecord& record) {
  return std::make_unique<ListControl>(window, record);
}

}  // namespace rk
