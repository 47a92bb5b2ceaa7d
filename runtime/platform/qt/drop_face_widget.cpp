#include "runtime/platform/qt/drop_face_widget.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/control_input_filter.h"
#include "runtime/platform/qt/list_row_painter.h"
#include "runtime/platform/qt/list_widget.h"

namespace rk::platform {
namespace {

constexpr int kFrame = 1;

}  // namespace

DropFaceWidget::DropFaceWidget(QWidget* parent) : QWidget(parent) {
  setObjectName("QvnDrop");
  setFocusPolicy(Qt::StrongFocus);
}

DropFaceWidget::~DropFaceWidget() {
  // The popup goes with the face; its last events are nobody's business.
  if (popup_) popup_->removeEventFilter(this);
}

void DropFaceWidget::SetInputHandler(std::function<void(const ListInput&)> handler) {
  handler_ = std::move(handler);
}

void DropFaceWidget::SetColumns(std::vector<ListColumnLook> columns) {
  columns_ = std::move(columns);
  update();
}

void DropFaceWidget::SetChoice(ListRowLook choice) {
  choice_ = std::move(choice);
  update();
}

void DropFaceWidget::SetIcons(std::vector<QImage> icons) {
  icons_ = std::move(icons);
  update();
}

void DropFaceWidget::SetPopup(ListWidget& list) {
  popup_ = &list;
  list.setParent(this, Qt::Popup);
  list.setAttribute(Qt::WA_WindowPropagation);  // the face's font and palette
  list.installEventFilter(this);
}

void DropFaceWidget::ShowPopup(int rows) {
  if (!popup_) return;
  int height = 2 * kFrame + popup_->HeaderHeight() + std::max(rows, 1) * popup_->RowHeight();
  QPoint below = mapToGlobal(QPoint(0, this->height()));
  QPoint at = below;
  if (const QScreen* shown = screen()) {
    QRect available = shown->availableGeometry();
    if (below.y() + height > available.bottom() && mapToGlobal(QPoint(0, 0)).y() - height >= 0) {
      at = mapToGlobal(QPoint(0, -height));
    }
  }
  popup_->setGeometry(QRect(at, QSize(width(), height)));
  popup_->show();
  popup_->setFocus(Qt::PopupFocusReason);
}

void DropFaceWidget::HidePopup() {
  if (!PopupShown()) return;
  closingOnRequest_ = true;
  popup_->hide();
  closingOnRequest_ = false;
}

bool DropFaceWidget::PopupShown() const {
  return popup_ && popup_->isVisible();
}

QRect DropFaceWidget::ButtonRect() const {
  int side = std::max(height() - 2 * kFrame, 0);
  int button = std::min(style()->pixelMetric(QStyle::PM_ScrollBarExtent), side + 4);
  return QRect(width() - kFrame - button, kFrame, button, side);
}

QRect DropFaceWidget::ChoiceRect() const {
  return QRect(QPoint(kFrame, kFrame), QPoint(ButtonRect().left() - 1, height() - kFrame - 1));
}

int DropFaceWidget::RowHeight() const {
  return popup_ ? popup_->RowHeight() : ChoiceRect().height();
}

void DropFaceWidget::Report(ListInputKind kind, int32_t value, uint8_t character) {
  if (handler_) handler_({kind, value, character});
}

void DropFaceWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(isEnabled() ? QPalette::Base : QPalette::Window));
  QRect choice = ChoiceRect();
  if (!choice_.empty()) {
    // The choice is drawn as a row of the list, centred in the face, and
    // highlighted while the face has the focus.
    QRect row(choice.left(), choice.center().y() - RowHeight() / 2, choice.width(), RowHeight());
    painter.setClipRect(choice);
    ListRowPainter(palette(), columns_, icons_, RowHeight(), devicePixelRatioF())
        .Paint(painter, choice_, row, hasFocus());
    painter.setClipping(false);
  }
  if (hasFocus()) {
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
    painter.drawRect(choice.adjusted(0, 0, -1, -1));
  }
  QStyleOptionButton button;
  button.initFrom(this);
  button.rect = ButtonRect();
  button.state |= PopupShown() ? QStyle::State_Sunken : QStyle::State_Raised;
  style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &button, &painter, this);
  button.rect = ButtonRect().adjusted(3, 3, -3, -3);
  style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &button, &painter, this);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void DropFaceWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
    return QWidget::keyPressEvent(event);  // focus moves on as usual
  }
  int32_t code = RuntimeKeyCode(*event);
  std::string typed = ToAnsi(event->text());
  uint8_t character = typed.size() == 1 ? static_cast<uint8_t>(typed[0]) : 0;
  if (code != 0 || character != 0) Report(ListInputKind::kFaceKey, code, character);
  event->accept();
}

void DropFaceWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Report(ListInputKind::kDropOpen);
}

// A popup must not stay open over a face that can no longer be used.
void DropFaceWidget::hideEvent(QHideEvent*) {
  if (PopupShown()) popup_->hide();
}

void DropFaceWidget::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled() && PopupShown()) popup_->hide();
  QWidget::changeEvent(event);
}

bool DropFaceWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched != popup_) return false;
  if (event->type() == QEvent::Hide) {
    if (!closingOnRequest_) Report(ListInputKind::kDropClosed);
    update();
  } else if (event->type() == QEvent::MouseButtonPress) {
    // A press on the face closes the popup; it must not reach the face again
    // and open it at once.
    auto* press = static_cast<QMouseEvent*>(event);
    QPoint onFace = mapFromGlobal(press->globalPosition().toPoint());
    if (!popup_->rect().contains(press->position().toPoint()) && rect().contains(onFace)) {
      popup_->setAttribute(Qt::WA_NoMouseReplay);
    }
  }
  return false;
}

}  // namespace rk::platform
