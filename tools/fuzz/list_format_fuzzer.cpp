// List box FORMAT strings from any text: a string parses into columns or is
// refused with the offset of a character inside it and a reason; columns lay
// out side by side at any scale.
#include <string_view>
#include <vector>

#include "runtime/windows/list_format.h"
#include "tools/fuzz/fuzz_inputs.h"

namespace rk::fuzz {

int ListFormatInput(const uint8_t* data, size_t size) {
  std::string_view format(reinterpret_cast<const char*>(data), size);
  std::vector<ListColumn> columns;
  ListFormatError error;
  if (!ParseListFormat(format, columns, &error)) {
    if (!columns.empty() || error.reason.empty() || error.offset > format.size()) Broken();
    return 0;
  }
  for (AxisScale scale : {AxisScale{1, 1}, AxisScale{7, 4}, AxisScale{3, 8}}) {
    LayOutColumns(columns, scale);
  }
  std::vector<int32_t> levels;
  for (const ListColumn& column : columns) levels.push_back(column.widthUnits);
  TreeNodeStates(levels);
  return 0;
}

}  // namespace rk::fuzz
