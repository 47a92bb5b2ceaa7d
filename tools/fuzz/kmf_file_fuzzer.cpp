// Whole KMF files from any bytes. The check must read any file without harm.
// A file it passes is then opened through the driver table by table, as its
// stored definition declares it (which recovers a pending area the header
// points at), and every record is read in key order with its memos; afterwards
// the file must still pass the check. A file the check refuses is not opened:
// the driver ends the program on damage it meets, by design.
#include <fstream>
#include <string>
#include <vector>

#include "runtime/core/error_state.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_check.h"
#include "tools/fuzz/fuzz_inputs.h"
#include "tools/kmftool/stored_table.h"

namespace rk::fuzz {
namespace {

void ReadEveryRecord(kmftool::StoredTable& table) {
  int32_t counted = RECORDS(table.file());
  int32_t read = 0;
  SET(table.file());
  for (NEXT(table.file()); ErrorCode() == 0; NEXT(table.file())) ++read;
  if (ErrorCode() != file_error::kRecordNotAvailable || read != counted) Broken();
  for (int key = 1; key <= static_cast<int>(table.definition.keys.size()); ++key) {
    SET(table.declared->key(key));
    int32_t inKey = 0;
    for (NEXT(table.file()); ErrorCode() == 0; NEXT(table.file())) ++inKey;
    if (ErrorCode() != file_error::kRecordNotAvailable || inKey > counted) Broken();
  }
}

}  // namespace

int KmfFileInput(const uint8_t* data, size_t size) {
  std::string path = (ScratchFolder() / "FUZZ.KMF").string();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!kmf::CheckFile(path).ok()) return 0;

  std::string problem;
  std::vector<std::string> tables = kmftool::ListTables(path, problem);
  for (const std::string& name : tables) {
    ClearError();
    kmftool::StoredTable table;
    if (!kmftool::OpenStoredTable(path, name, kAccessReadWrite | kDenyAll, table, problem)) {
      continue;
    }
    ReadEveryRecord(table);
    CLOSE(table.file());
  }
  if (!kmf::CheckFile(path).ok()) Broken();
  return 0;
}

}  // namespace rk::fuzz
