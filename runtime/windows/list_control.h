// LIST: a list box over the rows of its FROM queue laid out in the columns of
// its FORMAT string. A drop list (a LIST with a drop count) builds on it in
// control_drop_list.cpp.
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
#pragma once

#include <QImage>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "runtime/core/picture.h"
#include "runtime/platform/qt/list_input.h"
#include "runtime/platform/qt/list_looks.h"
#include "runtime/windows/control.h"
#include "runtime/windows/list_format.h"
#include "runtime/windows/list_rows.h"

namespace rk {

namespace platform {
class ListWidget;
}

class ListControl : public Control {
 public:
  ListControl(Window& window, const ControlRecord& record);

  void Create(QWidget& parent, const platform::PixelRect& place) override;
  int32_t Choice() const override { return selected_; }
  void ShowValue() override { Refresh(); }
  void BeforeWait() override;
  std::vector<RaisedEvent> OnNotice(int64_t notice) override;
  bool SetOwnProperty(int32_t code, int32_t index, std::string_view value) override;
  std::optional<std::string> OwnProperty(int32_t code, int32_t index) const override;

  // The tree column's node of a row, worked out from the levels around it.
  TreeNodeState NodeState(int32_t row) const;
  // A key that opens or closes the selected tree node; true when it was one.
  bool NodeKey(int32_t keyCode, uint8_t character);
  // A click on a tree node, carried out on the owning thread: an open node
  // asks to contract (0x17), any other to expand (0x16).
  void TreeRequest(int64_t param);

 protected:
  virtual bool ProgramScrolled() const;
  virtual int32_t VisibleRows() const;
  // Hands the widgets the rows and the scroll bar as they now stand.
  virtual void Refresh();

  // The list widget with this list's columns, reporting its input to this
  // control's thread.
  platform::ListWidget* CreateListWidget(QWidget* parent, const platform::PixelRect& place);
  // What a navigation key or a typed character asks of a self-scrolling list:
  // the row to select, 0 for none.
  int32_t SelfScrollTargetOf(int32_t keyCode, uint8_t character) const;
  // Keys, clicks and the scroll bar of the list widget.
  void ListInputArrived(const platform::ListInput& input, std::vector<RaisedEvent>& raised);
  void MoveSelection(int32_t row, std::vector<RaisedEvent>& raised);
  // Whether an active control of the window holds the key as an alert key.
  bool AlertedElsewhere(int32_t keyCode) const;
  void KeepSelectionShown();
  std::string CellText(int32_t row, size_t column) const;
  platform::ListRowLook RowLook(int32_t row) const;
  std::vector<platform::ListColumnLook> ColumnLooks() const;
  const std::vector<QImage>& Icons() const { return icons_; }

  platform::ListWidget* widget_ = nullptr;
  ListRows rows_;
  std::vector<ListColumn> columns_;
  int32_t selected_ = 0;
  int32_t top_ = 1;
  bool scrollBar_ = true;

 private:
  void KeyPressed(int32_t keyCode, uint8_t character, std::vector<RaisedEvent>& raised);
  void SelectShown(int32_t shown, std::vector<RaisedEvent>& raised);
  void ScrollBarAction(int32_t action, std::vector<RaisedEvent>& raised);
  void RequestNode(int32_t shown) const;
  void SetIconName(int32_t number, std::string_view name);
  const ListColumn* TreeColumn() const;
  platform::ListCellLook CellLook(int32_t row, size_t column) const;
  void CompileColumnPictures();

  std::vector<CompiledPicture> pictures_;
  std::map<int32_t, std::string> iconNames_;  // icon number -> name
  std::vector<QImage> icons_;                 // icon n is icons_[n - 1]
  int32_t thumb_ = 0;
  uint32_t shownChanges_ = 0;
  int32_t shownCount_ = -1;
};

std::unique_ptr<Control> MakeDropListControl(Window& window, const ControlRecord& record);

}  // namespace rk
