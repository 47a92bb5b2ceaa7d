// The editing state of an entry field: its text, caret and selection, and what
// every typed character and editing key does to them. The field's widget draws
// this state and feeds it keys; nothing here paints or waits.
//
// The field is always in insert mode. A refused keystroke (a character the
// font does not have, a full field, no room left) beeps and leaves text, caret
// and selection exactly as they were.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace rk {

enum EntryMode : uint8_t {
  kEntryCapitalise = 0x10,  // words begin with a capital
  kEntryUpper = 0x20,
  kEntryReadOnly = 0x80,
};

// What the editor needs from the display: the beep, the clipboard and the
// font's metrics. Tests supply their own.
class EntryServices {
 public:
  virtual ~EntryServices() = default;
  virtual void Beep() = 0;
  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
  // Whether the field's font draws the character.
  virtual bool FontHas(uint8_t c) = 0;
  virtual int CharWidth(uint8_t c) = 0;
};

enum class EntryKey {
  kBackspace,
  kDelete,  // also the clear command
  kHome,
  kEnd,
  kLeft,
  kRight,
  kCopy,
  kCut,
  kPaste,
  kEscape,
  kEnter,
  kTab,
  kInsert,
};

struct EntryModifiers {
  bool shift = false;
  bool ctrl = false;
};

// What the window must do after a key: nothing, move on from the field, or
// (after Escape) move on from a field whose edits were undone.
enum class EntryOutcome { kHandled, kMoveOn };

struct EntryLimits {
  int maximumLength = 255;
  // Pixels the text may fill when the field does not scroll horizontally.
  int widthBudget = 0;
  bool scrollsHorizontally = true;
};

class EntryEditor {
 public:
  EntryEditor(EntryServices& services, EntryLimits limits, uint8_t mode);

  // Shows the variable's value: the text that Escape comes back to. Clears the
  // modified flag.
  void Show(std::string text, bool selectAll);

  EntryOutcome Type(uint8_t c, EntryModifiers modifiers = {});
  EntryOutcome Press(EntryKey key, EntryModifiers modifiers = {});

  // Focus: gaining it selects all when the field is so flagged; losing it
  // answers whether the text was modified (the window then raises its event).
  // A mouse press (or drag, `extend`) at a character position.
  void PlaceCaret(size_t position, bool extend) { MoveTo(position, extend); }

  void GainFocus(bool selectAll);
  bool LoseFocus();

  const std::string& Text() const { return text_; }
  size_t Caret() const { return caret_; }
  size_t SelectionStart() const { return std::min(anchor_, caret_); }
  size_t SelectionEnd() const { return std::max(anchor_, caret_); }
  bool HasSelection() const { return anchor_ != caret_; }
  std::string SelectedText() const;
  bool Modified() const { return modified_; }
  bool HasFocus() const { return focused_; }
  uint8_t Mode() const { return mode_; }

 private:
  bool ReadOnly() const { return (mode_ & kEntryReadOnly) != 0; }
  uint8_t Cased(uint8_t c, bool shift) const;
  // Whether `insert` fits once the selection is gone; beeps when it does not.
  bool Fits(std::string_view insert);
  int WidthOf(std::string_view text) const;
  void ReplaceSelection(std::string_view insert);
  void MoveTo(size_t position, bool extend);
  size_t WordLeft() const;
  size_t WordRight() const;
  void Copy();
  void Paste();
  void Erase(bool forward);

  EntryServices& services_;
  EntryLimits limits_;
  uint8_t mode_;
  std::string text_;
  std::string shown_;  // the variable's value as last shown, for undo
  size_t caret_ = 0;
  size_t anchor_ = 0;
  bool modified_ = false;
  bool focused_ = false;
};

}  // namespace rk
