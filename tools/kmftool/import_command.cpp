// kmftool import FILE --csv CSVFILE [TABLE]: adds the rows of a CSV file (a header
// line naming the columns as export writes them) to an existing table through
// ADD. Rows that would duplicate a unique key are reported and skipped; any other
// failure stops the import. Columns the CSV leaves out are blank.
#include <cstdio>
#include <fstream>
#include <string>

#include "runtime/core/clear_value.h"
#include "runtime/core/error_state.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_statements.h"
#include "tools/kmftool/csv_columns.h"
#include "tools/kmftool/kmftool_commands.h"
#include "tools/kmftool/stored_table.h"
#include "tools/kmftool/table_listing.h"
#include "tools/kmftool/text_formats.h"

namespace rk::kmftool {
namespace {

// Maps each CSV column to a table column; false with a message for an unknown one.
bool MapHeader(const std::vector<std::string>& header, const std::vector<CsvColumn>& columns,
               std::vector<const CsvColumn*>& mapped, std::string& problem) {
  for (const std::string& name : header) {
    const CsvColumn* found = nullptr;
    for (const CsvColumn& column : columns)
      if (column.name == name) found = &column;
    if (!found) {
      problem = "the table has no column " + name;
      return false;
    }
    mapped.push_back(found);
  }
  return true;
}

void FillRecord(DeclaredFile& file, const std::vector<const CsvColumn*>& mapped,
                const std::vector<std::string>& row) {
  FileDescriptor& descriptor = file.file();
  ClearValue(descriptor.record, {descriptor.fieldList, descriptor.fieldListLength}, kClearBlank);
  for (int m = 1; m <= file.memoCount(); ++m) file.setMemoText(m, "");
  for (size_t i = 0; i < mapped.size() && i < row.size(); ++i) {
    if (mapped[i]->field)
      file.setText(*mapped[i]->field, row[i], mapped[i]->element);
    else
      file.setMemoText(mapped[i]->memo, row[i]);
  }
}

struct ImportCounts {
  int added = 0;
  int duplicates = 0;
};

// Adds every row; returns 0, or the error that stopped it.
int32_t AddRows(std::istream& csv, DeclaredFile& file, const std::vector<const CsvColumn*>& mapped,
                ImportCounts& counts) {
  std::vector<std::string> row;
  std::string problem;
  for (int line = 2; ReadCsvRecord(csv, row, problem); ++line) {
    FillRecord(file, mapped, row);
    ADD(file.file());
    if (ErrorCode() == file_error::kDuplicateKey) {
      std::printf("row %d: duplicate key, not added\n", line);
      ++counts.duplicates;
    } else if (ErrorCode() != 0) {
      std::fprintf(stderr, "kmftool: row %d: %d %s\n", line, ErrorCode(),
                   MessageText(ErrorCode()).c_str());
      return ErrorCode();
    } else {
      ++counts.added;
    }
  }
  if (!problem.empty()) {
    std::fprintf(stderr, "kmftool: %s\n", problem.c_str());
    return -1;
  }
  return 0;
}

}  // namespace

int ImportCommand(const Arguments& arguments) {
  if (arguments.words.size() < 2 || arguments.words.size() > 3 || !arguments.csv) {
    std::fprintf(stderr, "usage: kmftool import FILE --csv CSVFILE [TABLE]\n");
    return 2;
  }
  std::ifstream csv(arguments.words[1], std::ios::binary);
  if (!csv) {
    std::fprintf(stderr, "kmftool: cannot read %s\n", arguments.words[1].c_str());
    return 1;
  }
  StoredTable stored;
  if (!OpenOrSayWhy(arguments.words[0], arguments.words.size() > 2 ? arguments.words[2] : "",
                    kAccessReadWrite | kDenyAll, stored)) {
    return 1;
  }
  std::string problem;
  DeclaredFile& file = *stored.declared;
  std::vector<std::string> header;
  std::vector<const CsvColumn*> mapped;
  std::vector<CsvColumn> columns = CsvColumns(file);
  ImportCounts counts;
  int32_t error = 0;
  if (!ReadCsvRecord(csv, header, problem) || !MapHeader(header, columns, mapped, problem)) {
    std::fprintf(stderr, "kmftool: %s: %s\n", arguments.words[1].c_str(),
                 problem.empty() ? "no header line" : problem.c_str());
    error = -1;
  } else {
    error = AddRows(csv, file, mapped, counts);
  }
  CLOSE(file.file());
  std::printf("%d added, %d duplicates\n", counts.added, counts.duplicates);
  return error == 0 ? 0 : 1;
}

}  // namespace rk::kmftool
