// A table of a KMF file opened as its own stored definition declares it, so that
// the commands work on any KMF file without knowing its layout beforehand.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/files/declared_file.h"
#include "runtime/files/kmf_definition.h"

namespace rk::kmftool {

struct StoredTable {
  std::string table;  // its name inside the file
  kmf::TableDefinition definition;
  std::unique_ptr<DeclaredFile> declared;

  FileDescriptor& file() { return declared->file(); }
};

// Names of the tables of a file; empty with a message in problem on failure.
std::vector<std::string> ListTables(const std::string& path, std::string& problem);

// Opens a table (the file's first one when table is empty) with the access mode.
// Returns false with a message in problem when it cannot.
bool OpenStoredTable(const std::string& path, const std::string& table, int32_t accessMode,
                     StoredTable& out, std::string& problem);

// The text of a field for export: texts without their trailing spaces.
std::string FieldExportText(DeclaredFile& file, const FieldInfo& field, uint32_t element);

}  // namespace rk::kmftool
