#include "tools/kmftool/csv_columns.h"

namespace rk::kmftool {

std::vector<CsvColumn> CsvColumns(DeclaredFile& file) {
  std::vector<CsvColumn> columns;
  for (const FieldInfo& field : file.fields()) {
    for (uint32_t i = 0; i < field.count; ++i) {
      std::string name =
          field.count == 1 ? field.name : field.name + "[" + std::to_string(i + 1) + "]";
      columns.push_back({name, &field, i, 0});
    }
  }
  for (int m = 1; m <= file.memoCount(); ++m)
    columns.push_back({MemoLabel(file.memo(m)), nullptr, 0, m});
  return columns;
}

}  // namespace rk::kmftool
