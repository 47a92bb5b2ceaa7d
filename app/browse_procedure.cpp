// The event loop of a browse or select, its buttons and keys, and the calls to
// the procedures it hands records to: the update procedure, child browses and
// selects, all on the browse's own thread.
#include <algorithm>
#include <string>
#include <vector>

#include "app/browse.h"
#include "app/file_uses.h"
#include "app/procedure_table.h"
#include "app/record_position.h"
#include "app/thread_globals.h"
#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/file_statements.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/popup.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_statements.h"

namespace rk {
namespace {

// Keys the list hands to the procedure as alert-key events.
constexpr int32_t kCtrlEnter = kKeyCtrl | kKeyEnter;

// The alert-key slots the browses use, from the top of the list's table.
constexpr int32_t kBrowseAlerts[][2] = {
    {255, kKeyInsert}, {254, kKeyDelete}, {253, kCtrlEnter}, {252, kMouseLeftDouble}};

size_t LocatorCapacity(const FieldInfo& field) {
  constexpr size_t kNumberDigits = 4;
  return IsTextType(field.type) ? field.size : kNumberDigits;
}

}  // namespace

void RunBrowse(const BrowseSpec& spec) {
  Browse browse(spec);
  browse.Run();
}

// The queue's entry holds the shown fields as the file declares them, then the
// view's position of the record.
Browse::Browse(const BrowseSpec& spec)
    : spec_(spec),
      controls_(spec.controls),
      file_(CollectionFile(spec.file)),
      savedParents_(spec.orders.size()) {
  uint32_t offset = 0;
  for (const char* name : spec.columns) {
    const FieldInfo* field = file_.field(name);
    columnFields_.push_back(field);
    queueFields_.push_back({field->name.c_str(), offset, field->type, field->size, field->places});
    offset += field->size;
  }
  queueFields_.push_back({"POSITION", offset, kString, kPositionSize});
  rows_ = std::make_unique<DeclaredQueue>(queueFields_, offset + kPositionSize);
  view_ = std::make_unique<View>(std::vector<ViewFileSpec>{PrimaryFile(file_.file())});
  for (const BrowseOrder& order : spec.orders) {
    locators_.emplace_back(LocatorCapacity(FirstComponentField(*file_.key(order.key))));
  }
}

Browse::~Browse() = default;

void Browse::Run() {
  request_ = GlobalRequest();
  localResponse_ = 2;
  GlobalRequest() = 0;
  GlobalResponse() = 0;
  OpenFiles();
  Window window;
  OpenWindow(window, WindowKind::kMdiChild, spec_.tag, spec_.label, {&rows_->queue()});
  SetUpControls();
  DISPLAY();
  for (AcceptLoop loop; loop.Next();) HandleEvent();
  if (window.IsOpen()) CloseWindow(window);
  Detach();
  GlobalResponse() = localResponse_ != 0 ? localResponse_ : 2;
  ClearError();
}

void Browse::OpenFiles() {
  OpenFileUses(spec_.file, spec_.otherFiles);
}

void Browse::CloseFiles() {
  CloseFileUses(spec_.file, spec_.otherFiles);
}

void Browse::SetUpControls() {
  SetProperty(controls_.list, property::kVScrollShown, 0);
  if (spec_.isSelect()) {
    SetProperty(controls_.list, property::kAlertKeys, kMouseLeftDouble, 255);
    bool selecting = request_ == 4;
    SetProperty(controls_.insert, property::kHidden, selecting ? 0 : 1);
    if (selecting) SetProperty(controls_.insert, property::kDefaultButton, 1);
    return;
  }
  for (const auto& [slot, key] : kBrowseAlerts) {
    SetProperty(controls_.list, property::kAlertKeys, key, slot);
  }
}

void Browse::HandleEvent() {
  int32_t code = EVENT();
  if (code == event::kOpenWindow) {
    if (!opened_) {
      opened_ = true;
      Refresh();
      SELECT(controls_.list);
    }
    return;
  }
  if (code == event::kGainFocus) {
    forceRefresh_ = true;
    Refresh();
    return;
  }
  if (closing_ || event::IsWindowEvent(code)) return;
  HandleControlEvent(code, FIELD());
}

void Browse::HandleControlEvent(int32_t code, int32_t field) {
  if (closing_) return;
  if (field == controls_.list) {
    HandleListEvent(code);
  } else if (field == controls_.sheet && field != 0) {
    if (code == event::kAccepted || code == event::kNewSelection || code == event::kTabChanging ||
        code == event::kSelected) {
      Refresh();
    }
  } else if (code == event::kAccepted) {
    HandleButton(field);
  }
}

void Browse::HandleListEvent(int32_t code) {
  switch (code) {
    case event::kNewSelection:
      if (KEYCODE() == kMouseRight) {
        ShowPopup();
      } else {
        NewSelection();
      }
      return;
    case event::kAlertKey:
      AlertKey(KEYCODE(), KEYCHAR());
      return;
    case event::kAccepted:
      if (spec_.isSelect() && request_ == 4 && Records() > 0) SelectRecord();
      return;
    case event::kScrollDrag:
      if (Records() > 0) ScrollDrag();
      break;
    case event::kScrollUp:
    case event::kScrollDown:
      if (Records() > 0) ScrollLine(code == event::kScrollDown);
      break;
    case event::kPageUp:
    case event::kPageDown:
      if (Records() > 0) ScrollPage(code == event::kPageDown);
      break;
    case event::kScrollTop:
    case event::kScrollBottom:
      if (Records() > 0) ScrollToEnd(code == event::kScrollBottom);
      break;
    default:
      return;
  }
  if (closing_ || Records() == 0) return;
  SetProperty(controls_.list, property::kSelectedRow, choice_);
  SelectionChanged();
  SetProperty(controls_.list, property::kThumbPosition, thumb_);
}

void Browse::AlertKey(int32_t keyCode, int32_t character) {
  if (spec_.isSelect()) {
    if (keyCode == kMouseLeftDouble) {
      if (request_ == 4 && Records() > 0) SelectRecord();
    } else {
      Locate(keyCode, character);
    }
    return;
  }
  bool hasRecords = Records() > 0;
  if (keyCode == kKeyInsert) {
    Insert();
  } else if (keyCode == kKeyDelete && hasRecords) {
    Delete();
  } else if ((keyCode == kCtrlEnter || keyCode == kMouseLeftDouble) && hasRecords) {
    Change();
  }
}

void Browse::ShowPopup() {
  bool hasRecords = Records() > 0;
  int32_t item = POPUP(hasRecords ? spec_.popup : spec_.popupEmpty);
  if (spec_.isSelect()) {
    if (item == 1) POST(event::kAccepted, controls_.insert);
    return;
  }
  const int32_t itemButtons[] = {0, controls_.insert, controls_.change, controls_.remove};
  if (item >= 1 && item <= 3) POST(event::kAccepted, itemButtons[item]);
}

void Browse::HandleButton(int32_t control) {
  if (control == spec_.closeButton) {
    RereadSelected();
    localResponse_ = 2;
    POST(event::kCloseWindow);
    return;
  }
  if (control == spec_.helpButton) {
    RereadSelected();
    return;
  }
  if (spec_.isSelect()) {
    if (control == controls_.insert && Records() > 0) SelectRecord();
    return;
  }
  if (control == controls_.insert) {
    Insert();
    return;
  }
  if (control == controls_.change || control == controls_.remove) {
    if (Records() == 0) return;
    control == controls_.change ? Change() : Delete();
    return;
  }
  for (const BrowseExtraButton& button : spec_.extraButtons) {
    if (button.control == control) CallExtra(button);
  }
}

void Browse::Insert() {
  RereadSelected();
  GET(file_.file(), 0);
  ClearRecordOf(file_);
  const BrowseOrder& order = Order();
  if (order.ranged()) {
    file_.setText(order.linkField, ParentFile(order).text(order.parentField));
  }
  // A form that adds several records ("Add MORE") may have added some even
  // when it ends cancelled: the page is read again either way.
  if (CallUpdate(kRequestInsert)) {
    FindUpdatedRecord();
  } else {
    forceRefresh_ = true;
  }
  AfterUpdate();
}

// The record is read for the change with WATCH, so that a change another
// station makes meanwhile is refused when the form saves (89) instead of being
// overwritten unseen.
void Browse::Change() {
  RereadSelected(true);
  if (CallUpdate(kRequestChange)) FindUpdatedRecord();
  AfterUpdate();
}

// The inserted or changed record is found by its key value, wherever the
// change put it, and the page is built around it.
void Browse::FindUpdatedRecord() {
  resetMode_ = ResetMode::kFromRecord;
  ResetAndLocate();
  RebuildThumbs();
  POST(event::kNewSelection, controls_.list);
}

void Browse::Delete() {
  RereadSelected();
  if (CallUpdate(kRequestDelete)) {
    GET(rows_->queue(), choice_);
    DELETE(rows_->queue());
    SetViewToStart();
    RefillPage(RefillMode::kKeepSelection);
    RebuildThumbs();
    POST(event::kNewSelection, controls_.list);
  }
  AfterUpdate();
}

void Browse::SelectRecord() {
  RereadSelected();
  localResponse_ = kResponseCompleted;
  POST(event::kCloseWindow);
}

// Child browses and selects run on this thread with the record they start
// from in its buffer; a select may change a parent, which the refresh notices.
void Browse::CallExtra(const BrowseExtraButton& button) {
  RereadSelected();
  // A select closed without a choice leaves the record it was given as it was.
  const BrowseSpec* select = BrowseSpecNamed(button.procedure);
  DeclaredFile* chosen = select && select->isSelect() ? &CollectionFile(select->file) : nullptr;
  std::vector<uint8_t> given;
  if (chosen) given.assign(chosen->record(), chosen->record() + chosen->file().recordLength);
  GlobalRequest() = button.request;
  GlobalResponse() = 0;
  ProcedureNamed(button.procedure)();
  if (chosen && GlobalResponse() != kResponseCompleted) {
    std::copy(given.begin(), given.end(), chosen->record());
  }
  GlobalRequest() = request_;
  SELECT(controls_.list);
  Refresh();
}

bool Browse::CallUpdate(int32_t request) {
  viewAt_.clear();
  CLOSE(*view_);
  GlobalRequest() = request;
  GlobalResponse() = 0;
  ProcedureNamed(spec_.updateProcedure)();
  updateResponse_ = GlobalResponse();
  bool completed = updateResponse_ == kResponseCompleted;
  OpenView();
  return completed;
}

void Browse::AfterUpdate() {
  SELECT(controls_.list);
  GlobalRequest() = request_;
  Refresh();
}

void Browse::Attach(int32_t request) {
  request_ = request;
  OpenFiles();
  SetUpControls();
}

void Browse::Detach() {
  FREE(rows_->queue());
  CLOSE(*view_);
  CloseFiles();
}

bool Browse::Owns(int32_t control) const {
  return control != 0 && (control == controls_.list || control == controls_.insert ||
                          control == controls_.change || control == controls_.remove);
}

void Browse::Refresh(bool force) {
  forceRefresh_ = forceRefresh_ || force;
  Refresh();
}

// Everything is shown again unless a validation pass is running.
void Browse::Refresh() {
  if (GetPropertyNumber(0, property::kValidating) != 0 || closing_) return;
  ChooseOrder();
  if (closing_) return;
  AdjustScrollBar();
  SetProperty(controls_.list, property::kThumbPosition, thumb_);
  DISPLAY();
  forceRefresh_ = false;
}

void Browse::EnableRecordButtons(bool enable) {
  if (spec_.isSelect()) return;
  SetProperty(controls_.change, property::kDisabled, enable ? 0 : 1);
  SetProperty(controls_.remove, property::kDisabled, enable ? 0 : 1);
}

}  // namespace rk
