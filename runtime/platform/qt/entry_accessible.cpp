#include "runtime/platform/qt/entry_accessible.h"

#include <QFontMetrics>
#include <algorithm>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/entry_widget.h"

namespace rk::platform {

EntryAccessible::EntryAccessible(EntryWidget* entry)
    : QAccessibleWidget(entry, QAccessible::EditableText) {}

EntryWidget& EntryAccessible::Entry() const {
  return *static_cast<EntryWidget*>(widget());
}

// Windows-1252 has one character per byte and each maps to one UTF-16 unit,
// so offsets into the runtime's text and into this text are the same.
QString EntryAccessible::Shown() const {
  return FromAnsi(Entry().State().text);
}

int EntryAccessible::Clamp(int offset) const {
  return std::clamp(offset, 0, characterCount());
}

void* EntryAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  if (type == QAccessible::EditableTextInterface) {
    return static_cast<QAccessibleEditableTextInterface*>(this);
  }
  return QAccessibleWidget::interface_cast(type);
}

QString EntryAccessible::text(QAccessible::Text type) const {
  if (type == QAccessible::Value) return Shown();
  return QAccessibleWidget::text(type);
}

QAccessible::State EntryAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.editable = !Entry().ReadOnly();
  state.readOnly = Entry().ReadOnly();
  state.selectableText = true;
  return state;
}

int EntryAccessible::selectionCount() const {
  const EntryState& entry = Entry().State();
  return entry.selectionEnd != entry.selectionStart ? 1 : 0;
}

void EntryAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
  if (selectionIndex != 0 || selectionCount() == 0) return;
  const EntryState& entry = Entry().State();
  *startOffset = Clamp(static_cast<int>(std::min(entry.selectionStart, entry.selectionEnd)));
  *endOffset = Clamp(static_cast<int>(std::max(entry.selectionStart, entry.selectionEnd)));
}

// The field keeps one selection: adding one replaces it.
void EntryAccessible::addSelection(int startOffset, int endOffset) {
  setSelection(0, startOffset, endOffset);
}

void EntryAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex == 0) setCursorPosition(cursorPosition());
}

void EntryAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex != 0) return;
  EntryInput& input = Entry().Input();
  input.EntryPointed(static_cast<size_t>(Clamp(startOffset)), false);
  input.EntryPointed(static_cast<size_t>(Clamp(endOffset)), true);
}

int EntryAccessible::cursorPosition() const {
  return Clamp(static_cast<int>(Entry().State().caret));
}

void EntryAccessible::setCursorPosition(int position) {
  Entry().Input().EntryPointed(static_cast<size_t>(Clamp(position)), false);
}

QString EntryAccessible::text(int startOffset, int endOffset) const {
  int start = Clamp(startOffset);
  int end = Clamp(endOffset);
  return end > start ? Shown().mid(start, end - start) : QString();
}

int EntryAccessible::characterCount() const {
  return static_cast<int>(Shown().size());
}

QRect EntryAccessible::characterRect(int offset) const {
  if (offset < 0 || offset >= characterCount()) return {};
  EntryWidget& entry = Entry();
  QFontMetrics metrics(entry.font());
  int left = entry.TextX(static_cast<size_t>(offset)) - entry.ScrollOffset() + entry.TextMargin();
  int right =
      entry.TextX(static_cast<size_t>(offset) + 1) - entry.ScrollOffset() + entry.TextMargin();
  QRect local(left, (entry.height() - metrics.height()) / 2, right - left, metrics.height());
  return QRect(entry.mapToGlobal(local.topLeft()), local.size());
}

int EntryAccessible::offsetAtPoint(const QPoint& point) const {
  for (int offset = 0; offset < characterCount(); ++offset) {
    if (characterRect(offset).contains(point)) return offset;
  }
  return -1;
}

QString EntryAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
  *startOffset = 0;
  *endOffset = characterCount();
  (void)offset;
  return {};
}

void EntryAccessible::deleteText(int startOffset, int endOffset) {
  if (Clamp(endOffset) <= Clamp(startOffset)) return;
  setSelection(0, startOffset, endOffset);
  Entry().Input().EntryKey(Qt::Key_Delete, 0, false, false);
}

// Each character is typed, so the field filters and converts it as it does
// the keyboard's.
void EntryAccessible::insertText(int offset, const QString& text) {
  setCursorPosition(offset);
  for (char c : ToAnsi(text)) {
    Entry().Input().EntryKey(Qt::Key_unknown, static_cast<uint8_t>(c), false, false);
  }
}

void EntryAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
  deleteText(startOffset, endOffset);
  insertText(startOffset, text);
}

}  // namespace rk::platform
