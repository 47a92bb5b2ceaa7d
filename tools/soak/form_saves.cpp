#include "tools/soak/form_saves.h"

#include <map>
#include <optional>

#include "app/collection_files.h"
#include "app/form_spec.h"
#include "app/procedure_table.h"
#include "app/thread_globals.h"
#include "runtime/core/clipped_text.h"
#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/operation_codes.h"
#include "runtime/files/runtime_threads.h"
#include "tools/kmftool/stored_table.h"

namespace soak {
namespace {

// Every field's value by name, the elements of an array one by one, trailing
// spaces dropped: the same text whichever declaration reads the record, the
// program's own or the one stored in the file. Groups are left out; their
// members are compared.
std::string RecordValues(rk::DeclaredFile& file) {
  std::map<std::string, std::string> values;
  for (const rk::FieldInfo& field : file.fields()) {
    if (field.type == rk::kGroup) continue;
    for (uint32_t element = 0; element < field.count; ++element) {
      values[field.name + "[" + std::to_string(element) + "]"] =
          std::string(rk::ClipRight(file.text(field, element)));
    }
  }
  std::string joined;
  for (const auto& [name, text] : values) joined += name + "=" + text + "; ";
  return joined;
}

using Writer = std::pair<int32_t, const rk::FileDescriptor*>;  // thread, file

// A record as written, and when: writes are counted over the whole walk.
struct Write {
  std::string values;
  long order = 0;
};
long writes = 0;

// The last record each thread ADDed or PUT to each collection file: what a
// form stored is the last record it wrote, whatever its buffer holds when it
// returns.
std::map<Writer, Write> lastWritten;
// The same for DELETE: the record as the delete read it again from the file,
// which another thread may have changed since the form's caller read it.
std::map<Writer, Write> lastDeleted;

// A write as it was asked, kept until the driver has answered it: the values
// are read before the call, since a failed or completed call may leave the
// buffer otherwise, and count only once the call succeeded.
std::map<Writer, std::pair<int32_t, std::string>> asked;

bool IsWrite(int32_t code) {
  return code == rk::kOpAdd || code == rk::kOpPut || code == rk::kOpDelete;
}

void NoteAsked(int32_t code, const rk::FileDescriptor& written) {
  if (!IsWrite(code)) return;
  for (int id = 0; id < rk::kCollectionFileCount; ++id) {
    // A file declared per thread keeps one descriptor whose contents are the
    // running thread's: the same address on every thread.
    rk::DeclaredFile& file = rk::CollectionFile(static_cast<rk::CollectionFileId>(id));
    if (&file.file() != &written) continue;
    asked[{rk::CurrentThreadNumber(), &written}] = {code, RecordValues(file)};
    return;
  }
}

void NoteDone(int32_t code, const rk::FileDescriptor& written, int32_t error) {
  if (!IsWrite(code)) return;
  auto it = asked.find({rk::CurrentThreadNumber(), &written});
  if (it == asked.end()) return;
  auto [writer, write] = *it;
  asked.erase(it);
  if (error != 0 || write.first != code) return;
  auto& last = code == rk::kOpDelete ? lastDeleted : lastWritten;
  last[writer] = Write{std::move(write.second), ++writes};
}

FormRequest RequestOf(int32_t request) {
  if (request == rk::kRequestInsert) return FormRequest::kInsert;
  return request == rk::kRequestDelete ? FormRequest::kDelete : FormRequest::kChange;
}

// A numbered insert that does not complete deletes the record it added when it
// opened, if the file still holds it as it was added; another window may have
// saved it meanwhile without changing it. The delete is matched by the serial,
// which the form's own buffer still names.
void NoteCancelledInsert(SavedRecords& saved, const rk::FormSpec& spec, int32_t request,
                         const Writer& writer) {
  if (spec.insert != rk::InsertStyle::kNumbered || request != rk::kRequestInsert) return;
  auto deleted = lastDeleted.find(writer);
  if (deleted == lastDeleted.end()) return;
  std::string serial = EntryOf(deleted->second.values, spec.serialField);
  if (!serial.empty())
    saved.Withdraw(rk::FileNameText(*writer.second), serial, deleted->second.order);
}

}  // namespace

void WatchFormSaves(SavedRecords& saved, const long& step) {
  rk::SetDriverCallWatch([](int32_t code, const rk::FileDescriptor& file, const std::string&) {
    NoteAsked(code, file);
  });
  rk::SetDriverCallDone(NoteDone);
  for (const rk::FormSpec& spec : rk::FormSpecs()) {
    rk::ProcedureBody form = rk::ProcedureNamed(spec.procedure);
    rk::RegisterProcedure(spec.procedure, [&saved, &spec, &step, form] {
      // The form runs on its caller's thread, whose record buffers are in place
      // both before and after it.
      rk::DeclaredFile& file = rk::CollectionFile(spec.file);
      int32_t request = rk::GlobalRequest();
      std::string before = RecordValues(file);
      Writer writer{rk::CurrentThreadNumber(), &file.file()};
      lastWritten.erase(writer);
      lastDeleted.erase(writer);
      form();
      if (rk::GlobalResponse() != rk::kResponseCompleted) {
        NoteCancelledInsert(saved, spec, request, writer);
        return;
      }
      std::optional<std::string> written;
      long writtenAt = 0;
      if (auto last = lastWritten.find(writer); last != lastWritten.end()) {
        written = last->second.values;
        writtenAt = last->second.order;
      }
      if (auto deleted = lastDeleted.find(writer); deleted != lastDeleted.end()) {
        before = deleted->second.values;
        writtenAt = deleted->second.order;
      }
      saved.Note(rk::FileNameText(file.file()), spec.procedure, RequestOf(request), before, written,
                 step, writtenAt);
    });
  }
}

bool ReadStoredFile(const std::string& file, std::multiset<std::string>& records,
                    std::string& problem) {
  rk::kmftool::StoredTable stored;
  if (!rk::kmftool::OpenStoredTable(file, "", rk::kAccessReadOnly | rk::kDenyWrite, stored,
                                    problem)) {
    return false;
  }
  rk::SET(stored.file());
  for (;;) {
    rk::NEXT(stored.file());
    if (rk::ErrorCode() != 0) break;
    records.insert(RecordValues(*stored.declared));
  }
  int32_t error = rk::ErrorCode();
  rk::CLOSE(stored.file());
  if (error == rk::file_error::kRecordNotAvailable) return true;
  problem = "read failed: " + rk::MessageText(error);
  return false;
}

}  // namespace soak
