#include "runtime/platform/qt/entry_widget.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "runtime/platform/qt/accessible_factory.h"
#include "runtime/platform/qt/ansi_text.h"

namespace rk::platform {
namespace {

constexpr int kMargin = 2;  // pixels between the frame and the text

// The single Windows-1252 character a key types, 0 when it types none.
uint8_t TypedCharacter(const QKeyEvent& event) {
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return 0;
  std::string typed = ToAnsi(event.text());
  if (typed.size() != 1) return 0;
  const auto c = static_cast<uint8_t>(typed[0]);
  return c >= 0x20 && c != 0x7F ? c : 0;
}

}  // namespace

EntryWidget::EntryWidget(QWidget* parent, EntryInput& input) : QWidget(parent), input_(input) {
  InstallAccessibleFactory();
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setCursor(Qt::IBeamCursor);
}

void EntryWidget::SetState(EntryState state) {
  state_ = std::move(state);
  shown_ = FromAnsi(state_.text);
  KeepCaretVisible();
  update();
}

int EntryWidget::TextMargin() {
  return kMargin;
}

int EntryWidget::TextX(size_t position) const {
  const auto count = static_cast<qsizetype>(std::min<size_t>(position, shown_.size()));
  return QFontMetrics(font()).horizontalAdvance(shown_.left(count));
}

size_t EntryWidget::PositionAt(int x) const {
  const int textX = x - kMargin + scroll_;
  size_t best = 0;
  int bestDistance = std::abs(textX);
  for (size_t position = 1; position <= static_cast<size_t>(shown_.size()); ++position) {
    const int distance = std::abs(TextX(position) - textX);
    if (distance < bestDistance) {
      best = position;
      bestDistance = distance;
    }
  }
  return best;
}

int EntryWidget::InnerWidth() const {
  return std::max(width() - 2 * kMargin, 1);
}

void EntryWidget::KeepCaretVisible() {
  const int caretX = TextX(state_.caret);
  if (caretX - scroll_ > InnerWidth() - 1) scroll_ = caretX - InnerWidth() + 1;
  if (caretX < scroll_) scroll_ = caretX;
  // Never leave blank room on the right while text is hidden on the left.
  const int textWidth = TextX(static_cast<size_t>(shown_.size()));
  scroll_ = std::max(0, std::min(scroll_, std::max(textWidth - InnerWidth() + 1, 0)));
}

QSize EntryWidget::sizeHint() const {
  QFontMetrics metrics(font());
  return {metrics.averageCharWidth() * 12 + 2 * kMargin, metrics.height() + 2 * kMargin};
}

void EntryWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& colours = palette();
  painter.fillRect(rect(), colours.color(isEnabled() ? QPalette::Base : QPalette::Window));
  painter.setPen(colours.color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));

  QFontMetrics metrics(font());
  const int top = (height() - metrics.height()) / 2;
  const int baseline = top + metrics.ascent();
  painter.setClipRect(rect().adjusted(1, 1, -1, -1));
  painter.translate(kMargin - scroll_, 0);

  const size_t start = std::min<size_t>(state_.selectionStart, shown_.size());
  const size_t end = std::min<size_t>(state_.selectionEnd, shown_.size());
  const QColor text =
      colours.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text);
  // Before, inside and after the selection, each piece at its own offset so that
  // the caret and the highlight line up with what PositionAt answers.
  auto piece = [&](size_t from, size_t to, const QColor& pen) {
    if (to <= from) return;
    painter.setPen(pen);
    painter.drawText(TextX(from), baseline,
                     shown_.mid(static_cast<qsizetype>(from), static_cast<qsizetype>(to - from)));
  };
  piece(0, start, text);
  if (end > start && hasFocus()) {
    painter.fillRect(QRect(TextX(start), top, TextX(end) - TextX(start), metrics.height()),
                     colours.color(QPalette::Highlight));
    piece(start, end, colours.color(QPalette::HighlightedText));
  } else {
    piece(start, end, text);
  }
  piece(end, static_cast<size_t>(shown_.size()), text);

  if (hasFocus()) {
    const int x = TextX(state_.caret);
    painter.fillRect(QRect(x, top, 1, metrics.height()), text);
  }
}

void EntryWidget::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (!input_.EntryKey(event->key(), TypedCharacter(*event), modifiers & Qt::ShiftModifier,
                       modifiers & Qt::ControlModifier)) {
    focusNextChild();
  }
}

void EntryWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  input_.EntryPointed(PositionAt(event->position().toPoint().x()),
                      event->modifiers() & Qt::ShiftModifier);
}

void EntryWidget::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) {
    input_.EntryPointed(PositionAt(event->position().toPoint().x()), true);
  }
}

void EntryWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  input_.EntryFocus(true);
}

void EntryWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  input_.EntryFocus(false);
}

void EntryWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  KeepCaretVisible();
}

}  // namespace rk::platform
