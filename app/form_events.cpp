// The events of an update form, its buttons, and saving the record when the
// validation pass that OK starts has completed.
#include <utility>

#include "app/form.h"
#include "app/standard_messages.h"
#include "app/thread_globals.h"
#include "runtime/core/error_state.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_statements.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/message_box.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/window_statements.h"

namespace rk {
namespace {

constexpr int32_t kSheet = 1;

bool RefreshesOnSheet(int32_t code) {
  return code == event::kAccepted || code == event::kNewSelection || code == event::kTabChanging ||
         code == event::kSelected;
}

}  // namespace

void Form::HandleEvent() {
  int32_t code = EVENT();
  switch (code) {
    case event::kOpenWindow:
      if (!FillDropLists()) return;
      if (!opened_) {
        opened_ = true;
        Refresh();
      }
      SELECT(spec_.controls.first);
      return;
    case event::kGainFocus:
      forceRefresh_ = true;
      Refresh();
      return;
    case event::kCloseWindow:
    case event::kCloseDown:
      // A numbered insert that does not complete takes its record away again.
      if (spec_.insert == InsertStyle::kNumbered && request_ == kRequestInsert &&
          localResponse_ == kResponseCancelled) {
        TakeBackNumberedRecord();
      }
      return;
    case event::kCompleted:
      Complete();
      return;
    default:
      break;
  }
  if (!event::IsWindowEvent(code)) HandleControl(code, FIELD());
}

void Form::HandleControl(int32_t code, int32_t field) {
  if (field == kSheet) {
    if (RefreshesOnSheet(code)) Refresh();
    return;
  }
  if (child_ && child_->Owns(field)) {
    child_->HandleControlEvent(code, field);
    AfterChildEvent();
    return;
  }
  for (size_t i = 0; i < spec_.dropLists.size(); ++i) {
    if (field == spec_.dropLists[i].control && code == event::kAccepted) DropListChosen(i);
  }
  for (const FormLookup& lookup : spec_.lookups) {
    if (field != lookup.control) continue;
    if (code == event::kAccepted) Lookup(lookup, false);
    // The field selected again after its select closed without a choice is
    // left to the user; looking it up once more would reopen the select at
    // once, and again every time it closed.
    if (code == event::kSelected && std::exchange(refusedLookup_, 0) != field) {
      Lookup(lookup, true);
    }
  }
  for (const FormRange& range : spec_.ranges) {
    if (field == range.control && code == event::kAccepted) CheckRange(range);
  }
  if (code != event::kAccepted) return;
  // A derived field follows the fields it is computed from as they are typed.
  if (spec_.duration && GetPropertyNumber(0, property::kValidating) == 0) {
    Derive();
    DISPLAY();
  }
  HandleButton(field);
}

// What the child list's update procedure answered stays as the form's own
// response: a child added under a new record keeps that record.
void Form::AfterChildEvent() {
  if (int32_t response = child_->updateResponse(); response != 0) {
    localResponse_ = response;
    child_->ForgetUpdateResponse();
  }
}

void Form::HandleButton(int32_t control) {
  const FormControls& controls = spec_.controls;
  bool button = control == controls.ok || control == controls.cancel || control == controls.help;
  if (!button && (control == 0 || control != controls.addMore)) return;
  if (child_) child_->RereadSelected();
  Derive();
  if (control == controls.ok) {
    if (request_ == kRequestInsert || request_ == kRequestChange) {
      SELECT(0);
    } else {
      POST(event::kCompleted);
    }
  } else if (control == controls.cancel) {
    localResponse_ = kResponseCancelled;
    POST(event::kCloseWindow);
  } else if (control == controls.addMore) {
    AddMore();
  }
}

// Shows everything again unless a validation pass is running.
void Form::Refresh() {
  if (GetPropertyNumber(0, property::kValidating) != 0) return;
  Derive();
  if (child_) child_->Refresh(forceRefresh_);
  DISPLAY();
  forceRefresh_ = false;
}

// Every control has accepted its value: the record is stored.
void Form::Complete() {
  if (request_ == kRequestInsert) {
    if (StoreInsert(spec_.insert == InsertStyle::kNumbered)) {
      localResponse_ = kResponseCompleted;
      POST(event::kCloseWindow);
    }
  } else if (request_ == kRequestChange) {
    StoreChange();
  }
}

// An insert is ADDed, or PUT over the record that numbering added. A duplicate
// in the unique key is named; the form stays open either way.
bool Form::StoreInsert(bool put) {
  put ? PUT(file_.file()) : ADD(file_.file());
  if (ErrorCode() == 0) return true;
  if (ErrorCode() == file_error::kDuplicateKey && spec_.uniqueKey &&
      DUPLICATE(*file_.key(spec_.uniqueKey))) {
    SHOWMESSAGE(24, spec_.uniqueKeyName);
  } else {
    SHOWMESSAGE(14, "");
  }
  SELECT(spec_.controls.first);
  return false;
}

void Form::StoreChange() {
  for (;;) {
    localResponse_ = kResponseCancelled;
    if (Transaction(spec_.txUpdate)) {
      localResponse_ = kResponseCompleted;
      POST(event::kCloseWindow);
      return;
    }
    int32_t button = SHOWMESSAGE(16, "");
    if (button == kButtonYes) continue;
    if (button == kButtonNo) {
      POST(event::kCloseWindow);
    } else {
      DISPLAY();
      SELECT(spec_.controls.first);
    }
    return;
  }
}

// "Add MORE": the record is added at once and the form starts on the next.
void Form::AddMore() {
  if (!StoreInsert(false)) return;
  ClearRecordOf(file_);
  DISPLAY();
  SELECT(spec_.controls.first);
}

}  // namespace rk
