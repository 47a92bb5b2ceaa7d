// The start of an update form and every way out of it: the files it opens, the
// save area, the numbering of an insert, the delete that needs no window, and
// the close routine.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/file_uses.h"
#include "app/form.h"
#include "app/standard_messages.h"
#include "app/thread_globals.h"
#include "app/transaction_procedures.h"
#include "runtime/core/error_state.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_statements.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/message_box.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/wait_cursor.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_statements.h"

namespace rk {
namespace {

constexpr int kNumberingTries = 3;

}  // namespace

void RunForm(const FormSpec& spec) {
  Form form(spec);
  form.Run();
}

Form::Form(const FormSpec& spec) : spec_(spec), file_(CollectionFile(spec.file)) {
  for (const FormDropList& list : spec.dropLists) {
    const FieldInfo& name = *CollectionFile(list.lookup).field(list.lookupField);
    FieldSpec entry{name.name.c_str(), 0, name.type, name.size, name.places};
    dropQueues_.push_back(std::make_unique<DeclaredQueue>(std::span(&entry, 1), name.size));
  }
  if (spec.child) child_ = std::make_unique<Browse>(*spec.child);
}

Form::~Form() = default;

void Form::Run() {
  request_ = GlobalRequest();
  localResponse_ = kResponseCancelled;
  GlobalRequest() = 0;
  GlobalResponse() = 0;
  OpenFiles();
  SaveArea();
  bool windowWanted = true;
  if (request_ == kRequestInsert && spec_.insert == InsertStyle::kNumbered) {
    windowWanted = NumberRecord();
  } else if (request_ == kRequestDelete) {
    DeleteRecord();
    windowWanted = false;
  }
  if (windowWanted) {
    OpenFormWindow();
    for (AcceptLoop loop; loop.Next();) HandleEvent();
  }
  CloseDown();
}

void Form::OpenFiles() {
  OpenFileUses(spec_.file, spec_.otherFiles);
}

void Form::CloseFiles() {
  CloseFileUses(spec_.file, spec_.otherFiles);
}

void Form::SaveArea() {
  savedRecord_.assign(file_.record(), file_.record() + file_.file().recordLength);
  savedMemos_.clear();
  for (int memo = 1; memo <= file_.memoCount(); ++memo) savedMemos_.push_back(file_.memoText(memo));
}

void Form::RestoreArea() {
  std::memcpy(file_.record(), savedRecord_.data(), savedRecord_.size());
  for (int memo = 1; memo <= file_.memoCount(); ++memo) {
    file_.setMemoText(memo, savedMemos_[static_cast<size_t>(memo - 1)]);
  }
}

// The new record takes the highest serial number + 1 and is added at once, so
// that it holds its number while the form is open. Another station adding at
// the same moment makes the ADD fail on the unique key; the number is then
// taken afresh, three times before the user is asked.
bool Form::NumberRecord() {
  KeyDescriptor& key = *file_.key(spec_.uniqueKey);
  const FieldInfo& serial = *file_.field(spec_.serialField);
  for (int tries = 0;;) {
    SET(key);
    PREVIOUS(file_.file());
    if (ErrorCode() != 0 && ErrorCode() != file_error::kRecordNotAvailable) {
      SHOWMESSAGE(35, file_.label());
      return false;
    }
    int32_t number =
        ErrorCode() == file_error::kRecordNotAvailable ? 1 : std::stoi(file_.text(serial)) + 1;
    RestoreArea();
    file_.setText(serial, std::to_string(number));
    SaveArea();
    ADD(file_.file());
    if (ErrorCode() == 0) {
      addedPosition_ = POSITION(file_.file());
      return true;
    }
    if (++tries < kNumberingTries) continue;
    if (SHOWMESSAGE(25, "") != kButtonRetry) {
      localResponse_ = kResponseCancelled;
      return false;
    }
    tries = 0;
  }
}

// Cancelling takes the added record away again. Another window may have
// changed and saved it meanwhile, since it stands in the file like any other:
// what that window saved is kept.
void Form::TakeBackNumberedRecord() {
  REGET(file_.file(), addedPosition_);
  if (ErrorCode() != 0) return ClearError();  // gone already
  bool unchanged = std::equal(savedRecord_.begin(), savedRecord_.end(), file_.record());
  for (int memo = 1; unchanged && memo <= file_.memoCount(); ++memo)
    unchanged = file_.memoText(memo) == savedMemos_[static_cast<size_t>(memo - 1)];
  if (unchanged) DELETE(file_.file());
  ClearError();
}

void Form::DeleteRecord() {
  if (SHOWMESSAGE(32, "") != kButtonOk) return;
  for (;;) {
    localResponse_ = kResponseCancelled;
    if (Transaction(spec_.txDelete)) {
      localResponse_ = kResponseCompleted;
      return;
    }
    if (SHOWMESSAGE(18, "") != kButtonYes) return;
  }
}

bool Form::Transaction(const char* procedure) {
  WaitCursor wait;
  return CallTransactionProcedure(procedure) == kTransactionCommitted;
}

// The window's variables, one address per name in the definition's binding
// order.
std::vector<void*> Form::Bindings() {
  std::vector<void*> addresses;
  for (const char* name : spec_.bindings) {
    void* address = nullptr;
    for (size_t i = 0; i < spec_.dropLists.size(); ++i) {
      if (std::strcmp(name, spec_.dropLists[i].queue) == 0) address = &dropQueues_[i]->queue();
    }
    if (child_ && std::strcmp(name, spec_.childQueue) == 0) address = &child_->rows();
    if (!address) address = CollectionVariable(name);
    addresses.push_back(address);
  }
  return addresses;
}

void Form::OpenFormWindow() {
  OpenWindowWith(window_, WindowKind::kMdiChild, spec_.tag, spec_.label, Bindings());
  windowOpened_ = true;
  if (child_) child_->Attach(0);
  std::string title = request_ == kRequestInsert ? "Adding a " : "Changing a ";
  SetProperty(0, property::kText, title + file_.label() + " Record");
  DISPLAY();
}

// Every way out: the child list and the files are given back, the window
// closes, and the caller learns whether the request was carried out.
void Form::CloseDown() {
  if (child_ && windowOpened_) child_->Detach();
  CloseFiles();
  if (window_.IsOpen()) CloseWindow(window_);
  GlobalResponse() = localResponse_ != 0 ? localResponse_ : kResponseCancelled;
  ClearError();
}

}  // namespace rk
