// Editing an entry field: typing with its case bits and limits, the editing and
// clipboard keys, undo through Escape, and the read-only field.
#include "runtime/windows/entry_editor.h"

#include <gtest/gtest.h>

#include "runtime/core/collation.h"

namespace rk {
namespace {

// A font 5 pixels wide for every character except the ones it lacks (0x81, 0x7F).
class FakeDisplay : public EntryServices {
 public:
  void Beep() override { ++beeps; }
  std::string ClipboardText() override { return clipboard; }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  bool FontHas(uint8_t c) override { return c != 0x81 && c != 0x7F; }
  int CharWidth(uint8_t c) override { return c == 'W' ? 9 : 5; }

  int beeps = 0;
  std::string clipboard;
};

struct Snapshot {
  std::string text;
  size_t start, end, caret;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const EntryEditor& e) {
  return {e.Text(), e.SelectionStart(), e.SelectionEnd(), e.Caret()};
}

void TypeText(EntryEditor& editor, std::string_view text) {
  for (char c : text) editor.Type(static_cast<uint8_t>(c));
}

TEST(EntryEditor, TypingInsertsAtTheCaretAndReplacesTheSelection) {
  FakeDisplay display;
  EntryEditor editor(display, {}, 0);
  editor.Show("hello", false);
  EXPECT_FALSE(editor.Modified());
  editor.Press(EntryKey::kHome);
  editor.Press(EntryKey::kRight);
  editor.Type('X');
  EXPECT_EQ(editor.Text(), "hXello");
  EXPECT_EQ(editor.Caret(), 2u);
  editor.Press(EntryKey::kRight, {.shift = true});
  editor.Press(EntryKey::kRight, {.shift = true});
  EXPECT_EQ(editor.SelectedText(), "el");
  editor.Type('y');
  EXPECT_EQ(editor.Text(), "hXylo");
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(display.beeps, 0);
}

TEST(EntryEditor, RefusedKeystrokesBeepAndChangeNothing) {
  FakeDisplay display;
  EntryEditor editor(display, {.maximumLength = 4}, 0);
  editor.Show("abcd", false);
  const Snapshot full = Take(editor);
  editor.Type('e');  // the text holds its maximum length
  EXPECT_EQ(Take(editor), full);
  EXPECT_EQ(display.beeps, 1);
  editor.Type(0x81);  // not in the font
  EXPECT_EQ(display.beeps, 2);
  editor.Type('\r');  // handed on, neither inserted nor refused
  editor.Type('\t');
  EXPECT_EQ(display.beeps, 2);
  EXPECT_EQ(Take(editor), full);
  // With a selection the new character replaces it, so it fits.
  editor.Press(EntryKey::kLeft, {.shift = true});
  editor.Type('Z');
  EXPECT_EQ(editor.Text(), "abcZ");
}

TEST(EntryEditor, FieldThatDoesNotScrollStopsAtItsWidth) {
  FakeDisplay display;
  EntryEditor editor(display,
                     {.maximumLength = 50, .widthBudget = 20, .scrollsHorizontally = false}, 0);
  editor.Show("", false);
  TypeText(editor, "abcd");  // 4 x 5 pixels fill the budget
  EXPECT_EQ(editor.Text(), "abcd");
  EXPECT_EQ(display.beeps, 0);
  editor.Type('e');
  EXPECT_EQ(display.beeps, 1);
  editor.Press(EntryKey::kBackspace);
  editor.Type('W');  // 9 pixels do not fit where 5 were freed
  EXPECT_EQ(editor.Text(), "abc");
  EXPECT_EQ(display.beeps, 2);
}

TEST(EntryEditor, CaseBits) {
  FakeDisplay display;
  SetSystemCasePairs();  // national letters have their capitals
  EntryEditor upper(display, {}, kEntryUpper);
  upper.Show("", false);
  TypeText(upper, "caf\xE9");
  EXPECT_EQ(upper.Text(), "CAF\xC9");
  SetAsciiCasePairs();

  EntryEditor words(display, {}, kEntryCapitalise);
  words.Show("", false);
  TypeText(words, "it's o'clock-time 2day");
  EXPECT_EQ(words.Text(), "It's O'clock-Time 2day");
  words.Press(EntryKey::kEnd);
  words.Type(' ');
  words.Type('x', {.shift = true});  // Shift keeps the character as typed
  EXPECT_EQ(words.Text().back(), 'x');
}

TEST(EntryEditor, DeletingMovingAndWords) {
  FakeDisplay display;
  EntryEditor editor(display, {}, 0);
  editor.Show("one two3, four", false);
  editor.Press(EntryKey::kLeft, {.ctrl = true});
  EXPECT_EQ(editor.Caret(), 10u);
  editor.Press(EntryKey::kLeft, {.ctrl = true});
  EXPECT_EQ(editor.Caret(), 4u);
  editor.Press(EntryKey::kRight, {.shift = true, .ctrl = true});
  EXPECT_EQ(editor.SelectedText(), "two3, ");
  editor.Press(EntryKey::kDelete);
  EXPECT_EQ(editor.Text(), "one four");
  editor.Press(EntryKey::kBackspace);
  EXPECT_EQ(editor.Text(), "onefour");
  editor.Press(EntryKey::kHome);
  editor.Press(EntryKey::kBackspace);  // nothing before the start
  editor.Press(EntryKey::kEnd);
  editor.Press(EntryKey::kDelete);  // nothing after the end
  EXPECT_EQ(editor.Text(), "onefour");
  editor.Press(EntryKey::kInsert);
  EXPECT_EQ(editor.Text(), "onefour");
}

TEST(EntryEditor, ClipboardKeys) {
  FakeDisplay display;
  EntryEditor editor(display, {.maximumLength = 10}, 0);
  editor.Show("abcdef", false);
  editor.Press(EntryKey::kHome);
  editor.Press(EntryKey::kRight, {.shift = true});
  editor.Press(EntryKey::kRight, {.shift = true});
  editor.Press(EntryKey::kCut);
  EXPECT_EQ(display.clipboard, "ab");
  EXPECT_EQ(editor.Text(), "cdef");
  editor.Press(EntryKey::kEnd);
  editor.Press(EntryKey::kPaste);
  EXPECT_EQ(editor.Text(), "cdefab");
  display.clipboard = "12345\r\nnext line";
  editor.Press(EntryKey::kPaste);  // 6 + 5 would pass the maximum of 10
  EXPECT_EQ(editor.Text(), "cdefab");
  EXPECT_EQ(display.beeps, 1);
  display.clipboard =
      "1\x7F"
      "2\nx";
  editor.Press(EntryKey::kPaste);  // one line, characters the font has
  EXPECT_EQ(editor.Text(), "cdefab12");
}

TEST(EntryEditor, EscapeRestoresTheShownValueSelectedAndMovesOn) {
  FakeDisplay display;
  EntryEditor editor(display, {}, 0);
  editor.Show(" 5/01/1995", false);
  editor.Press(EntryKey::kHome, {.shift = true});
  TypeText(editor, "6/2/1996");
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(editor.Press(EntryKey::kEscape), EntryOutcome::kMoveOn);
  EXPECT_EQ(editor.Text(), " 5/01/1995");
  EXPECT_EQ(editor.SelectedText(), " 5/01/1995");
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(editor.Press(EntryKey::kEnter), EntryOutcome::kMoveOn);
  EXPECT_EQ(editor.Press(EntryKey::kTab), EntryOutcome::kMoveOn);
}

TEST(EntryEditor, ReadOnlyFieldOnlyCopies) {
  FakeDisplay display;
  EntryEditor editor(display, {}, kEntryReadOnly);
  editor.Show("fixed", true);
  display.clipboard = "other";
  editor.Type('x');
  editor.Press(EntryKey::kCut);
  EXPECT_EQ(display.clipboard, "other");
  editor.Press(EntryKey::kPaste);
  editor.Press(EntryKey::kDelete);
  editor.Press(EntryKey::kBackspace);
  EXPECT_EQ(editor.Text(), "fixed");
  EXPECT_EQ(display.beeps, 0);
  editor.Press(EntryKey::kCopy);
  EXPECT_EQ(display.clipboard, "fixed");
  EXPECT_FALSE(editor.Modified());
}

TEST(EntryEditor, FocusSelectsAllWhenFlaggedAndReportsEdits) {
  FakeDisplay display;
  EntryEditor editor(display, {}, 0);
  editor.Show("abc", false);
  editor.GainFocus(true);
  EXPECT_EQ(editor.SelectedText(), "abc");
  EXPECT_FALSE(editor.LoseFocus());
  editor.Press(EntryKey::kEnd);
  editor.GainFocus(false);
  EXPECT_FALSE(editor.HasSelection());
  editor.Type('d');
  EXPECT_EQ(editor.Text(), "abcd");
  EXPECT_TRUE(editor.LoseFocus());
  EXPECT_FALSE(editor.HasFocus());
}

}  // namespace
}  // namespace rk
