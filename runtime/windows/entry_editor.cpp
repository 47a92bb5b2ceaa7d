#include "runtime/windows/entry_editor.h"

#include <algorithm>

#include "runtime/core/collation.h"

namespace rk {
namespace {

bool IsAsciiLetterOrDigit(uint8_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Words for Ctrl+Left and Ctrl+Right are runs of letters and digits, national
// letters included.
bool IsWordCharacter(uint8_t c) {
  return IsAsciiLetterOrDigit(c) || c >= 0xC0;
}

// Keys that the field hands on rather than inserts.
bool IsHandedOn(uint8_t c) {
  return c == '\r' || c == '\n' || c == '\t' || c == 0x1B;
}

}  // namespace

EntryEditor::EntryEditor(EntryServices& services, EntryLimits limits, uint8_t mode)
    : services_(services), limits_(limits), mode_(mode) {}

void EntryEditor::Show(std::string text, bool selectAll) {
  if (text.size() > static_cast<size_t>(std::max(limits_.maximumLength, 0))) {
    text.resize(static_cast<size_t>(std::max(limits_.maximumLength, 0)));
  }
  text_ = std::move(text);
  shown_ = text_;
  anchor_ = selectAll ? 0 : text_.size();
  caret_ = text_.size();
  modified_ = false;
}

std::string EntryEditor::SelectedText() const {
  return text_.substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

uint8_t EntryEditor::Cased(uint8_t c, bool shift) const {
  if (mode_ & kEntryUpper) return ToUpper(c);
  if ((mode_ & kEntryCapitalise) && !shift) {
    // A word starts at the beginning or after anything but a letter, a digit,
    // an apostrophe (so "o'clock" keeps its lower case) or a national letter.
    const size_t at = SelectionStart();
    const uint8_t before = at == 0 ? 0 : static_cast<uint8_t>(text_[at - 1]);
    const bool startsWord =
        at == 0 || (!IsAsciiLetterOrDigit(before) && before != '\'' && before < 192);
    if (startsWord) return ToUpper(c);
  }
  return c;
}

int EntryEditor::WidthOf(std::string_view text) const {
  int width = 0;
  for (char c : text) width += services_.CharWidth(static_cast<uint8_t>(c));
  return width;
}

bool EntryEditor::Fits(std::string_view insert) {
  const size_t kept = text_.size() - (SelectionEnd() - SelectionStart());
  bool fits = kept + insert.size() <= static_cast<size_t>(std::max(limits_.maximumLength, 0));
  if (fits && !limits_.scrollsHorizontally) {
    const int keptWidth = WidthOf(text_) - WidthOf(SelectedText());
    fits = keptWidth + WidthOf(insert) <= limits_.widthBudget;
  }
  if (!fits) services_.Beep();
  return fits;
}

void EntryEditor::ReplaceSelection(std::string_view insert) {
  const size_t start = SelectionStart();
  text_.replace(start, SelectionEnd() - start, insert);
  caret_ = anchor_ = start + insert.size();
  modified_ = true;
}

EntryOutcome EntryEditor::Type(uint8_t c, EntryModifiers modifiers) {
  if (IsHandedOn(c) || ReadOnly()) return EntryOutcome::kHandled;
  if (c < 0x20 || !services_.FontHas(c)) {
    services_.Beep();
    return EntryOutcome::kHandled;
  }
  const char cased = static_cast<char>(Cased(c, modifiers.shift));
  if (Fits(std::string_view(&cased, 1))) ReplaceSelection(std::string_view(&cased, 1));
  return EntryOutcome::kHandled;
}

void EntryEditor::MoveTo(size_t position, bool extend) {
  caret_ = std::min(position, text_.size());
  if (!extend) anchor_ = caret_;
}

size_t EntryEditor::WordLeft() const {
  size_t at = caret_;
  while (at > 0 && !IsWordCharacter(static_cast<uint8_t>(text_[at - 1]))) --at;
  while (at > 0 && IsWordCharacter(static_cast<uint8_t>(text_[at - 1]))) --at;
  return at;
}

size_t EntryEditor::WordRight() const {
  size_t at = caret_;
  while (at < text_.size() && IsWordCharacter(static_cast<uint8_t>(text_[at]))) ++at;
  while (at < text_.size() && !IsWordCharacter(static_cast<uint8_t>(text_[at]))) ++at;
  return at;
}

void EntryEditor::Copy() {
  if (HasSelection()) services_.SetClipboardText(SelectedText());
}

// Pasted text is one line of characters the font has; the upper-case bit holds
// for it as for typing.
void EntryEditor::Paste() {
  std::string insert;
  for (char c : services_.ClipboardText()) {
    const uint8_t byte = static_cast<uint8_t>(c);
    if (byte == '\r' || byte == '\n') break;
    if (byte < 0x20 || !services_.FontHas(byte)) continue;
    insert += static_cast<char>((mode_ & kEntryUpper) ? ToUpper(byte) : byte);
  }
  if (!insert.empty() && Fits(insert)) ReplaceSelection(insert);
}

void EntryEditor::Erase(bool forward) {
  if (!HasSelection()) {
    if (forward ? caret_ >= text_.size() : caret_ == 0) return;
    anchor_ = forward ? caret_ + 1 : caret_ - 1;
  }
  ReplaceSelection({});
}

EntryOutcome EntryEditor::Press(EntryKey key, EntryModifiers modifiers) {
  switch (key) {
    case EntryKey::kHome:
      MoveTo(0, modifiers.shift);
      break;
    case EntryKey::kEnd:
      MoveTo(text_.size(), modifiers.shift);
      break;
    case EntryKey::kLeft:
      MoveTo(modifiers.ctrl ? WordLeft() : (caret_ > 0 ? caret_ - 1 : 0), modifiers.shift);
      break;
    case EntryKey::kRight:
      MoveTo(modifiers.ctrl ? WordRight() : caret_ + 1, modifiers.shift);
      break;
    case EntryKey::kCopy:
      Copy();
      break;
    case EntryKey::kCut:
      if (ReadOnly()) break;
      Copy();
      if (HasSelection()) ReplaceSelection({});
      break;
    case EntryKey::kPaste:
      if (!ReadOnly()) Paste();
      break;
    case EntryKey::kBackspace:
    case EntryKey::kDelete:
      if (!ReadOnly()) Erase(key == EntryKey::kDelete);
      break;
    case EntryKey::kEscape:
      Show(shown_, true);  // the undo command: the variable's value, selected
      return EntryOutcome::kMoveOn;
    case EntryKey::kEnter:
    case EntryKey::kTab:
      return EntryOutcome::kMoveOn;
    case EntryKey::kInsert:
      break;
  }
  return EntryOutcome::kHandled;
}

void EntryEditor::GainFocus(bool selectAll) {
  focused_ = true;
  if (selectAll) {
    anchor_ = 0;
    caret_ = text_.size();
  }
}

bool EntryEditor::LoseFocus() {
  focused_ = false;
  return modified_;
}

}  // namespace rk
