#include "tools/kmftool/table_listing.h"

#include <cstdio>

#include "runtime/core/error_state.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_statements.h"

namespace rk::kmftool {

bool OpenOrSayWhy(const std::string& path, const std::string& table, int32_t accessMode,
                  StoredTable& stored) {
  std::string problem;
  if (OpenStoredTable(path, table, accessMode, stored, problem)) return true;
  std::fprintf(stderr, "kmftool: %s: %s\n", path.c_str(), problem.c_str());
  return false;
}

int PrintEveryRecord(StoredTable& stored, const std::function<std::string()>& line) {
  SET(stored.file());
  for (NEXT(stored.file()); ErrorCode() == 0; NEXT(stored.file()))
    std::printf("%s\n", line().c_str());
  int32_t error = ErrorCode();
  CLOSE(stored.file());
  if (error != file_error::kRecordNotAvailable) {  // NEXT past the last record
    std::fprintf(stderr, "kmftool: read failed: %d %s\n", error, MessageText(error).c_str());
    return 1;
  }
  return 0;
}

}  // namespace rk::kmftool
