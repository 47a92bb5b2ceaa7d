// A drop list: a LIST with a drop count. The closed face shows the current
// choice in the list's columns; opening it (a click, Alt+Down, Alt+Up, F4)
// shows the list's own widget as a popup below the face, self-scrolling and as
// tall as the drop count's rows, with the current choice selected.
//
// Inside the popup the keys and the locator move the highlighted row and post
// nothing. Enter, a click or F4 chooses it; Escape or a click outside closes
// the popup and puts the choice back. Choosing a row posts 0x02 (new selection)
// when it differs from the choice before, then 0x01 (accepted). Keys that
// navigate or locate on the closed face choose at once.
//
// Two kinds share this: fixed choices ("VHS|SVHS|...", a constant FROM text),
// where choosing stores the chosen text in the USE variable and DISPLAY finds
// the variable's text among the choices; and a FROM queue, where the chosen
// entry becomes the list's selection and the procedure copies it from the
// queue.
#include <algorithm>
#include <cctype>

#include "runtime/platform/qt/control_input_filter.h"
#include "runtime/platform/qt/drop_face_widget.h"
#include "runtime/platform/qt/list_widget.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/list_control.h"
#include "runtime/windows/list_navigation.h"

namespace rk {
namespace {

using platform::ListInput;
using platform::ListInputKind;

// F4, Alt+Down and Alt+Up open the popup and, pressed in it, choose.
bool TogglesPopup(int32_t keyCode) {
  return keyCode == kKeyF4 || keyCode == (kKeyAlt | kKeyDown) || keyCode == (kKeyAlt | kKeyUp);
}

bool SameChoice(std::string_view a, std::string_view b) {
  return std::ranges::equal(ClipRight(a), ClipRight(b), [](unsigned char x, unsigned char y) {
    return std::toupper(x) == std::toupper(y);
  });
}

class DropListControl : public ListControl {
 public:
  using ListControl::ListControl;

  void Create(QWidget& parent, const platform::PixelRect& place) override {
    face_ = new platform::DropFaceWidget(&parent);
    widget_ = CreateListWidget(face_, place);
    widget_->SetScrollsItself(true);
    face_->SetPopup(*widget_);
    face_->SetColumns(ColumnLooks());
    face_->SetInputHandler(
        [this](const ListInput& input) { Notify(platform::PackListInput(input)); });
    SetWidget(face_, place);
    Refresh();
  }

  bool TakesInput() const override { return HasVariable(); }

  // While the popup is open the selection is the highlight, which DISPLAY
  // leaves alone; the choice it falls back to follows the variable.
  void ShowValue() override {
    if (FixedChoices() && HasVariable()) {
      int32_t& choice = open_ ? before_ : selected_;
      choice = ChoiceOfVariable();
    }
    Refresh();
  }

  bool AcceptValue() override {
    StoreChoice();
    return true;
  }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    ListInput input = platform::UnpackListInput(notice);
    std::vector<RaisedEvent> raised;
    switch (input.kind) {
      case ListInputKind::kDropOpen:
        Open();
        break;
      case ListInputKind::kDropClosed:
        if (open_) Close(false, raised);
        break;
      case ListInputKind::kFaceKey:
        FaceKey(input.value, input.character, raised);
        break;
      default:
        if (open_) PopupInput(input, raised);  // input a closed popup left behind is dropped
        break;
    }
    Refresh();
    return raised;
  }

 protected:
  bool ProgramScrolled() const override { return false; }
  int32_t VisibleRows() const override { return Record().dropCount; }

  void Refresh() override {
    scrollBar_ = rows_.Count() > Record().dropCount;
    ListControl::Refresh();
    if (!face_) return;
    face_->SetIcons(Icons());
    face_->SetChoice(selected_ >= 1 && selected_ <= rows_.Count() ? RowLook(selected_)
                                                                  : UnlistedLook());
  }

 private:
  bool FixedChoices() const { return Record().from && Record().from->constantText; }

  // The choice (from 1) whose text the variable holds, 0 for none.
  int32_t ChoiceOfVariable() const {
    std::string value = VariableText();
    for (int32_t row = 1; row <= rows_.Count(); ++row) {
      if (SameChoice(rows_.FieldText(row, 1), value)) return row;
    }
    return 0;
  }

  // A list of a queue's names with no row chosen shows its variable as it is,
  // a value no longer among the names included, so that what the face shows
  // is what the record holds. Fixed choices show only a choice.
  platform::ListRowLook UnlistedLook() const {
    if (!HasVariable() || FixedChoices()) return {};
    std::string text(ClipRight(VariableText()));
    if (text.empty()) return {};
    platform::ListCellLook cell;
    cell.text = std::move(text);
    return {cell};
  }

  void StoreChoice() {
    if (FixedChoices() && selected_ >= 1 && selected_ <= rows_.Count()) {
      StoreVariableValue(rows_.FieldText(selected_, 1));
    }
  }

  void Open() {
    if (open_ || !Active()) return;
    open_ = true;
    before_ = selected_;
    top_ = 1;
    KeepSelectionShown();
    Refresh();
    face_->ShowPopup(std::min(std::max(rows_.Count(), 1), VisibleRows()));
  }

  // Closes the popup; choosing takes the highlighted row, else the choice
  // from before the popup opened stays.
  void Close(bool choose, std::vector<RaisedEvent>& raised) {
    open_ = false;
    face_->HidePopup();
    int32_t highlighted = selected_;
    selected_ = before_;
    if (choose && highlighted >= 1) Choose(highlighted, raised);
  }

  void Choose(int32_t row, std::vector<RaisedEvent>& raised) {
    bool changed = row != selected_;
    selected_ = row;
    StoreChoice();
    if (changed) raised.push_back({event::kNewSelection, Number()});
    raised.push_back({event::kAccepted, Number()});
  }

  void PopupInput(const ListInput& input, std::vector<RaisedEvent>& raised) {
    switch (input.kind) {
      case ListInputKind::kKey:
        if (input.value == kKeyEscape) return Close(false, raised);
        if (input.value == kKeyEnter || TogglesPopup(input.value)) return Close(true, raised);
        if (int32_t row = SelfScrollTargetOf(input.value, input.character)) {
          selected_ = row;
          KeepSelectionShown();
        }
        return;
      case ListInputKind::kClick:
      case ListInputKind::kDoubleClick:
        if (top_ + input.value <= rows_.Count()) {
          selected_ = top_ + input.value;
          Close(true, raised);
        }
        return;
      case ListInputKind::kScrolledTo:
        return ListInputArrived(input, raised);
      default:
        return;
    }
  }

  // A key on the closed face: F4, Alt+Down and Alt+Up open the popup; one that
  // navigates or locates chooses its row at once. Alert keys belong to the
  // window.
  void FaceKey(int32_t keyCode, uint8_t character, std::vector<RaisedEvent>& raised) {
    if (keyCode != 0 && AlertedElsewhere(keyCode)) return;
    if (TogglesPopup(keyCode)) return Open();
    int32_t row = SelfScrollTargetOf(keyCode, character);
    if (row != 0 && row != selected_) Choose(row, raised);
  }

  platform::DropFaceWidget* face_ = nullptr;
  bool open_ = false;
  int32_t before_ = 0;  // the choice when the popup opened
};

}  // namespace

std::unique_ptr<Control> MakeDropListControl(Window& window, const ControlRecord& record) {
  return std::make_unique<DropListControl>(window, record);
}

}  // namespace rk
