#include "runtime/files/kmf_stored_tables.h"

#include "runtime/core/error_state.h"
#include "runtime/files/kmf_bytes.h"
#include "runtime/files/kmf_open_files.h"
#include "runtime/files/kmf_record_kinds.h"

namespace rk::kmf {
namespace {

constexpr uint32_t kReadDenyWrite = 0x20;  // read-only, deny write: no access locks needed

// Runs read on the file's tree inside one read access.
template <typename Read>
bool WithTree(const std::string& path, std::string& problem, Read read) {
  File* file = nullptr;
  if (uint32_t error = AcquireFile(KmfFileName(path), kReadDenyWrite, file); error != 0) {
    problem = MessageText(300 + static_cast<int32_t>(error));
    return false;
  }
  bool ok = false;
  if (int32_t begin = file->BeginAccess(false); begin != 0) {
    problem = MessageText(begin);
  } else {
    Tree tree(*file);
    ok = read(tree);
  }
  file->EndOperation();
  ReleaseFile(file);
  return ok;
}

// Calls visit with each table name and its table-name record, in key order.
template <typename Visit>
void ForEachTableName(Tree& tree, Visit visit) {
  Record found;
  std::string after = TableNameKey("");
  for (bool strictly = false; tree.SeekForward(after, strictly, found); strictly = true) {
    std::string_view key = found.Key();
    if (key.empty() || static_cast<uint8_t>(key[0]) != kTableNameTag) break;
    after = std::string(key);
    visit(std::string(key.substr(1)), found);
  }
}

}  // namespace

std::string ReadDefinitionStream(Tree& tree, uint32_t tableNumber) {
  std::string stream;
  Record piece;
  for (uint16_t k = 0; tree.Find(DefinitionKey(tableNumber, k), piece); ++k) {
    std::string bytes(piece.Data());
    bytes.resize(kDefinitionPieceSize, '\0');
    stream += bytes;
  }
  return stream;
}

bool ReadStoredTableNames(const std::string& path, std::vector<std::string>& names,
                          std::string& problem) {
  names.clear();
  return WithTree(path, problem, [&](Tree& tree) {
    ForEachTableName(tree, [&](std::string name, const Record&) { names.push_back(name); });
    return true;
  });
}

namespace {

StoredTableSummary SummaryOf(Tree& tree, std::string name, uint32_t number) {
  StoredTableSummary summary;
  summary.name = std::move(name);
  summary.number = number;
  std::string problem;
  summary.definitionReadable =
      DecodeDefinition(ReadDefinitionStream(tree, number), summary.definition, problem);
  Record counter;
  if (tree.Find(CounterKey(number, kDataTag), counter))
    ReadCounter(counter, false, summary.records);
  for (size_t k = 0; k < summary.definition.keys.size(); ++k) {
    CounterValue value;
    if (tree.Find(CounterKey(number, static_cast<uint8_t>(k)), counter))
      ReadCounter(counter, true, value);
    summary.keys.push_back(value);
  }
  return summary;
}

}  // namespace

bool ReadStoredTableSummaries(const std::string& path, std::vector<StoredTableSummary>& tables,
                              std::string& problem) {
  tables.clear();
  return WithTree(path, problem, [&](Tree& tree) {
    ForEachTableName(tree, [&](std::string name, const Record& record) {
      if (record.Data().size() < 4) return;
      uint32_t number = LoadBe32(reinterpret_cast<const uint8_t*>(record.Data().data()));
      tables.push_back(SummaryOf(tree, std::move(name), number));
    });
    return true;
  });
}

bool ReadStoredDefinition(const std::string& path, const std::string& table,
                          TableDefinition& definition, std::string& problem) {
  return WithTree(path, problem, [&](Tree& tree) {
    Record name;
    if (!tree.Find(TableNameKey(table), name) || name.Data().size() < 4) {
      problem = "no table " + table;
      return false;
    }
    uint32_t number = LoadBe32(reinterpret_cast<const uint8_t*>(name.Data().data()));
    return DecodeDefinition(ReadDefinitionStream(tree, number), definition, problem);
  });
}

}  // namespace rk::kmf
