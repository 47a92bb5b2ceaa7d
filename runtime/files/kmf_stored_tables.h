// The tables a KMF file holds and their stored definitions, read without a
// declaration: what tools need to open a file whose layout they do not know.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/files/kmf_btree.h"
#include "runtime/files/kmf_definition.h"
#include "runtime/files/kmf_record_kinds.h"

namespace rk::kmf {

// The definition stream of a table: its definition records, in piece order.
std::string ReadDefinitionStream(Tree& tree, uint32_t tableNumber);

// The names of the file's tables in key order. False, with a message, when the
// file cannot be read.
bool ReadStoredTableNames(const std::string& path, std::vector<std::string>& names,
                          std::string& problem);
// The stored definition of one table.
bool ReadStoredDefinition(const std::string& path, const std::string& table,
                          TableDefinition& definition, std::string& problem);

// What a table's counter records say, beside its name, number and definition.
struct StoredTableSummary {
  std::string name;
  uint32_t number = 0;
  TableDefinition definition;
  bool definitionReadable = false;
  CounterValue records;
  std::vector<CounterValue> keys;  // one per declared key, in declaration order
};
// Every table of the file, in key order (no scan: the counters as stored).
bool ReadStoredTableSummaries(const std::string& path, std::vector<StoredTableSummary>& tables,
                              std::string& problem);

}  // namespace rk::kmf
