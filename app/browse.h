// One browse or select procedure while it runs: the list shows one page of the
// file in the order of the sheet's selected tab, kept in a queue and refilled
// from a view of the file as the user scrolls. The table row (browse_spec.h)
// says which file, orders, columns and buttons; everything else is here.
//
// The page logic (filling, refilling, scrolling, locating, the thumb table) is
// in browse_page.cpp; the event loop, the buttons and the calls to other
// procedures are in browse_procedure.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/browse_locator.h"
#include "app/browse_spec.h"
#include "app/browse_thumbs.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/queue.h"
#include "runtime/files/view.h"

namespace rk {

// Runs the procedure of the row on the calling thread and returns when its
// window has closed.
void RunBrowse(const BrowseSpec& spec);

class Browse {
 public:
  explicit Browse(const BrowseSpec& spec);
  ~Browse();
  Browse(const Browse&) = delete;
  Browse& operator=(const Browse&) = delete;

  void Run();

  // --- A child list on another procedure's window (a form's tab) ---
  // The host binds rows() to its list control before opening its window, then
  // calls Attach once the window is open and Detach before it closes. It hands
  // the list's and the buttons' events to HandleControlEvent and refreshes the
  // list with its own window. `request` is what the list restores after each
  // call of its update procedure.
  QueueDescriptor& rows() { return rows_->queue(); }
  void Attach(int32_t request);
  void Detach();
  bool Owns(int32_t control) const;
  void HandleControlEvent(int32_t code, int32_t field);
  void Refresh(bool force);
  // Reads the selected record into the file's buffer again, in full; with
  // `watch`, the file remembers it to notice another station's change.
  void RereadSelected(bool watch = false);
  // The response of the last update procedure the list called; 0 before any.
  int32_t updateResponse() const { return updateResponse_; }
  void ForgetUpdateResponse() { updateResponse_ = 0; }

 private:
  enum class ResetMode { kKeepPosition = 1, kFromRecord = 2, kFromStart = 3 };
  enum class RefillMode { kAtViewRecord = 1, kKeepSelection = 2 };

  // --- browse_procedure.cpp: the loop and the buttons ---
  void OpenFiles();
  void CloseFiles();
  void SetUpControls();
  void HandleEvent();
  void HandleListEvent(int32_t code);
  void HandleButton(int32_t control);
  void AlertKey(int32_t keyCode, int32_t character);
  void ShowPopup();
  void Insert();
  void Change();
  void Delete();
  void FindUpdatedRecord();
  void SelectRecord();
  void CallExtra(const BrowseExtraButton& button);
  // Calls the update procedure with the view closed; true when it completed.
  bool CallUpdate(int32_t request);
  void AfterUpdate();
  void Refresh();

  // --- browse_page.cpp: the page of the view in the queue ---
  const BrowseOrder& Order() const;
  KeyDescriptor& OrderKey() const;
  DeclaredFile& ParentFile(const BrowseOrder& order) const;
  std::string ParentValue(const BrowseOrder& order) const;
  void ChooseOrder();
  void ResetAndLocate();
  void OpenView();
  void SetViewToStart();
  // Reads up to `items` records in one direction into the page; returns how
  // many could not be read.
  int32_t Fill(int32_t items, bool forward);
  bool ReadFailed();
  void RefillPage(RefillMode mode);
  void ScrollLine(bool down);
  void ScrollPage(bool down);
  void ScrollToEnd(bool bottom);
  void ScrollDrag();
  void NewSelection();
  void SelectionChanged();
  void AdjustScrollBar();
  void RebuildThumbs();
  void Locate(int32_t keyCode, int32_t character);

  int32_t Records();
  int32_t VisibleRows() const;
  std::string EntryPosition(int32_t row);
  void EntryFromRecord(const std::string& position);
  void RecordFromEntry(int32_t row);
  const FieldInfo& FirstComponentField(const KeyDescriptor& key) const;
  std::string FirstComponentText();
  void SetFirstComponent(std::string_view text);
  void EnableRecordButtons(bool enable);

  const BrowseSpec& spec_;
  const BrowseControls& controls_;
  DeclaredFile& file_;
  std::vector<const FieldInfo*> columnFields_;
  std::vector<FieldSpec> queueFields_;
  std::unique_ptr<DeclaredQueue> rows_;
  std::unique_ptr<View> view_;

  int32_t choice_ = 0;  // the selected row, from 1; 0 for none
  int32_t order_ = 0;   // from 1; 0 before the first refresh
  ResetMode resetMode_ = ResetMode::kFromStart;
  bool skipFirst_ = false;
  bool forceRefresh_ = false;
  bool closing_ = false;  // a read failed and the window is closing
  bool opened_ = false;
  std::string highlight_;
  // The position of the record the view read last, while it stays there.
  std::string viewAt_;
  bool viewForward_ = true;
  // Per order: the parent's value when its range was last set; none before.
  std::vector<std::optional<std::string>> savedParents_;
  std::vector<BrowseLocator> locators_;  // per order, selects only
  ThumbTable thumbs_;
  int32_t thumb_ = 0;

  int32_t request_ = 0;  // the request on entry, restored after every call
  int32_t localResponse_ = 2;
  int32_t updateResponse_ = 0;
};

}  // namespace rk
