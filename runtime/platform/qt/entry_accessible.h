// What a screen reader sees of an entry field: editable text with its caret
// and selection. The field draws its text itself, so without this interface
// assistive tools would see an empty box.
//
// Reading comes straight from the state the field was last handed. Changes
// that an assistive tool asks for go through the field's owner exactly as the
// keyboard and the mouse do (a caret placed, characters typed, Delete pressed),
// so upper-casing, the length limit and read-only fields apply to them too.
#pragma once

#include <QAccessibleWidget>

namespace rk::platform {

class EntryWidget;

class EntryAccessible : public QAccessibleWidget,
                        public QAccessibleTextInterface,
                        public QAccessibleEditableTextInterface {
 public:
  explicit EntryAccessible(EntryWidget* entry);

  void* interface_cast(QAccessible::InterfaceType type) override;
  QString text(QAccessible::Text type) const override;
  QAccessible::State state() const override;

  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int startOffset, int endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

  void deleteText(int startOffset, int endOffset) override;
  void insertText(int offset, const QString& text) override;
  void replaceText(int startOffset, int endOffset, const QString& text) override;

 private:
  EntryWidget& Entry() const;
  QString Shown() const;
  int Clamp(int offset) const;
};

}  // namespace rk::platform
