// kmftool info FILE: what the header says (signature, change counter, the two
// file-length copies, the last number issued, the root page and every non-empty
// page-class range) and, for each table, its number, record count and the entry
// count of each key, as the counter records keep them.
#include <cstdio>
#include <string>

#include "runtime/core/error_state.h"
#include "runtime/files/kmf_header.h"
#include "runtime/files/kmf_open_files.h"
#include "runtime/files/kmf_stored_tables.h"
#include "runtime/platform/os_file.h"
#include "tools/kmftool/kmftool_commands.h"

namespace rk::kmftool {
namespace {

constexpr size_t kSignatureOffset = 0x0E;
constexpr uint32_t kReadDenyNone = 0x40;

// The signature bytes as text, each byte outside printable ASCII as \xNN.
std::string SignatureText(const uint8_t* header) {
  std::string text;
  for (size_t i = 0; i < 4; ++i) {
    uint8_t c = header[kSignatureOffset + i];
    if (c >= 0x20 && c < 0x7F) {
      text.push_back(static_cast<char>(c));
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      text += escaped;
    }
  }
  return text;
}

// The header as stored, read through a handle of its own that is closed again
// before the tables are read (the driver's open shares nothing).
bool PrintHeader(const std::string& path) {
  platform::FileHandle handle = platform::kNoHandle;
  if (uint32_t error = platform::OpenExisting(path, kReadDenyNone, handle)) {
    std::fprintf(stderr, "kmftool: cannot open %s: %s\n", path.c_str(),
                 MessageText(300 + static_cast<int32_t>(error)).c_str());
    return false;
  }
  uint8_t raw[kmf::kHeaderSize];
  uint32_t got = 0;
  platform::ReadAt(handle, 0, raw, kmf::kHeaderSize, got);
  platform::CloseFile(handle);
  if (got < kmf::kHeaderSize) {
    std::fprintf(stderr, "kmftool: %s: the header cannot be read\n", path.c_str());
    return false;
  }
  kmf::Header header = kmf::DecodeHeader(raw);
  std::printf("file %s\n", path.c_str());
  std::printf("signature %s%s\n", SignatureText(raw).c_str(),
              header.hasSignature ? "" : " (wrong)");
  if (!header.hasSignature) return false;
  std::printf("change counter %u\n", header.changeCounter);
  std::printf("file length %u, pending end %u%s\n", header.committedEnd, header.pendingEnd,
              header.committedEnd == header.pendingEnd ? "" : " (a write-back is pending)");
  std::printf("last number issued %u\n", header.lastNumberIssued);
  if (header.root == kmf::kNoPage) {
    std::printf("root page none\n");
  } else {
    std::printf("root page %u\n", header.root);
  }
  for (int c = 1; c < kmf::kClassCount; ++c) {
    uint32_t start = header.rangeStart[c];
    uint32_t end = header.rangeEnd[c];
    if (end <= start) continue;
    std::printf("class %d (%u bytes): addresses %u to %u, %u slots\n", c, c * kmf::kUnitSize, start,
                end, (end - start) / c);
  }
  return true;
}

std::string KeyName(const kmf::KeyDefinition& key, size_t number) {
  if (key.label && !key.label->empty()) return *key.label;
  if (key.externalName && !key.externalName->empty()) return *key.externalName;
  return "key " + std::to_string(number + 1);
}

void PrintTable(const kmf::StoredTableSummary& table) {
  std::printf("table %s: number %u, %u records", table.name.c_str(), table.number,
              table.records.count);
  if (!table.definitionReadable) {
    std::printf(", definition unreadable\n");
    return;
  }
  std::printf(", record length %u\n", table.definition.recordLength);
  for (size_t k = 0; k < table.keys.size(); ++k) {
    std::printf("  key %s: %u entries", KeyName(table.definition.keys[k], k).c_str(),
                table.keys[k].count);
    if (table.keys[k].missingFrom != 0) {
      std::printf(" (entries missing from record %u)", table.keys[k].missingFrom);
    }
    std::printf("\n");
  }
}

}  // namespace

int InfoCommand(const Arguments& arguments) {
  if (arguments.words.size() != 1 || arguments.csv) {
    std::fprintf(stderr, "usage: kmftool info FILE\n");
    return 2;
  }
  std::string path = kmf::KmfFileName(arguments.words[0]);
  if (!PrintHeader(path)) return 1;
  std::vector<kmf::StoredTableSummary> tables;
  std::string problem;
  if (!kmf::ReadStoredTableSummaries(path, tables, problem)) {
    std::fprintf(stderr, "kmftool: %s: %s\n", path.c_str(), problem.c_str());
    return 1;
  }
  for (const kmf::StoredTableSummary& table : tables) PrintTable(table);
  return 0;
}

}  // namespace rk::kmftool
