// The kinds of records a KMF file holds and the bytes of their key and data parts.
//
//   data record        key: table (4 BE), 0xF3, record number (4 BE)
//                      data: the record buffer
//   key entry, unique  key: table (4 BE), key number (1), key value
//                      data: record number (4 BE)
//   key entry, DUP     key: table (4 BE), key number (1), key value, record number (4 BE)
//                      data: none
//   counter record     key: table (4 BE), 0xF6, 0xF3 (data) or the key number
//                      data: count (4 LE); for a key also the lowest record number
//                      whose entries are missing (4 LE, 0 when complete)
//   definition record  key: table (4 BE), 0xFA, piece number (2 LE)
//                      data: up to 512 bytes of the table definition
//   memo record        key: table (4 BE), 0xFC, record number (4 BE), memo number (1),
//                      piece number (2 BE); data: up to 256 bytes of the memo
//   table-name record  key: 0xFE, the table name; data: table number (4 BE)
//   transaction marker key: 0xFF, transaction key (4); data: control file's name
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/files/kmf_record.h"

namespace rk::kmf {

inline constexpr uint8_t kDataTag = 0xF3;
inline constexpr uint8_t kCounterTag = 0xF6;
inline constexpr uint8_t kDefinitionTag = 0xFA;
inline constexpr uint8_t kMemoTag = 0xFC;
inline constexpr uint8_t kTableNameTag = 0xFE;
inline constexpr uint8_t kMarkerTag = 0xFF;
inline constexpr size_t kDefinitionPieceSize = 512;
inline constexpr size_t kMemoPieceSize = 256;

// The 4 big-endian bytes that begin every record of a table.
std::string TablePrefix(uint32_t table);
std::string DataKey(uint32_t table, uint32_t recordNumber);
// Key number byte, then the key value; a DUP entry adds the record number.
std::string KeyEntryPrefix(uint32_t table, uint8_t keyNumber);
Record KeyEntry(uint32_t table, uint8_t keyNumber, std::string_view value, uint32_t recordNumber,
                bool duplicatesAllowed);
// The record number of a key entry (from its data part or the end of its key).
uint32_t KeyEntryRecordNumber(const Record& entry, bool duplicatesAllowed);

std::string CounterKey(uint32_t table, uint8_t keyNumberOrDataTag);
Record CounterRecord(uint32_t table, uint8_t keyNumberOrDataTag, uint32_t count,
                     uint32_t missingFrom);
struct CounterValue {
  uint32_t count = 0;
  uint32_t missingFrom = 0;
};
// False when the data part is shorter than its kind requires.
bool ReadCounter(const Record& record, bool forKey, CounterValue& value);
// Overwrites the value of a counter record whose data part has exactly the
// length of its kind; false (nothing changed) otherwise.
bool StoreCounter(Record& record, bool forKey, const CounterValue& value);

std::string DefinitionKey(uint32_t table, uint16_t piece);
std::string MemoKey(uint32_t table, uint32_t recordNumber, uint8_t memo, uint16_t piece);
// The key prefix shared by every memo piece of one record.
std::string MemoPrefix(uint32_t table, uint32_t recordNumber);
std::string TableNameKey(std::string_view name);
std::string MarkerKey(uint32_t transactionKey);

}  // namespace rk::kmf
