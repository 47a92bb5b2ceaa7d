// LIST: a list box, or with a drop count a drop list, over the rows of its FROM
// queue laid out in the columns of its FORMAT string.
//
// Two modes, chosen by control flag 0x800. A self-scrolling list owns all its
// rows: keys, the locator and its scroll bar move its selection and its top row
// themselves. A program-scrolled list (every browse) shows the page of rows the
// procedure keeps in the queue and never moves by itself: navigation keys and
// scroll-bar actions become scroll events (0x03-0x08, 0x14) for the procedure,
// and every typed key reaches it as an alert-key event with its character.
//
// The widget paints the rows this object hands it; they are read again on
// DISPLAY, on a change of the list's properties, after its own input and when
// the thread is about to wait while the queue has changed.
#include <QComboBox>
#include <QImage>
#include <algorithm>
#include <utility>

#include "runtime/core/picture.h"
#include "runtime/core/picture_format.h"
#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/control_input_filter.h"
#include "runtime/platform/qt/list_widget.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/control_text_of.h"
#include "runtime/windows/definition_flags.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/list_format.h"
#include "runtime/windows/list_navigation.h"
#include "runtime/windows/list_rows.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_messages.h"
#include "runtime/windows/window_registry.h"

namespace rk {
namespace {

using platform::ListInput;
using platform::ListInputKind;

constexpr int32_t kProgramScrolled = 0x800;
constexpr int32_t kThumbMaximum = 100;
constexpr int32_t kRightClickKey = 2;
constexpr uint8_t kFirstPrintable = 0x20;

platform::ListNode NodeLook(TreeNodeState state) {
  switch (state) {
    case kNodeOpen:
      return platform::ListNode::kOpen;
    case kNodeLeaf:  // a positive level with nothing shown below it can open
      return platform::ListNode::kClosed;
    default:
      return platform::ListNode::kNone;
  }
}

class ListControl;

bool HandleTreeRequest(const platform::PlatformMessage& message);

class ListControl : public Control {
 public:
  ListControl(Window& window, const ControlRecord& record)
      : Control(window, record), rows_(record) {
    static bool treeRequestsHandled = false;
    if (!std::exchange(treeRequestsHandled, true)) {
      SetMessageHandler(platform::MessageKind::kTreeRequest, HandleTreeRequest);
    }
    if (!ParseListFormat(record.format, columns_)) columns_.clear();
    LayOutColumns(columns_, window.scale.x);
    pictures_.resize(columns_.size());
    for (size_t c = 0; c < columns_.size(); ++c) {
      if (!columns_[c].picture.empty()) CompilePicture(columns_[c].picture, pictures_[c]);
    }
  }

  void Create(QWidget& parent, const QRect& place) override {
    if (IsDropList() && Record().from && Record().from->constantText) {
      return CreateChoices(parent, place, *Record().from->constantText);
    }
    widget_ = new platform::ListWidget(&parent);
    if (IsDropList()) widget_->setObjectName("QvnDrop");
    widget_->SetScrollsItself(!ProgramScrolled());
    widget_->SetColumns(ColumnLooks());
    widget_->SetInputHandler([this](const ListInput& input) {
      if (input.kind == ListInputKind::kNodeClick) return RequestNode(input.value);
      Notify(platform::PackListInput(input));
    });
    SetWidget(widget_, place);
    Refresh();
  }

  bool ProgramScrolled() const { return (Record().flags & kProgramScrolled) != 0; }
  bool IsDropList() const { return Record().dropCount != 0; }
  int32_t Choice() const override { return selected_; }
  bool TakesInput() const override { return IsDropList() && HasVariable(); }
  void ShowValue() override {
    if (choices_) return ShowChoice();
    Refresh();
  }

