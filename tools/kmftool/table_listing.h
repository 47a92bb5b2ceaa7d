// What the commands that work through a whole table share: opening it or saying
// why not, and printing one line for every record.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "tools/kmftool/stored_table.h"

namespace rk::kmftool {

// Opens the table (the file's first when table is empty); when it cannot, says
// so on standard error ("kmftool: FILE: problem") and returns false.
bool OpenOrSayWhy(const std::string& path, const std::string& table, int32_t accessMode,
                  StoredTable& stored);

// Prints the line `line` makes of each record, in record order, then closes the
// table. The exit code: 0 after the last record, 1 when a read failed (said on
// standard error).
int PrintEveryRecord(StoredTable& stored, const std::function<std::string()>& line);

}  // namespace rk::kmftool
