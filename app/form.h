// One update form while it runs: the window through which one record of one
// file is inserted, changed or deleted, on the thread of the procedure that
// called it. The table row (form_spec.h) says which file, window, lists,
// checks and child list; everything else is here.
//
// The start, the numbering of an insert, the delete and the way out are in
// form_procedure.cpp; the events and the saving in form_events.cpp; the drop
// lists, lookups, range checks and derived fields in form_fields.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/browse.h"
#include "app/form_spec.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/queue.h"
#include "runtime/windows/window.h"

namespace rk {

// Runs the form of the row on the calling thread with the request global as
// its request; leaves 1 (done) or 2 (not done) in the response global.
void RunForm(const FormSpec& spec);

class Form {
 public:
  explicit Form(const FormSpec& spec);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  void Run();

 private:
  // --- form_procedure.cpp ---
  void OpenFiles();
  void CloseFiles();
  void SaveArea();
  void RestoreArea();
  // Numbers and ADDs the record of an insert; false when the form must close.
  bool NumberRecord();
  // Deletes the record NumberRecord added, unless it changed since.
  void TakeBackNumberedRecord();
  void DeleteRecord();
  // Calls the transaction procedure with the wait cursor; true when committed.
  bool Transaction(const char* procedure);
  std::vector<void*> Bindings();
  void OpenFormWindow();
  void CloseDown();

  // --- form_events.cpp ---
  void HandleEvent();
  void HandleControl(int32_t code, int32_t field);
  void HandleButton(int32_t control);
  void Refresh();
  void Complete();
  // ADD or PUT of an insert; true when the record is stored.
  bool StoreInsert(bool put);
  void StoreChange();
  void AddMore();
  void AfterChildEvent();

  // --- form_fields.cpp ---
  // Fills every drop list from its lookup file; false after a read error.
  bool FillDropLists();
  bool FillDropList(size_t index);
  void DropListChosen(size_t index);
  void Lookup(const FormLookup& lookup, bool quiet);
  void CheckRange(const FormRange& range);
  void Derive();
  void RefuseField(int32_t control);

  const FormSpec& spec_;
  DeclaredFile& file_;
  Window window_;
  std::vector<std::unique_ptr<DeclaredQueue>> dropQueues_;  // per drop list
  std::unique_ptr<Browse> child_;

  int32_t request_ = 0;  // the request on entry
  int32_t localResponse_ = 2;
  bool windowOpened_ = false;
  bool opened_ = false;  // the first open-window event has been handled
  bool forceRefresh_ = false;
  int32_t refusedLookup_ = 0;  // a lookup field just selected again after its select
  // The caller's record area on entry; for a numbered insert, the record as
  // it was added.
  std::vector<uint8_t> savedRecord_;
  std::vector<std::string> savedMemos_;
  std::string addedPosition_;  // where a numbered insert's record stands
};

}  // namespace rk