  bool AcceptValue() override {
    if (choices_ && HasVariable() && choices_->currentIndex() >= 0) {
      StoreVariableText(platform::ToAnsi(choices_->currentText()));
    }
    return true;
  }
  void BeforeWait() override {
    if (rows_.Changes() != shownChanges_ || rows_.Count() != shownCount_) Refresh();
  }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    if (choices_) return ChoiceNotice(notice);
    ListInput input = platform::UnpackListInput(notice);
    std::vector<RaisedEvent> raised;
    switch (input.kind) {
      case ListInputKind::kKey:
        KeyPressed(input.value, input.character, raised);
        break;
      case ListInputKind::kClick:
        SelectShown(input.value, raised);
        break;
      case ListInputKind::kRightClick:
        // Selects the row and always tells the procedure, marked as the right button.
        if (top_ + input.value <= rows_.Count()) {
          selected_ = top_ + input.value;
          raised.push_back({event::kNewSelection, Number(), kRightClickKey});
        }
        break;
      case ListInputKind::kDoubleClick:
        if (!AlertedElsewhere(platform::kMouseLeftDouble)) {
          SelectShown(input.value, raised);
          raised.push_back({event::kAccepted, Number()});
        }
        break;
      case ListInputKind::kScrollAction:
        ScrollBarAction(input.value, raised);
        break;
      case ListInputKind::kThumbReleased:
        thumb_ = std::clamp(input.value, 0, kThumbMaximum);
        raised.push_back({event::kScrollDrag, Number()});
        break;
      case ListInputKind::kScrolledTo:
        top_ = std::clamp(input.value + 1, 1, std::max(rows_.Count(), 1));
        break;
      default:
        break;
    }
    Refresh();
    return raised;
  }

  bool SetOwnProperty(int32_t code, int32_t, std::string_view value) override {
    int32_t number = property::NumberOf(value);
    switch (code) {
      case property::kSelectedRow:
      case property::kListSelection:
        selected_ = std::max(number, 0);
        if (choices_) choices_->setCurrentIndex(selected_ - 1);
        KeepSelectionShown();
        break;
      case property::kVScrollShown:
        scrollBar_ = number != 0;
        break;
      case property::kThumbPosition:
        thumb_ = std::clamp(number, 0, kThumbMaximum);
        break;
      case property::kVisibleRows:
        return true;  // read only
      default:
        return false;
    }
    Refresh();
    return true;
  }

  std::optional<std::string> OwnProperty(int32_t code, int32_t) const override {
    switch (code) {
      case property::kSelectedRow:
      case property::kListSelection:
        return std::to_string(selected_);
      case property::kVScrollShown:
        return scrollBar_ ? "1" : "0";
      case property::kThumbPosition:
        return std::to_string(thumb_);
      case property::kVisibleRows:
        return std::to_string(VisibleRows());
      default:
        return std::nullopt;
    }
  }

  // The tree column's node of a row, worked out from the levels around it.
  TreeNodeState NodeState(int32_t row) const {
    const ListColumn* tree = TreeColumn();
    if (!tree || row < 1 || row > rows_.Count()) return kNodeLeaf;
    std::vector<int32_t> levels{rows_.FieldNumber(row, tree->treeField)};
    if (row < rows_.Count()) levels.push_back(rows_.FieldNumber(row + 1, tree->treeField));
    return TreeNodeStates(levels)[0];
  }

 private:
  int32_t VisibleRows() const {
    if (IsDropList()) return Record().dropCount;
    return widget_ ? widget_->WholeRowsShown() : 0;
  }

  // A drop list of fixed choices ("VHS|SVHS|...") is a combo box over its variable.
  void CreateChoices(QWidget& parent, const QRect& place, std::string_view choices) {
    choices_ = new QComboBox(&parent);
    choices_->setObjectName("QvnDrop");
    choices_->setMaxVisibleItems(Record().dropCount);
    for (const QString& choice : platform::FromAnsi(choices).split('|')) choices_->addItem(choice);
    choices_->setCurrentIndex(-1);
    QObject::connect(choices_, &QComboBox::activated, [this] { Notify(kNoticeValueChanged); });
    SetWidget(choices_, place);
  }

  void ShowChoice() {
    if (!HasVariable()) return;
    QString value = platform::FromAnsi(ClipRight(VariableText()));
    int index = choices_->findText(value, Qt::MatchFixedString);
    choices_->setCurrentIndex(index);
    selected_ = index + 1;
  }

