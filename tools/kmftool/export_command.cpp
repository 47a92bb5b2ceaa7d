// kmftool export FILE --csv [TABLE]: the records of a table as CSV on standard
// output, a header line of column names first.
#include <cstdio>
#include <string>

#include "runtime/core/error_state.h"
#include "runtime/files/file_statements.h"
#include "tools/kmftool/csv_columns.h"
#include "tools/kmftool/kmftool_commands.h"
#include "tools/kmftool/stored_table.h"
#include "tools/kmftool/table_listing.h"
#include "tools/kmftool/text_formats.h"

namespace rk::kmftool {
namespace {

std::string CsvLine(DeclaredFile& file, const std::vector<CsvColumn>& columns, bool header) {
  std::string line;
  for (size_t i = 0; i < columns.size(); ++i) {
    const CsvColumn& column = columns[i];
    std::string text = header         ? column.name
                       : column.field ? FieldExportText(file, *column.field, column.element)
                                      : file.memoText(column.memo);
    if (i) line += ',';
    line += CsvField(text);
  }
  return line;
}

}  // namespace

int ExportCommand(const Arguments& arguments) {
  if (arguments.words.empty() || arguments.words.size() > 2 || !arguments.csv) {
    std::fprintf(stderr, "usage: kmftool export FILE --csv [TABLE]\n");
    return 2;
  }
  StoredTable stored;
  if (!OpenOrSayWhy(arguments.words[0], arguments.words.size() > 1 ? arguments.words[1] : "",
                    kAccessReadOnly | kDenyWrite, stored)) {
    return 1;
  }
  DeclaredFile& file = *stored.declared;
  std::vector<CsvColumn> columns = CsvColumns(file);
  std::printf("%s\n", CsvLine(file, columns, true).c_str());
  return PrintEveryRecord(stored, [&] { return CsvLine(file, columns, false); });
}

}  // namespace rk::kmftool
