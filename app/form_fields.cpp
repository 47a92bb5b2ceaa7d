// The fields of a form that do more than hold what is typed: drop lists of a
// lookup file's names, values looked up in another file, numbers held within
// bounds and a duration computed from two times.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/form.h"
#include "app/procedure_table.h"
#include "app/standard_messages.h"
#include "app/thread_globals.h"
#include "runtime/core/clipped_text.h"
#include "runtime/core/error_state.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/view.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/window_statements.h"

namespace rk {
namespace {

constexpr int32_t kViewAccess = kAccessReadWrite | kDenyWrite;  // 0x22

bool SameName(std::string_view a, std::string_view b) {
  return ClipRight(a) == ClipRight(b);
}

int32_t LongOf(DeclaredFile& file, const char* name) {
  std::string text = file.text(name);
  return text.empty() ? 0 : static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

}  // namespace

bool Form::FillDropLists() {
  for (size_t i = 0; i < spec_.dropLists.size(); ++i) {
    if (!FillDropList(i)) return false;
  }
  return true;
}

// The list holds the lookup file's names in key order, read afresh on every
// open so that names added meanwhile are offered. It opens on the record's own
// value; a value that is blank or not among the names shows as it is, with no
// name highlighted, until the user chooses one.
bool Form::FillDropList(size_t index) {
  const FormDropList& list = spec_.dropLists[index];
  DeclaredFile& lookup = CollectionFile(list.lookup);
  QueueDescriptor& queue = dropQueues_[index]->queue();
  // The lookup file's buffer belongs to whoever read it last; it is kept.
  std::vector<uint8_t> kept(lookup.record(), lookup.record() + lookup.file().recordLength);
  FREE(queue);
  View view(std::vector<ViewFileSpec>{PrimaryFile(lookup.file())});
  SET(*lookup.key(list.lookupKey));
  OPEN(view, kViewAccess);
  const FieldInfo& name = *lookup.field(list.lookupField);
  bool failed = false;
  for (;;) {
    NEXT(view);
    if (ErrorCode() == file_error::kRecordNotAvailable) break;
    if (ErrorCode() != 0) {
      failed = true;
      break;
    }
    std::memcpy(dropQueues_[index]->buffer(), lookup.record() + name.offset, name.size);
    ADD(queue);
  }
  CLOSE(view);
  std::memcpy(lookup.record(), kept.data(), kept.size());
  if (failed) {
    SHOWMESSAGE(35, lookup.label());
    POST(event::kCloseWindow);
    return false;
  }
  std::string value = file_.text(list.field);
  int32_t chosen = 0;
  for (int32_t row = 1; row <= RECORDS(queue) && chosen == 0; ++row) {
    GET(queue, row);
    std::string_view entry(reinterpret_cast<const char*>(dropQueues_[index]->buffer()), name.size);
    if (!ClipRight(value).empty() && SameName(entry, value)) chosen = row;
  }
  SetProperty(list.control, property::kSelectedRow, chosen);
  ClearError();
  return true;
}

void Form::DropListChosen(size_t index) {
  const FormDropList& list = spec_.dropLists[index];
  QueueDescriptor& queue = dropQueues_[index]->queue();
  int32_t row = CHOICE(list.control);
  if (row < 1 || row > RECORDS(queue)) return;
  GET(queue, row);
  const FieldInfo& name = *CollectionFile(list.lookup).field(list.lookupField);
  file_.setText(
      list.field,
      std::string_view(reinterpret_cast<const char*>(dropQueues_[index]->buffer()), name.size));
  DISPLAY(list.control);
}

// The value must name a record of the lookup file. One that does not is
// chosen through the select procedure; choosing nothing leaves the field to be
// corrected. `quiet` (the field just selected) does only the first step.
void Form::Lookup(const FormLookup& lookup, bool quiet) {
  DeclaredFile& other = CollectionFile(lookup.lookup);
  KeyDescriptor& key = *other.key(lookup.lookupKey);
  other.setText(lookup.lookupField, file_.text(lookup.field));
  GET(other.file(), key);
  if (ErrorCode() != 0) {
    int32_t request = GlobalRequest();
    GlobalRequest() = kRequestSelect;
    GlobalResponse() = 0;
    ProcedureNamed(lookup.select)();
    bool chosen = GlobalResponse() == kResponseCompleted;
    GlobalRequest() = request;
    if (!chosen) {
      refusedLookup_ = lookup.control;
      SELECT(lookup.control);
      return;
    }
    file_.setText(lookup.field, other.text(lookup.lookupField));
  }
  if (quiet) {
    DISPLAY(lookup.control);
    return;
  }
  Refresh();
  other.setText(lookup.lookupField, file_.text(lookup.field));
  GET(other.file(), key);
  if (ErrorCode() != 0) {
    SHOWMESSAGE(11, lookup.field, other.label());
    RefuseField(lookup.control);
  }
  ClearError();
}

void Form::CheckRange(const FormRange& range) {
  int32_t value = LongOf(file_, range.field);
  if (value >= range.low && value <= range.high) return;
  SHOWMESSAGE(10, range.field, std::to_string(range.low), std::to_string(range.high));
  RefuseField(range.control);
}

// The field is selected again and the validation pass is called off, so that
// OK does not complete.
void Form::RefuseField(int32_t control) {
  SELECT(control);
  SetProperty(0, property::kValidating, 0);
}

// A duration is stored as a time of day: the difference + 1, so that it shows
// as hours and minutes through a time picture.
void Form::Derive() {
  const FormDuration* duration = spec_.duration;
  if (!duration) return;
  int32_t span = LongOf(file_, duration->to) - LongOf(file_, duration->from) + 1;
  file_.setLong(duration->field, span);
}

}  // namespace rk
