#include <algorithm>
#include <utility>

#include "runtime/core/picture_format.h"
#include "runtime/platform/qt/control_input_filter.h"
#include "runtime/platform/qt/list_widget.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/icon_lookup.h"
#include "runtime/windows/list_control.h"
#include "runtime/windows/list_navigation.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/thread_input.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_messages.h"
#include "runtime/windows/window_registry.h"

namespace rk {
namespace {

using platform::ListInput;
using platform::ListInputKind;

constexpr int32_t kProgramScrolledFlag = 0x800;
constexpr int32_t kThumbMaximum = 100;
constexpr uint8_t kFirstPrintable = 0x20;
constexpr int32_t kMostIcons = 255;
constexpr int kIconSize = 16;  // the size of an icon's image that a row shows

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

bool HandleTreeRequest(const platform::PlatformMessage& message) {
  Control* control = FindControlById(static_cast<uint32_t>(message.target));
  auto* list = dynamic_cast<ListControl*>(control);
  // A click on a window that takes no input now is not kept for later.
  if (list && TakesInput(list->OwnerWindow())) list->TreeRequest(message.param);
  return true;
}

}  // namespace

ListControl::ListControl(Window& window, const ControlRecord& record)
    : Control(window, record), rows_(record) {
  static bool treeRequestsHandled = false;
  if (!std::exchange(treeRequestsHandled, true)) {
    SetMessageHandler(platform::MessageKind::kTreeRequest, HandleTreeRequest);
  }
  if (!ParseListFormat(record.format, columns_)) columns_.clear();
  LayOutColumns(columns_, window.scale.x);
  CompileColumnPictures();
}

void ListControl::CompileColumnPictures() {
  pictures_.assign(columns_.size(), {});
  for (size_t c = 0; c < columns_.size(); ++c) {
    if (!columns_[c].picture.empty()) CompilePicture(columns_[c].picture, pictures_[c]);
  }
}

void ListControl::Create(QWidget& parent, const platform::PixelRect& place) {
  widget_ = CreateListWidget(&parent, place);
  widget_->SetScrollsItself(!ProgramScrolled());
  SetWidget(widget_, place);
  Refresh();
}

platform::ListWidget* ListControl::CreateListWidget(QWidget* parent,
                                                    const platform::PixelRect& place) {
  // Without a FORMAT the list shows its first field in one column as wide as
  // the list (a malformed FORMAT shows nothing: the columns are not known).
  if (Record().format.empty() && columns_.empty()) {
    ListColumn whole;
    whole.field = 1;
    whole.width = place.width;
    whole.right = whole.width;
    columns_.push_back(whole);
    CompileColumnPictures();
  }
  auto* widget = new platform::ListWidget(parent);
  widget->SetColumns(ColumnLooks());
  widget->SetIcons(icons_);
  widget->SetInputHandler([this](const ListInput& input) {
    if (input.kind == ListInputKind::kNodeClick) return RequestNode(input.value);
    Notify(platform::PackListInput(input));
  });
  return widget;
}

bool ListControl::ProgramScrolled() const {
  return (Record().flags & kProgramScrolledFlag) != 0;
}

int32_t ListControl::VisibleRows() const {
  return widget_ ? widget_->WholeRowsShown() : 0;
}

void ListControl::BeforeWait() {
  if (rows_.Changes() != shownChanges_ || rows_.Count() != shownCount_) Refresh();
}

std::vector<RaisedEvent> ListControl::OnNotice(int64_t notice) {
  std::vector<RaisedEvent> raised;
  ListInputArrived(platform::UnpackListInput(notice), raised);
  Refresh();
  return raised;
}

void ListControl::ListInputArrived(const ListInput& input, std::vector<RaisedEvent>& raised) {
  switch (input.kind) {
    case ListInputKind::kKey:
      KeyPressed(input.value, input.character, raised);
      break;
    case ListInputKind::kClick:
      SelectShown(input.value, raised);
      break;
    case ListInputKind::kRightClick:
      // Selects the row under the pointer and always tells the procedure,
      // marked as the right button; a click below the last row (or in an
      // empty list) keeps the selection, so that a popup still opens there.
      if (top_ + input.value <= rows_.Count()) selected_ = top_ + input.value;
      raised.push_back({event::kNewSelection, Number(), kMouseRight});
      break;
    case ListInputKind::kDoubleClick:
      if (!AlertedElsewhere(kMouseLeftDouble)) {
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
}

bool ListControl::SetOwnProperty(int32_t code, int32_t index, std::string_view value) {
  int32_t number = property::NumberOf(value);
  switch (code) {
    case property::kSelectedRow:
    case property::kListSelection:
      selected_ = std::max(number, 0);
      KeepSelectionShown();
      break;
    case property::kVScrollShown:
      scrollBar_ = number != 0;
      break;
    case property::kThumbPosition:
      thumb_ = std::clamp(number, 0, kThumbMaximum);
      break;
    case property::kIconList:
      if (index < 1 || index > kMostIcons) return false;
      SetIconName(index, value);
      break;
    case property::kVisibleRows:
      return true;  // read only
    default:
      return false;
  }
  Refresh();
  return true;
}

std::optional<std::string> ListControl::OwnProperty(int32_t code, int32_t index) const {
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
    case property::kIconList: {
      auto it = iconNames_.find(index);
      return it == iconNames_.end() ? std::string() : it->second;
    }
    default:
      return std::nullopt;
  }
}

// Icon `number` of the list becomes the icon of that name; a name that names
// no icon leaves the number to the default shapes.
void ListControl::SetIconName(int32_t number, std::string_view name) {
  if (name.find_first_not_of(' ') == std::string_view::npos) {
    iconNames_.erase(number);
  } else {
    iconNames_[number] = std::string(name);
  }
  icons_.assign(iconNames_.empty() ? 0 : iconNames_.rbegin()->first, QImage());
  for (const auto& [slot, iconName] : iconNames_) {
    icons_[slot - 1] = IconNamed(iconName).pixmap(kIconSize).toImage();
  }
  if (widget_) widget_->SetIcons(icons_);
}

TreeNodeState ListControl::NodeState(int32_t row) const {
  const ListColumn* tree = TreeColumn();
  if (!tree || row < 1 || row > rows_.Count()) return kNodeLeaf;
  std::vector<int32_t> levels{rows_.FieldNumber(row, tree->treeField)};
  if (row < rows_.Count()) levels.push_back(rows_.FieldNumber(row + 1, tree->treeField));
  return TreeNodeStates(levels)[0];
}

// A key pressed in the list. A key that some control holds as an alert key
// belongs to the window's key handling, which has raised 0x0F for it already.
void ListControl::KeyPressed(int32_t keyCode, uint8_t character, std::vector<RaisedEvent>& raised) {
  if (keyCode != 0 && AlertedElsewhere(keyCode)) return;
  if (NodeKey(keyCode, character)) return;
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
  if (int32_t target = SelfScrollTargetOf(keyCode, character)) MoveSelection(target, raised);
}

// Right or '+' opens the selected tree node and Left or '-' closes it, as a
// click on its box does, so that a tree can be worked from the keyboard.
bool ListControl::NodeKey(int32_t keyCode, uint8_t character) {
  bool open = keyCode == kKeyRight || character == '+';
  bool close = keyCode == kKeyLeft || character == '-';
  if ((!open && !close) || !TreeColumn() || selected_ < 1 || selected_ > rows_.Count()) {
    return false;
  }
  TreeNodeState state = NodeState(selected_);
  // A positive level with nothing shown below it is a closed node that can
  // open; a negative one has nothing to open.
  if (open && state == kNodeLeaf) TreeRequest((int64_t{selected_} << 1) | 1);
  if (close && state == kNodeOpen) TreeRequest(int64_t{selected_} << 1);
  return true;
}

int32_t ListControl::SelfScrollTargetOf(int32_t keyCode, uint8_t character) const {
  int32_t target = SelfScrollTarget(keyCode, selected_, rows_.Count(), VisibleRows());
  if (target == 0 && character > kFirstPrintable) {
    target = LocateRow(character, selected_, rows_.Count(), [this](int32_t row) {
      return columns_.empty() ? std::string() : CellText(row, 0);
    });
  }
  return target;
}

bool ListControl::AlertedElsewhere(int32_t keyCode) const {
  for (const std::unique_ptr<Control>& control : OwnerWindow().controls) {
    if (control->Active() && control->HasAlertKey(keyCode)) return true;
  }
  return false;
}

void ListControl::SelectShown(int32_t shown, std::vector<RaisedEvent>& raised) {
  int32_t row = top_ + shown;
  if (row >= 1 && row <= rows_.Count()) MoveSelection(row, raised);
}

void ListControl::MoveSelection(int32_t row, std::vector<RaisedEvent>& raised) {
  if (row == selected_) return;
  selected_ = row;
  KeepSelectionShown();
  raised.push_back({event::kNewSelection, Number()});
}

void ListControl::ScrollBarAction(int32_t action, std::vector<RaisedEvent>& raised) {
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
void ListControl::RequestNode(int32_t shown) const {
  platform::FiberId fiber = FiberOfThread(OwnerWindow().thread);
  if (fiber == 0) return;
  int64_t expand = widget_->NodeOf(shown) == platform::ListNode::kOpen ? 0 : 1;
  int64_t param = (int64_t{top_ + shown} << 1) | expand;
  platform::TheScheduler().Post(fiber, {platform::MessageKind::kTreeRequest, Id(), param, nullptr});
}

// The event is sent synchronously and the follow-up 0x19 / 0x18 is posted when
// the body does not refuse it. A request that no longer matches the row (the
// queue changed since the click) is dropped.
void ListControl::TreeRequest(int64_t param) {
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

void ListControl::KeepSelectionShown() {
  if (ProgramScrolled() || selected_ < 1) return;
  int32_t page = std::max(VisibleRows(), 1);
  if (selected_ < top_) top_ = selected_;
  if (selected_ >= top_ + page) top_ = selected_ - page + 1;
}

const ListColumn* ListControl::TreeColumn() const {
  for (const ListColumn& column : columns_) {
    if (column.Has(kColumnTree)) return &column;
  }
  return nullptr;
}

std::string ListControl::CellText(int32_t row, size_t column) const {
  std::string text = rows_.FieldText(row, columns_[column].field);
  if (columns_[column].picture.empty()) return text;
  return FormatText(text, pictures_[column]);
}

platform::ListCellLook ListControl::CellLook(int32_t row, size_t c) const {
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

platform::ListRowLook ListControl::RowLook(int32_t row) const {
  platform::ListRowLook look;
  for (size_t c = 0; c < columns_.size(); ++c) look.push_back(CellLook(row, c));
  return look;
}

std::vector<platform::ListColumnLook> ListControl::ColumnLooks() const {
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
void ListControl::Refresh() {
  shownChanges_ = rows_.Changes();
  shownCount_ = rows_.Count();
  if (!widget_) return;
  if (selected_ > shownCount_) selected_ = shownCount_;
  top_ = std::clamp(top_, 1, std::max(shownCount_, 1));
  int32_t page = std::max(VisibleRows(), 1);
  std::vector<platform::ListRowLook> looks;
  for (int32_t row = top_; row <= shownCount_ && row < top_ + page + 1; ++row) {
    looks.push_back(RowLook(row));
  }
  widget_->SetRows(std::move(looks), selected_ >= top_ ? selected_ - top_ : -1);
  if (ProgramScrolled()) {
    widget_->SetScrollBar(scrollBar_, kThumbMaximum, thumb_, 10);
  } else {
    widget_->SetScrollBar(scrollBar_, std::max(shownCount_ - page, 0), top_ - 1, page);
  }
}

std::unique_ptr<Control> MakeListControl(Window& window, const ControlRecord& record) {
  if (record.dropCount != 0) return MakeDropListControl(window, record);
  return std::make_unique<ListControl>(window, record);
}

}  // namespace rk
