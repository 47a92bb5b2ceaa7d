// The peer: the same tapes in one SQLite table with three indexes that order it
// as the KMF file's three keys do, with full synchronous durability.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "bench/kmf/tape_records.h"

namespace rk::bench {

class SqliteTapeStore {
 public:
  // Creates the database file at path (removed first) with its table and indexes.
  explicit SqliteTapeStore(const std::string& path);
  ~SqliteTapeStore();
  SqliteTapeStore(const SqliteTapeStore&) = delete;
  SqliteTapeStore& operator=(const SqliteTapeStore&) = delete;

  std::string journalMode();
  void LoadInOneTransaction(std::span<const Tape> tapes);
  void InsertEachDurably(std::span<const Tape> tapes);
  int64_t ScanInKeyOrder(int key, int64_t& serialSum);
  int64_t GetEach(std::span<const int32_t> serials);
  void RetitleInOneTransaction(std::span<const std::pair<int32_t, std::string>> changes);

 private:
  void Execute(const char* sql);
  sqlite3_stmt* Prepare(const char* sql);
  void Insert(const Tape& tape);
  // Reads every column of the current row, as the KMF side copies the record.
  int32_t ReadRow(sqlite3_stmt* statement);

  sqlite3* db_ = nullptr;
  sqlite3_stmt* insert_ = nullptr;
  sqlite3_stmt* bySerial_ = nullptr;
  sqlite3_stmt* retitle_ = nullptr;
};

}  // namespace rk::bench