  std::vector<RaisedEvent> ChoiceNotice(int64_t notice) {
    if (notice != kNoticeValueChanged) return {};
    selected_ = choices_->currentIndex() + 1;
    AcceptValue();
    return {{event::kNewSelection, Number()}, {event::kAccepted, Number()}};
  }

  // A key pressed in the list. A key that some control holds as an alert key
  // belongs to the window's key handling, which has raised 0x0F for it already.
  void KeyPressed(int32_t keyCode, uint8_t character, std::vector<RaisedEvent>& raised) {
    if (keyCode != 0 && AlertedElsewhere(keyCode)) return;
    if (keyCode == kKeyEnter) {
      if (selected_ > 0) raised.push_back({event::kAccepted, Number()});
      return;
    }
    if (ProgramScrolled()) {
      if (int32_t code = ProgramScrollEvent(keyCode)) {
        raised.push_back({code, Number()});
      } else if (character >= kFirstPrintable || keyCode == kKeyBackspace) {
        raised.push_back({event::kAlertKey, Number(), keyCode, character});
      }
      return;
    }
    int32_t target = SelfScrollTarget(keyCode, selected_, rows_.Count(), VisibleRows());
    if (target == 0 && character > kFirstPrintable) {
      target = LocateRow(character, selected_, rows_.Count(), [this](int32_t row) {
        return columns_.empty() ? std::string() : CellText(row, 0);
      });
    }
    if (target != 0) MoveSelection(target, raised);
  }

  bool AlertedElsewhere(int32_t keyCode) const {
    for (const std::unique_ptr<Control>& control : OwnerWindow().controls) {
      if (control->Active() && control->HasAlertKey(keyCode)) return true;
    }
    return false;
  }

  void SelectShown(int32_t shown, std::vector<RaisedEvent>& raised) {
    int32_t row = top_ + shown;
    if (row >= 1 && row <= rows_.Count()) MoveSelection(row, raised);
  }

  void MoveSelection(int32_t row, std::vector<RaisedEvent>& raised) {
    if (row == selected_) return;
    selected_ = row;
    KeepSelectionShown();
    raised.push_back({event::kNewSelection, Number()});
  }

  void ScrollBarAction(int32_t action, std::vector<RaisedEvent>& raised) {
    static constexpr int32_t kEvents[] = {0,
                                          event::kScrollUp,
                                          event::kScrollDown,
                                          event::kPageUp,
                                          event::kPageDown,
                                          event::kScrollTop,
                                          event::kScrollBottom};
    if (action >= 1 && action <= 6) raised.push_back({kEvents[action], Number()});
  }

  // A click on a tree node, in the widget's callback: it only asks the owning
  // thread, which opens or closes the node afterwards (TreeRequest).
  void RequestNode(int32_t shown) const {
    platform::FiberId fiber = FiberOfThread(OwnerWindow().thread);
    if (fiber == 0) return;
    int64_t expand = widget_->NodeOf(shown) == platform::ListNode::kOpen ? 0 : 1;
    int64_t param = (int64_t{top_ + shown} << 1) | expand;
    platform::TheScheduler().Post(fiber,
                                  {platform::MessageKind::kTreeRequest, Id(), param, nullptr});
  }

 public:
  // An open node asks to contract (0x17), any other to expand (0x16); the event
  // is sent synchronously and the follow-up 0x19 / 0x18 is posted when the body
  // does not refuse it. A request that no longer matches the row (the queue
  // changed since the click) is dropped.
  void TreeRequest(int64_t param) {
    int32_t row = static_cast<int32_t>(param >> 1);
    bool expand = (param & 1) != 0;
    if (row < 1 || row > rows_.Count() || !TreeColumn()) return;
    if ((NodeState(row) == kNodeOpen) == expand) return;
    selected_ = row;
    EventRecord record{expand ? event::kExpanding : event::kContracting, Number(),
                       OwnerWindow().Id()};
    record.synchronous = true;
    OwnerWindow().urgent.push_back(record);
    Refresh();
  }

 private:
  void KeepSelectionShown() {
    if (ProgramScrolled() || selected_ < 1) return;
    int32_t page = std::max(VisibleRows(), 1);
    if (selected_ < top_) top_ = selected_;
    if (selected_ >= top_ + page) top_ = selected_ - page + 1;
  }

