#include "bench/kmf/sqlite_tape_store.h"

#include <cstdio>
#include <filesystem>

#include "bench/kmf/bench_checks.h"

namespace rk::bench {
namespace {

// The three orders of the tape file: serial; title (case-blind) and start date;
// start and end date.
const char* const kScans[] = {
    "SELECT * FROM htapes ORDER BY serial",
    "SELECT * FROM htapes ORDER BY title COLLATE NOCASE, start_date",
    "SELECT * FROM htapes ORDER BY start_date, end_date",
};

}  // namespace

SqliteTapeStore::SqliteTapeStore(const std::string& path) {
  std::filesystem::remove(path);
  std::filesystem::remove(path + "-journal");
  Require(sqlite3_open(path.c_str(), &db_) == SQLITE_OK, "sqlite3_open");
  Execute("PRAGMA synchronous=FULL");
  Execute(
      "CREATE TABLE htapes(serial INTEGER, title TEXT, start_date INTEGER, end_date INTEGER,"
      " type TEXT, manufacturer TEXT, format TEXT, speed TEXT, length TEXT, notes TEXT)");
  Execute("CREATE UNIQUE INDEX htapes_serial ON htapes(serial)");
  Execute("CREATE INDEX htapes_description ON htapes(title COLLATE NOCASE, start_date)");
  Execute("CREATE INDEX htapes_date ON htapes(start_date, end_date)");
  insert_ = Prepare("INSERT INTO htapes VALUES(?,?,?,?,?,?,?,?,?,NULL)");
  bySerial_ = Prepare("SELECT * FROM htapes WHERE serial = ?");
  retitle_ = Prepare("UPDATE htapes SET title = ? WHERE serial = ?");
}

SqliteTapeStore::~SqliteTapeStore() {
  sqlite3_finalize(insert_);
  sqlite3_finalize(bySerial_);
  sqlite3_finalize(retitle_);
  sqlite3_close(db_);
}

void SqliteTapeStore::Execute(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    std::fprintf(stderr, "%s: %s\n", sql, message ? message : "");
    Require(false, "SQLite statement");
  }
}

sqlite3_stmt* SqliteTapeStore::Prepare(const char* sql) {
  sqlite3_stmt* statement = nullptr;
  Require(sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) == SQLITE_OK, sql);
  return statement;
}

std::string SqliteTapeStore::journalMode() {
  sqlite3_stmt* statement = Prepare("PRAGMA journal_mode");
  std::string mode;
  if (sqlite3_step(statement) == SQLITE_ROW)
    mode = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
  sqlite3_finalize(statement);
  return mode;
}

void SqliteTapeStore::Insert(const Tape& tape) {
  sqlite3_bind_int(insert_, 1, tape.serial);
  sqlite3_bind_text(insert_, 2, tape.title.c_str(), -1, SQLITE_STATIC);
  sqlite3_bind_int(insert_, 3, tape.startDate);
  sqlite3_bind_int(insert_, 4, tape.endDate);
  sqlite3_bind_text(insert_, 5, tape.type.c_str(), -1, SQLITE_STATIC);
  sqlite3_bind_text(insert_, 6, tape.manufacturer.c_str(), -1, SQLITE_STATIC);
  sqlite3_bind_text(insert_, 7, tape.format.c_str(), -1, SQLITE_STATIC);
  sqlite3_bind_text(insert_, 8, tape.speed.c_str(), -1, SQLITE_STATIC);
  sqlite3_bind_text(insert_, 9, tape.length.c_str(), -1, SQLITE_STATIC);
  Require(sqlite3_step(insert_) == SQLITE_DONE, "SQLite INSERT");
  sqlite3_reset(insert_);
}

void SqliteTapeStore::LoadInOneTransaction(std::span<const Tape> tapes) {
  Execute("BEGIN");
  for (const Tape& tape : tapes) Insert(tape);
  Execute("COMMIT");
}

void SqliteTapeStore::InsertEachDurably(std::span<const Tape> tapes) {
  for (const Tape& tape : tapes) Insert(tape);
}

int32_t SqliteTapeStore::ReadRow(sqlite3_stmt* statement) {
  int32_t serial = sqlite3_column_int(statement, 0);
  size_t bytes = 0;
  for (int column = 1; column < 9; ++column) {
    if (column == 2 || column == 3) {
      bytes += static_cast<size_t>(sqlite3_column_int(statement, column)) & 1;
    } else {
      bytes += static_cast<size_t>(sqlite3_column_bytes(statement, column));
      bytes += sqlite3_column_text(statement, column) != nullptr;
    }
  }
  Require(bytes > 0, "SQLite row has its columns");
  return serial;
}

int64_t SqliteTapeStore::ScanInKeyOrder(int key, int64_t& serialSum) {
  sqlite3_stmt* scan = Prepare(kScans[key - 1]);
  int64_t count = 0;
  int step;
  while ((step = sqlite3_step(scan)) == SQLITE_ROW) {
    serialSum += ReadRow(scan);
    ++count;
  }
  Require(step == SQLITE_DONE, "SQLite scan");
  sqlite3_finalize(scan);
  return count;
}

int64_t SqliteTapeStore::GetEach(std::span<const int32_t> serials) {
  int64_t found = 0;
  for (int32_t serial : serials) {
    sqlite3_bind_int(bySerial_, 1, serial);
    if (sqlite3_step(bySerial_) == SQLITE_ROW) found += ReadRow(bySerial_) == serial;
    sqlite3_reset(bySerial_);
  }
  return found;
}

void SqliteTapeStore::RetitleInOneTransaction(
    std::span<const std::pair<int32_t, std::string>> changes) {
  Execute("BEGIN");
  for (const auto& [serial, title] : changes) {
    sqlite3_bind_text(retitle_, 1, title.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_int(retitle_, 2, serial);
    Require(sqlite3_step(retitle_) == SQLITE_DONE, "SQLite UPDATE");
    Require(sqlite3_changes(db_) == 1, "SQLite UPDATE changes one row");
    sqlite3_reset(retitle_);
  }
  Execute("COMMIT");
}

}  // namespace rk::bench
