#include "tools/soak/form_saves.h"

#include <map>

#include "app/collection_files.h"
#include "app/form_spec.h"
#include "app/procedure_table.h"
#include "app/thread_globals.h"
#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/file_statements.h"
#include "tools/kmftool/stored_table.h"

namespace soak {
namespace {

constexpr int32_t kEndOfSequence = 33;

// Every field's value by name, the elements of an array one by one, trailing
// spaces dropped: the same text whichever declaration reads the record, the
// program's own or the one stored in the file. Groups are left out; their
// members are compared.
std::string RecordValues(rk::DeclaredFile& file) {
  std::map<std::string, std::string> values;
  for (const rk::FieldInfo& field : file.fields()) {
    if (field.type == rk::kGroup) continue;
    for (uint32_t element = 0; element < field.count; ++element) {
      std::string text = file.text(field, element);
      text.erase(text.find_last_not_of(' ') + 1);
      values[field.name + "[" + std::to_string(element) + "]"] = text;
    }
  }
  std::string joined;
  for (const auto& [name, text] : values) joined += name + "=" + text + "; ";
  return joined;
}

FormRequest RequestOf(int32_t request) {
  if (request == rk::kRequestInsert) return FormRequest::kInsert;
  return request == rk::kRequestDelete ? FormRequest::kDelete : FormRequest::kChange;
}

}  // namespace

void WatchFormSaves(SavedRecords& saved, const long& step) {
  for (const rk::FormSpec& spec : rk::FormSpecs()) {
    rk::ProcedureBody form = rk::ProcedureNamed(spec.procedure);
    rk::RegisterProcedure(spec.procedure, [&saved, &spec, &step, form] {
      // The form runs on its caller's thread, whose record buffers are in place
      // both before and after it.
      rk::DeclaredFile& file = rk::CollectionFile(spec.file);
      int32_t request = rk::GlobalRequest();
      std::string before = RecordValues(file);
      form();
      if (rk::GlobalResponse() != rk::kResponseCompleted) return;
      saved.Note(rk::FileNameText(file.file()), spec.procedure, RequestOf(request), before,
                 RecordValues(file), step);
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
  if (error == kEndOfSequence) return true;
  problem = "read failed: " + rk::MessageText(error);
  return false;
}

}  // namespace soak
