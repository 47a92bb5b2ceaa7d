#include "runtime/platform/qt/control_widget_place.h"

#include <QApplication>
#include <QFont>
#include <QPointer>
#include <QWidget>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/control_input_filter.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/platform/qt/scheduler.h"

namespace rk::platform {

void PlaceControlWidget(QWidget& widget, const PixelRect& place, const FontRecord& font,
                        std::string_view tooltip, bool enabled, FiberId thread, uint32_t control) {
  widget.setFont(MakeFont(font));
  QSize natural = widget.sizeHint();
  int width = place.width > 0 ? place.width : natural.width();
  int height = place.height > 0 ? place.height : natural.height();
  widget.setGeometry(place.x, place.y, width, height);
  if (!tooltip.empty()) widget.setToolTip(FromAnsi(tooltip));
  widget.setEnabled(enabled);
  new ControlInputFilter(widget, TheScheduler(), thread, control);
}

void EnableWidget(QWidget& widget, bool enabled) {
  widget.setEnabled(enabled);
}

void ShowWidget(QWidget& widget, bool shown) {
  widget.setVisible(shown);
}

void FocusWidget(QWidget& widget) {
  widget.setFocus();
}

void ReturnFocusTo(QWidget& widget) {
  widget.setFocus(Qt::OtherFocusReason);
}

bool FocusIsOutside(const QWidget& window) {
  QWidget* focus = QApplication::focusWidget();
  return focus && focus != &window && !window.isAncestorOf(focus);
}

bool TakesFocus(const QWidget& widget) {
  return widget.focusPolicy() != Qt::NoFocus;
}

bool FocusElsewhereInActiveWindow(const QWidget& widget) {
  return widget.isActiveWindow() && !widget.hasFocus();
}

void SetAccessibleName(QWidget& widget, std::string_view name) {
  widget.setAccessibleName(FromAnsi(name));
}

struct WidgetHolder::Guard {
  QPointer<QWidget> widget;
};

WidgetHolder::WidgetHolder() : guard_(std::make_unique<Guard>()) {}

WidgetHolder::~WidgetHolder() {
  Delete();
}

void WidgetHolder::Hold(QWidget* widget) {
  guard_->widget = widget;
}

QWidget* WidgetHolder::Get() const {
  return guard_->widget;
}

void WidgetHolder::Delete() {
  delete guard_->widget.data();
}

}  // namespace rk::platform