  const ListColumn* TreeColumn() const {
    for (const ListColumn& column : columns_) {
      if (column.Has(kColumnTree)) return &column;
    }
    return nullptr;
  }

  std::string CellText(int32_t row, size_t column) const {
    std::string text = rows_.FieldText(row, columns_[column].field);
    if (columns_[column].picture.empty()) return text;
    return FormatText(text, pictures_[column]);
  }

  platform::ListCellLook CellLook(int32_t row, size_t c) const {
    const ListColumn& column = columns_[c];
    platform::ListCellLook cell;
    cell.text = CellText(row, c);
    if (column.flags2 & kColumnColours) {
      for (int i = 0; i < 4; ++i) cell.colours[i] = rows_.FieldNumber(row, column.colourField + i);
    }
    if (column.Has(kColumnIcon)) cell.icon = rows_.FieldNumber(row, column.iconField);
    if (column.Has(kColumnTree)) {
      cell.level = rows_.FieldNumber(row, column.treeField);
      cell.node = NodeLook(NodeState(row));
    }
    return cell;
  }

  std::vector<platform::ListColumnLook> ColumnLooks() const {
    std::vector<platform::ListColumnLook> looks;
    for (const ListColumn& column : columns_) {
      platform::ListColumnLook look;
      look.left = column.left;
      look.width = std::max(column.width, 0);
      look.indent = column.indent;
      look.headerIndent = column.headerIndent;
      look.dataJustification = column.DataJustification();
      look.headerJustification = column.HeaderJustification();
      look.header = column.header;
      look.rightBorder = column.Has(kColumnRightBorder);
      look.underline = column.Has(kColumnUnderline);
      look.resizable = column.Has(kColumnResizable);
      look.tree = column.Has(kColumnTree);
      look.icon = column.Has(kColumnIcon);
      looks.push_back(std::move(look));
    }
    return looks;
  }

  // Hands the widget the rows from the top row down as far as they fit, and
  // sets the scroll bar: the thumb property for a program-scrolled list, the
  // top row for one that scrolls itself.
  void Refresh() {
    shownChanges_ = rows_.Changes();
    shownCount_ = rows_.Count();
    if (!widget_) return;
    if (selected_ > shownCount_) selected_ = shownCount_;
    top_ = std::clamp(top_, 1, std::max(shownCount_, 1));
    int32_t page = std::max(VisibleRows(), 1);
    std::vector<platform::ListRowLook> looks;
    for (int32_t row = top_; row <= shownCount_ && row < top_ + page + 1; ++row) {
      platform::ListRowLook look;
      for (size_t c = 0; c < columns_.size(); ++c) look.push_back(CellLook(row, c));
      looks.push_back(std::move(look));
    }
    widget_->SetRows(std::move(looks), selected_ >= top_ ? selected_ - top_ : -1);
    if (ProgramScrolled()) {
      widget_->SetScrollBar(scrollBar_, kThumbMaximum, thumb_, 10);
    } else {
      widget_->SetScrollBar(scrollBar_, std::max(shownCount_ - page, 0), top_ - 1, page);
    }
  }

  platform::ListWidget* widget_ = nullptr;
  QComboBox* choices_ = nullptr;
  ListRows rows_;
  std::vector<ListColumn> columns_;
  std::vector<CompiledPicture> pictures_;
  int32_t selected_ = 0;
  int32_t top_ = 1;
  bool scrollBar_ = true;
  int32_t thumb_ = 0;
  uint32_t shownChanges_ = 0;
  int32_t shownCount_ = -1;
};

bool HandleTreeRequest(const platform::PlatformMessage& message) {
  Control* control = FindControlById(static_cast<uint32_t>(message.target));
  if (auto* list = dynamic_cast<ListControl*>(control)) list->TreeRequest(message.param);
  return true;
}

}  // namespace

std::unique_ptr<Control> MakeListControl(Window& window, const ControlRecord& record) {
  return std::make_unique<ListControl>(window, record);
}

}  // namespace rk
