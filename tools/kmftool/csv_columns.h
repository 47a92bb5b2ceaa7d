// The columns of a table in CSV: one per field element ("NAME" or "NAME[i]" for
// arrays, counted from 1), then one per memo.
#pragma once

#include <string>
#include <vector>

#include "runtime/files/declared_file.h"

namespace rk::kmftool {

struct CsvColumn {
  std::string name;
  const FieldInfo* field = nullptr;  // null for a memo
  uint32_t element = 0;
  int memo = 0;  // memo number from 1
};

std::vector<CsvColumn> CsvColumns(DeclaredFile& file);

}  // namespace rk::kmftool
