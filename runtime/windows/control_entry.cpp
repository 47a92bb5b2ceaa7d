// ENTRY: the single-line field over a variable, drawn by the runtime. The text,
// caret and selection live in an EntryEditor; the widget paints them and hands
// keys, mouse and focus back here.
//
// The field shows its variable formatted by its picture. What the person typed
// is read back with ReadTypedText, so a field edited in place reads position by
// position and a freely typed one by its meaning; a value the picture cannot
// show is refused with a beep. A REQUIRED field that is
// blank is not acceptable either.
//
// The mode comes from the control's flags: READONLY (only copying works), UPPER
// (everything typed or pasted is upper case), CAP (each word typed begins with
// a capital) and SELECTALL (gaining the focus selects the whole text). The
// field holds at most the picture's width in characters; without a picture, the
// size of a text variable (at most 255). It always scrolls horizontally.
//
// Leaving the field after a change raises 0x1A (changed and left), then the
// field is accepted: accepted (0x01) follows when the value was taken. A
// refused value takes the focus back with the typed text selected. An
// unnumbered field is accepted the same way but raises nothing.
#include <QFontMetrics>
#include <QPointer>
#include <memory>
#include <optional>

#include "runtime/core/picture.h"
#include "runtime/core/picture_typed_text.h"
#include "runtime/core/type_codes.h"
#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/beep.h"
#include "runtime/platform/qt/clipboard.h"
#include "runtime/platform/qt/entry_widget.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/definition_flags.h"
#include "runtime/windows/entry_editor.h"
#include "runtime/windows/entry_keys.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/focus_return.h"

namespace rk {
namespace {

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

uint8_t ModeOf(int32_t flags) {
  uint8_t mode = 0;
  if (flags & control_flag::kReadOnly) mode |= kEntryReadOnly;
  if (flags & control_flag::kUpper) mode |= kEntryUpper;
  if (flags & control_flag::kCapitalise) mode |= kEntryCapitalise;
  return mode;
}

// The platform behind the editor: the real beep and clipboard, the widget's font.
class WidgetServices : public EntryServices {
 public:
  void SetWidget(QWidget* widget) { widget_ = widget; }
  void Beep() override { platform::Beep(); }
  std::string ClipboardText() override { return platform::ClipboardText(); }
  void SetClipboardText(const std::string& text) override { platform::SetClipboardText(text); }
  bool FontHas(uint8_t c) override {
    QString shown = platform::FromAnsi(std::string_view(reinterpret_cast<const char*>(&c), 1));
    return !shown.isEmpty() && QFontMetrics(widget_->font()).inFont(shown[0]);
  }
  int CharWidth(uint8_t c) override {
    return QFontMetrics(widget_->font())
        .horizontalAdvance(
            platform::FromAnsi(std::string_view(reinterpret_cast<const char*>(&c), 1)));
  }

 private:
  QWidget* widget_ = nullptr;
};

class EntryControl : public Control, private platform::EntryInput {
 public:
  EntryControl(Window& window, const ControlRecord& record) : Control(window, record) {
    hasPicture_ = !record.picture.empty() && CompilePicture(record.picture, picture_) != 0;
  }

  // The widget reports to this object; it must not outlive it.
  ~EntryControl() override { delete field_.data(); }

  void Create(QWidget& parent, const platform::PixelRect& place) override {
    editor_ = std::make_unique<EntryEditor>(services_, EntryLimits{MaximumLength()},
                                            ModeOf(Record().flags));
    field_ = new platform::EntryWidget(&parent, *this);
    field_->SetReadOnly((editor_->Mode() & kEntryReadOnly) != 0);
    services_.SetWidget(field_);
    SetWidget(field_, place);
    Redraw();
  }

  void ShowValue() override {
    if (!editor_ || !HasVariable()) return;
    // Trailing blanks are padding, not text: a field shown full of them would
    // refuse every character typed at its end.
    editor_->Show(std::string(ClipRight(VariableText())), editor_->HasFocus() && SelectsAll());
    Redraw();
  }

  // Stores what was typed and shows it again as the picture shows it, so the
  // edits are settled: leaving the field afterwards raises nothing more.
  bool AcceptValue() override {
    if (!editor_ || !HasVariable()) return true;
    std::optional<std::string> value = TypedValue(editor_->Text());
    if (!value) return Refuse();
    StoreVariableValue(*value);
    ShowValue();
    return true;
  }

  bool TakesInput() const override { return HasVariable() && !(editor_->Mode() & kEntryReadOnly); }

  void SelectForCorrection() override {
    if (!editor_) return;
    editor_->PlaceCaret(0, false);
    editor_->PlaceCaret(editor_->Text().size(), true);
    Redraw();
  }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    if (notice != kNoticeEdited) return {};
    std::vector<RaisedEvent> raised;
    if (IsNumbered()) raised.push_back({event::kChangedAndLeft, Number()});
    if (!AcceptValue()) {
      ReturnFocusAfterRefusal(*this);
      return raised;
    }
    if (IsNumbered()) raised.push_back({event::kAccepted, Number()});
    return raised;
  }

 private:
  // The value the typed text stands for; nothing when it is not acceptable.
  std::optional<std::string> TypedValue(const std::string& text) const {
    if ((Record().flags & control_flag::kRequired) && IsBlank(text)) return std::nullopt;
    if (!hasPicture_ || picture_.Kind() == PictureKind::kString) {
      return text;  // a string picture shows the text as it is
    }
    std::string value = ReadTypedText(text, picture_);
    if (!PictureCanShow(value, picture_)) return std::nullopt;
    return value;
  }

  bool SelectsAll() const { return (Record().flags & control_flag::kSelectAll) != 0; }

  int MaximumLength() {
    if (hasPicture_) return picture_.Width();
    if (HasVariable() && IsTextType(Variable().Type())) {
      return static_cast<int>(std::min<uint32_t>(Variable().Size(), kMaxPictureWidth));
    }
    return kMaxPictureWidth;
  }

  // A value that cannot be taken: the person hears it; the text stays as typed
  // for correction and the validation pass stops at this field.
  bool Refuse() {
    platform::Beep();
    return false;
  }

  void Redraw() {
    if (!field_) return;
    field_->SetState(
        {editor_->Text(), editor_->Caret(), editor_->SelectionStart(), editor_->SelectionEnd()});
  }

  bool EntryKey(int qtKey, uint8_t typed, bool shift, bool ctrl) override {
    EntryOutcome outcome = EntryOutcome::kHandled;
    if (std::optional<rk::EntryKey> key = EntryKeyOf(qtKey, ctrl)) {
      outcome = editor_->Press(*key, {shift, ctrl});
    } else if (typed != 0) {
      outcome = editor_->Type(typed, {shift, ctrl});
    }
    Redraw();
    return outcome == EntryOutcome::kHandled;
  }

  void EntryPointed(size_t position, bool extend) override {
    editor_->PlaceCaret(position, extend);
    Redraw();
  }

  void EntryFocus(bool gained) override {
    if (gained) {
      editor_->GainFocus(SelectsAll());
    } else if (editor_->LoseFocus() && !FocusBeingReturned()) {
      Notify(kNoticeEdited);
    }
    Redraw();
  }

  CompiledPicture picture_;
  bool hasPicture_ = false;
  WidgetServices services_;
  std::unique_ptr<EntryEditor> editor_;
  QPointer<platform::EntryWidget> field_;
};

}  // namespace

std::unique_ptr<Control> MakeEntryControl(Window& window, const ControlRecord& record) {
  return std::make_unique<EntryControl>(window, record);
}

}  // namespace rk
