// The event loop of a tree browse, its buttons and popup, and the calls to the
// update procedures of the parent and child files, on the tree's own thread.
#include <algorithm>
#include <string>

#include "app/file_uses.h"
#include "app/procedure_table.h"
#include "app/record_position.h"
#include "app/thread_globals.h"
#include "app/tree_browse.h"
#include "runtime/core/error_state.h"
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

constexpr int32_t kList = 1;
constexpr int32_t kClose = 2;
constexpr int32_t kInsert = 3;
constexpr int32_t kChange = 4;
constexpr int32_t kDelete = 5;
constexpr const char* kPopup = "&Insert|&Change|&Delete";

// A button that the user can press: shown and enabled.
bool Available(int32_t control) {
  return GetPropertyNumber(control, property::kHidden) == 0 &&
         GetPropertyNumber(control, property::kDisabled) == 0;
}

}  // namespace

void RunTree(const TreeSpec& spec) {
  TreeBrowse tree(spec);
  tree.Run();
}

void TreeBrowse::Run() {
  localResponse_ = 2;
  GlobalRequest() = 0;
  GlobalResponse() = 0;
  OpenFiles();
  Window window;
  OpenWindow(window, WindowKind::kMdiChild, spec_.tag, spec_.label, {&rows_->queue()});
  int32_t number = 1;
  for (const char* icon : TreeIcons()) SetProperty(kList, property::kIconList, icon, number++);
  DISPLAY();
  for (AcceptLoop loop; loop.Next();) HandleEvent();
  if (window.IsOpen()) CloseWindow(window);
  FREE(rows_->queue());
  CloseFiles();
  GlobalResponse() = localResponse_ != 0 ? localResponse_ : 2;
  ClearError();
}

void TreeBrowse::OpenFiles() {
  const CollectionFileId child[] = {spec_.child.file};
  OpenFileUses(spec_.parent.file, child);
}

void TreeBrowse::CloseFiles() {
  const CollectionFileId child[] = {spec_.child.file};
  CloseFileUses(spec_.parent.file, child);
}

void TreeBrowse::HandleEvent() {
  int32_t code = EVENT();
  if (code == event::kOpenWindow) {
    if (!opened_) {
      opened_ = true;
      Build();
      if (Records() > 0 && Selected() == 0) SetProperty(kList, property::kListSelection, 1);
      SELECT(kList);
      DISPLAY();
    }
    return;
  }
  if (closing_ || event::IsWindowEvent(code)) return;
  int32_t field = FIELD();
  if (field == kList) {
    if (code == event::kNewSelection && KEYCODE() == kMouseRight) {
      ShowPopup();
    } else if (code == event::kExpanded) {
      Expand(Selected());
      DISPLAY();
    } else if (code == event::kContracted) {
      Contract(Selected());
      DISPLAY();
    }
    return;
  }
  if (code == event::kAccepted) HandleButton(field);
}

void TreeBrowse::HandleButton(int32_t control) {
  switch (control) {
    case kClose:
      localResponse_ = 2;
      POST(event::kCloseWindow);
      return;
    case kInsert:
      if (Available(kInsert)) Insert();
      return;
    case kChange:
      Change();
      return;
    case kDelete:
      if (Available(kDelete) && Available(kChange)) Delete();
      return;
    default:
      return;
  }
}

void TreeBrowse::ShowPopup() {
  const int32_t itemButtons[] = {0, kInsert, kChange, kDelete};
  int32_t item = POPUP(kPopup);
  if (item >= 1 && item <= 3) POST(event::kAccepted, itemButtons[item]);
}

int32_t TreeBrowse::Selected() {
  int32_t row = GetPropertyNumber(kList, property::kListSelection);
  return row >= 1 && row <= Records() ? row : 0;
}

// On the root a new parent; on a parent or a child a new child of that
// parent, its link already filled in.
void TreeBrowse::Insert() {
  int32_t row = Selected();
  if (row == 0) return;
  TreeEntry entry = EntryAt(row);
  if (KindOf(entry) == Kind::kRoot) {
    GET(parent_.file(), 0);
    ClearRecordOf(parent_);
    if (!CallUpdate(spec_.parent.update, kRequestInsert)) return;
    reselectAt_ = {Kind::kParent, PaddedPosition(POSITION(*parent_.key(spec_.parent.key)))};
    reselectOr_ = {};
  } else {
    TreeEntry parent = EntryAt(ParentRow(row));
    Reread(parent);
    ClearError();
    ClearRecordOf(child_);
    child_.setText(spec_.childLink, parent_.text(spec_.parentSerial));
    if (!CallUpdate(spec_.child.update, kRequestInsert)) return;
    reselectAt_ = {Kind::kChild, PaddedPosition(POSITION(*child_.key(spec_.child.key)))};
    reselectOr_ = {Kind::kParent, parent.position};
  }
  reselect_ = true;
  Build();
  DISPLAY();
}

// The record is read for the change with WATCH, so that a change made by
// another station meanwhile is refused when the form saves.
void TreeBrowse::Change() {
  int32_t row = Selected();
  if (row == 0) return;
  TreeEntry entry = EntryAt(row);
  if (KindOf(entry) == Kind::kRoot) return;
  bool child = KindOf(entry) == Kind::kChild;
  Reread(entry, true);
  ClearError();
  if (!CallUpdate(child ? spec_.child.update : spec_.parent.update, kRequestChange)) return;
  DeclaredFile& file = child ? child_ : parent_;
  // The record keeps its place unless the change moved its key; then the
  // file's position after the save names it.
  reselectAt_ = {KindOf(entry),
                 PaddedPosition(POSITION(*file.key(child ? spec_.child.key : spec_.parent.key)))};
  reselectOr_ = {KindOf(entry), entry.position};
  reselect_ = true;
  Build();
  DISPLAY();
}

// The update procedure asks for confirmation; after a delete the selection
// stays on the same line, or the last.
void TreeBrowse::Delete() {
  int32_t row = Selected();
  if (row == 0) return;
  TreeEntry entry = EntryAt(row);
  if (KindOf(entry) == Kind::kRoot) return;
  Reread(entry);
  ClearError();
  bool child = KindOf(entry) == Kind::kChild;
  if (!CallUpdate(child ? spec_.child.update : spec_.parent.update, kRequestDelete)) return;
  Build();
  if (!closing_) SetProperty(kList, property::kListSelection, std::min(row, Records()));
  DISPLAY();
}

bool TreeBrowse::CallUpdate(const char* procedure, int32_t request) {
  GlobalRequest() = request;
  GlobalResponse() = 0;
  ProcedureNamed(procedure)();
  bool completed = GlobalResponse() == kResponseCompleted;
  GlobalRequest() = 0;
  SELECT(kList);
  return completed;
}

}  // namespace rk
