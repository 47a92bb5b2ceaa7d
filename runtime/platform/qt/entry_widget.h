// The painted single-line entry field. The widget keeps no text of its own: it
// draws the state it is handed (text, caret, selection) and hands every key,
// mouse press or drag and focus change to its owner, which edits and hands the
// new state back. The text scrolls horizontally so that the caret stays in view.
//
// Editing is display state, applied at once as a platform edit field would; the
// owner only posts to its runtime thread what the runtime must hear of (the
// field was left after a change). Tab never arrives here: Qt moves the focus.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>

namespace rk::platform {

struct EntryState {
  std::string text;  // Windows-1252
  size_t caret = 0;
  size_t selectionStart = 0;
  size_t selectionEnd = 0;
};

// What the field reports to its owner.
class EntryInput {
 public:
  virtual ~EntryInput() = default;
  // A key press: the Qt key, the character it types (0 for none) and Shift/Ctrl.
  // Returns false when the field moves on (Enter, Escape): the focus goes to
  // the next control.
  virtual bool EntryKey(int qtKey, uint8_t typed, bool shift, bool ctrl) = 0;
  // The left button pressed (or dragged, `extend`) at a character position.
  virtual void EntryPointed(size_t position, bool extend) = 0;
  virtual void EntryFocus(bool gained) = 0;
};

class EntryWidget : public QWidget {
 public:
  EntryWidget(QWidget* parent, EntryInput& input);

  void SetState(EntryState state);
  const EntryState& State() const { return state_; }
  // The position of the character boundary nearest to x (widget pixels).
  size_t PositionAt(int x) const;
  // Pixels the text is shifted to the left to keep the caret in view.
  int ScrollOffset() const { return scroll_; }
  // The left edge of the character at `position`, in text pixels.
  int TextX(size_t position) const;
  // Pixels between the widget's left edge and unscrolled text.
  static int TextMargin();
  // Whether the owner refuses edits; only assistive tools are told, the owner
  // does the refusing.
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool ReadOnly() const { return readOnly_; }
  // Where edits asked for by assistive tools go, as keys and clicks do.
  EntryInput& Input() const { return input_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int InnerWidth() const;
  void KeepCaretVisible();

  EntryInput& input_;
  EntryState state_;
  QString shown_;  // state_.text as Qt text
  int scroll_ = 0;
  bool readOnly_ = false;
};

}  // namespace rk::platform
