// kmftool dump FILE [TABLE]: every record of a table in record order, one JSON
// object a line: {"record": n, "fields": {...}, "memos": {...}}.
#include <cstdio>
#include <string>

#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/file_statements.h"
#include "tools/common/json_string.h"
#include "tools/kmftool/kmftool_commands.h"
#include "tools/kmftool/stored_table.h"
#include "tools/kmftool/table_listing.h"
#include "tools/kmftool/text_formats.h"

namespace rk::kmftool {
namespace {

std::string JsonValue(DeclaredFile& file, const FieldInfo& field, uint32_t element) {
  std::string text = FieldExportText(file, field, element);
  bool number = !IsTextType(field.type) && field.type != kGroup && IsJsonNumber(text);
  return number ? text : tools::JsonString(text);
}

std::string JsonField(DeclaredFile& file, const FieldInfo& field) {
  if (field.count == 1) return JsonValue(file, field, 0);
  std::string array = "[";
  for (uint32_t i = 0; i < field.count; ++i) array += (i ? ", " : "") + JsonValue(file, field, i);
  return array + "]";
}

std::string RecordJson(StoredTable& stored) {
  DeclaredFile& file = *stored.declared;
  std::string line = "{\"record\": " + std::to_string(POINTER(file.file())) + ", \"fields\": {";
  bool first = true;
  for (const FieldInfo& field : file.fields()) {
    line += (first ? "" : ", ") + tools::JsonString(field.name) + ": " + JsonField(file, field);
    first = false;
  }
  line += "}, \"memos\": {";
  for (int m = 1; m <= file.memoCount(); ++m)
    line += (m > 1 ? ", " : "") + tools::JsonString(MemoLabel(file.memo(m))) + ": " +
            tools::JsonString(file.memoText(m));
  return line + "}}";
}

}  // namespace

int DumpCommand(const Arguments& arguments) {
  if (arguments.words.empty() || arguments.words.size() > 2 || arguments.csv) {
    std::fprintf(stderr, "usage: kmftool dump FILE [TABLE]\n");
    return 2;
  }
  StoredTable stored;
  if (!OpenOrSayWhy(arguments.words[0], arguments.words.size() > 1 ? arguments.words[1] : "",
                    kAccessReadOnly | kDenyWrite, stored)) {
    return 1;
  }
  return PrintEveryRecord(stored, [&] { return RecordJson(stored); });
}

}  // namespace rk::kmftool
