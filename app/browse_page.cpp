// The page of a browse: the queue holds a contiguous run of the view in key
// order, at most as many rows as the list shows. Every step reads only what
// the step needs: a line step one record, a page step one page, and a thumb
// table two records.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/browse.h"
#include "app/record_position.h"
#include "app/standard_messages.h"
#include "runtime/core/clipped_text.h"
#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_statements.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/wait_cursor.h"
#include "runtime/windows/window_statements.h"

namespace rk {
namespace {

constexpr int32_t kViewAccess = kAccessReadWrite | kDenyWrite;  // 0x22

}  // namespace

const BrowseOrder& Browse::Order() const {
  return spec_.orders[static_cast<size_t>(std::max(order_, 1) - 1)];
}

KeyDescriptor& Browse::OrderKey() const {
  return *file_.key(Order().key);
}

DeclaredFile& Browse::ParentFile(const BrowseOrder& order) const {
  return *CollectionFileOfName(order.parentField);
}

std::string Browse::ParentValue(const BrowseOrder& order) const {
  return std::string(ClipRight(ParentFile(order).text(order.parentField)));
}

int32_t Browse::Records() {
  return RECORDS(rows_->queue());
}

int32_t Browse::VisibleRows() const {
  return std::max(GetPropertyNumber(controls_.list, property::kVisibleRows), 1);
}

// The order follows the sheet's tab. Nothing is read again unless the order,
// the parent of a limited order, or the force flag asks for it.
void Browse::ChooseOrder() {
  int32_t sheet = controls_.sheet;
  int32_t tab = sheet != 0 ? CHOICE(sheet) : 1;
  tab = std::clamp(tab, 1, static_cast<int32_t>(spec_.orders.size()));
  const BrowseOrder& wanted = spec_.orders[static_cast<size_t>(tab - 1)];
  auto index = static_cast<size_t>(tab - 1);
  bool parentChanged = wanted.ranged() && savedParents_[index] != ParentValue(wanted);
  if (tab == order_ && !parentChanged && !forceRefresh_) return;
  bool first = order_ == 0;
  RereadSelected();
  order_ = tab;
  SetViewToStart();
  if (first) {
    resetMode_ = request_ == 4 ? ResetMode::kFromRecord : ResetMode::kFromStart;
  } else {
    resetMode_ = parentChanged ? ResetMode::kFromStart : ResetMode::kFromRecord;
  }
  ResetAndLocate();
  if (closing_) return;
  if (Records() > 0) RecordFromEntry(choice_);
  RebuildThumbs();
  thumb_ = Records() > 0 ? ThumbPositionOf(thumbs_, FirstComponentText()) : 0;
}

// Puts the view at the record that the reset mode names and fills the page
// around it.
void Browse::ResetAndLocate() {
  viewAt_.clear();
  if (resetMode_ == ResetMode::kKeepPosition) {
    highlight_ = PaddedPosition(POSITION(*view_));
    RESET(*view_, highlight_);
  } else {
    CLOSE(*view_);
    const BrowseOrder& order = Order();
    if (order.ranged()) {
      auto index = static_cast<size_t>(order_ - 1);
      savedParents_[index] = ParentValue(order);
      file_.setText(order.linkField, ParentFile(order).text(order.parentField));
    }
    if (resetMode_ == ResetMode::kFromRecord) {
      SET(OrderKey(), OrderKey());
    } else {
      SET(OrderKey());
    }
    OpenView();
  }
  FREE(rows_->queue());
  skipFirst_ = true;
  int32_t unread = Fill(1, true);
  skipFirst_ = false;
  if (closing_) return;
  if (unread > 0) {
    ScrollToEnd(false);
  } else {
    RefillPage(RefillMode::kAtViewRecord);
  }
}

void Browse::OpenView() {
  const char* filter = Order().filter;
  SetProperty(*view_, kPropFilter, filter ? filter : "");
  OPEN(*view_, kViewAccess);
}

// A new walk from the start of the order's key: the next NEXT reads the first
// record, the next PREVIOUS the last.
void Browse::SetViewToStart() {
  viewAt_.clear();
  SET(OrderKey());
}

int32_t Browse::Fill(int32_t items, bool forward) {
  QueueDescriptor& queue = rows_->queue();
  if (Records() > 0) {
    // The view continues beyond the entry at the page's edge; when its last
    // read in this direction was that entry, it is there already.
    std::string edge = EntryPosition(forward ? Records() : 1);
    if (edge != viewAt_ || forward != viewForward_) {
      RESET(*view_, edge);
      forward ? NEXT(*view_) : PREVIOUS(*view_);
      if (ReadFailed()) return items;
    }
  }
  viewAt_.clear();
  int32_t visible = VisibleRows();
  while (items > 0) {
    forward ? NEXT(*view_) : PREVIOUS(*view_);
    if (ErrorCode() == file_error::kRecordNotAvailable) break;
    if (ReadFailed()) break;
    std::string position = POSITION(*view_);
    if (!skipFirst_) {
      if (Records() >= visible) {
        GET(queue, forward ? 1 : Records());
        DELETE(queue);
      }
      EntryFromRecord(position);
      forward ? ADD(queue) : ADD(queue, 1);
    }
    --items;
    if (items == 0) {
      viewAt_ = PaddedPosition(position);
      viewForward_ = forward;
    }
  }
  return items;
}

// Any error but the end of the view is shown once, and the browse closes.
bool Browse::ReadFailed() {
  if (ErrorCode() == 0 || ErrorCode() == file_error::kRecordNotAvailable) return false;
  if (!closing_) {
    closing_ = true;
    SHOWMESSAGE(35, file_.label());
    POST(event::kCloseWindow);
  }
  return true;
}

void Browse::RefillPage(RefillMode mode) {
  WaitCursor wait;
  viewAt_.clear();
  QueueDescriptor& queue = rows_->queue();
  bool positioned = true;
  if (mode == RefillMode::kAtViewRecord) {
    highlight_ = PaddedPosition(POSITION(*view_));
    RESET(*view_, highlight_);
  } else if (Records() > 0) {
    highlight_ = EntryPosition(std::clamp(choice_, 1, Records()));
    RESET(*view_, EntryPosition(1));
  } else {
    highlight_.clear();
    SetViewToStart();
    positioned = false;
  }
  FREE(queue);
  int32_t visible = VisibleRows();
  Fill(visible, positioned);
  if (closing_) return;
  if (!highlight_.empty() && Records() < visible) {
    if (Records() == 0) SetViewToStart();
    Fill(visible - Records(), !positioned);
    if (closing_) return;
  }
  choice_ = 0;
  for (int32_t row = 1; row <= Records() && !highlight_.empty(); ++row) {
    if (EntryPosition(row) == highlight_) {
      choice_ = row;
      break;
    }
  }
  if (Records() > 0) {
    if (choice_ == 0) choice_ = 1;
    SetProperty(controls_.list, property::kSelectedRow, choice_);
    RecordFromEntry(choice_);
    EnableRecordButtons(true);
  } else {
    ClearRecordOf(file_);
    choice_ = 0;
    EnableRecordButtons(false);
  }
}

void Browse::ScrollLine(bool down) {
  if (down ? choice_ < Records() : choice_ > 1) {
    choice_ += down ? 1 : -1;
    return;
  }
  if (Fill(1, down) == 0 && down) choice_ = Records();
}

void Browse::ScrollPage(bool down) {
  int32_t unread = Fill(VisibleRows(), down);
  if (unread == 0) return;
  choice_ = down ? std::min(choice_ + unread, Records()) : std::max(choice_ - unread, 1);
}

void Browse::ScrollToEnd(bool bottom) {
  FREE(rows_->queue());
  SetViewToStart();
  Fill(VisibleRows(), !bottom);
  if (closing_) return;
  choice_ = bottom ? Records() : std::min(Records(), 1);
  if (Records() > 0) {
    EnableRecordButtons(true);
  } else {
    ClearRecordOf(file_);
    EnableRecordButtons(false);
  }
}

// The thumb released: its position names a table entry to locate, or an end.
void Browse::ScrollDrag() {
  int32_t position = GetPropertyNumber(controls_.list, property::kThumbPosition);
  if (position <= 1) {
    POST(event::kScrollTop, controls_.list);
  } else if (position >= kThumbEntries) {
    POST(event::kScrollBottom, controls_.list);
  } else if (!thumbs_.empty()) {
    SetFirstComponent(thumbs_.Entry(position));
    resetMode_ = ResetMode::kFromRecord;
    ResetAndLocate();
  }
}

// The list's selection moved: the record buffer follows it, and the scroll
// bar and the thumb follow the page.
void Browse::NewSelection() {
  if (Records() == 0) return;
  choice_ = std::clamp(CHOICE(controls_.list), 1, Records());
  SelectionChanged();
  Refresh();
}

void Browse::SelectionChanged() {
  RecordFromEntry(choice_);
  AdjustScrollBar();
  thumb_ = ThumbPositionOf(thumbs_, FirstComponentText());
}

void Browse::AdjustScrollBar() {
  bool shown = GetPropertyNumber(controls_.list, property::kVScrollShown) != 0;
  int32_t visible = VisibleRows();
  if (shown && Records() < visible) SetProperty(controls_.list, property::kVScrollShown, 0);
  if (!shown && Records() >= visible) SetProperty(controls_.list, property::kVScrollShown, 1);
}

// The first and the last record of the order bound the table. The record
// buffer keeps the selected record across the two reads.
void Browse::RebuildThumbs() {
  std::vector<uint8_t> kept(file_.record(), file_.record() + file_.file().recordLength);
  thumbs_ = ThumbTable();
  SetViewToStart();
  PREVIOUS(*view_);
  if (ErrorCode() == 0) {
    std::string high = FirstComponentText();
    SetViewToStart();
    NEXT(*view_);
    if (ErrorCode() == 0) {
      std::string low = FirstComponentText();
      const FieldInfo& field = FirstComponentField(OrderKey());
      if (IsTextType(field.type)) {
        thumbs_ = ThumbTable::Text(low, high);
      } else {
        bool whole = IsIntegerType(field.type);
        thumbs_ = ThumbTable::Numeric(std::strtod(low.c_str(), nullptr),
                                      std::strtod(high.c_str(), nullptr), whole);
      }
    }
  }
  viewAt_.clear();
  ClearError();
  std::memcpy(file_.record(), kept.data(), kept.size());
}

// What the user typed moves a select's list to the first record at or after it.
void Browse::Locate(int32_t keyCode, int32_t character) {
  BrowseLocator& locator = locators_[static_cast<size_t>(order_ - 1)];
  if (!locator.Key(keyCode, character)) return;
  SetFirstComponent(locator.Text());
  resetMode_ = ResetMode::kFromRecord;
  ResetAndLocate();
}

void Browse::RereadSelected(bool watch) {
  if (Records() == 0 || !view_) return;
  choice_ = std::clamp(CHOICE(controls_.list), 1, Records());
  viewAt_.clear();
  if (watch) WATCH(*view_);
  REGET(*view_, EntryPosition(choice_));
  ClearError();
}

// --- The queue's entries: the shown fields, then the view's position ---

std::string Browse::EntryPosition(int32_t row) {
  QueueDescriptor& queue = rows_->queue();
  GET(queue, row);
  const FieldSpec& position = queueFields_.back();
  return std::string(reinterpret_cast<const char*>(rows_->buffer() + position.offset),
                     position.size);
}

void Browse::EntryFromRecord(const std::string& position) {
  uint8_t* entry = rows_->buffer();
  for (size_t i = 0; i < columnFields_.size(); ++i) {
    const FieldInfo& field = *columnFields_[i];
    std::memcpy(entry + queueFields_[i].offset, file_.record() + field.offset,
                field.end() - field.offset);
  }
  const FieldSpec& slot = queueFields_.back();
  std::string padded = PaddedPosition(position);
  std::memcpy(entry + slot.offset, padded.data(), slot.size);
}

void Browse::RecordFromEntry(int32_t row) {
  if (row < 1 || row > Records()) return;
  GET(rows_->queue(), row);
  const uint8_t* entry = rows_->buffer();
  for (size_t i = 0; i < columnFields_.size(); ++i) {
    const FieldInfo& field = *columnFields_[i];
    std::memcpy(file_.record() + field.offset, entry + queueFields_[i].offset,
                field.end() - field.offset);
  }
}

const FieldInfo& Browse::FirstComponentField(const KeyDescriptor& key) const {
  return file_.fields()[static_cast<size_t>(std::abs(key.components[0]) - 1)];
}

std::string Browse::FirstComponentText() {
  return file_.text(FirstComponentField(OrderKey()));
}

void Browse::SetFirstComponent(std::string_view text) {
  const FieldInfo& field = FirstComponentField(OrderKey());
  file_.setText(field, IsTextType(field.type) || !text.empty() ? text : std::string_view("0"));
}

}  // namespace rk
