#include "runtime/files/kmf_record_kinds.h"

#include "runtime/files/kmf_bytes.h"

namespace rk::kmf {

std::string TablePrefix(uint32_t table) {
  std::string key;
  AppendBe32(key, table);
  return key;
}

std::string DataKey(uint32_t table, uint32_t recordNumber) {
  std::string key = TablePrefix(table);
  key.push_back(static_cast<char>(kDataTag));
  AppendBe32(key, recordNumber);
  return key;
}

std::string KeyEntryPrefix(uint32_t table, uint8_t keyNumber) {
  std::string key = TablePrefix(table);
  key.push_back(static_cast<char>(keyNumber));
  return key;
}

Record KeyEntry(uint32_t table, uint8_t keyNumber, std::string_view value, uint32_t recordNumber,
                bool duplicatesAllowed) {
  // Built in place: one allocation per entry.
  Record entry;
  entry.bytes.reserve(4 + 1 + value.size() + 4);
  AppendBe32(entry.bytes, table);
  entry.bytes.push_back(static_cast<char>(keyNumber));
  entry.bytes.append(value);
  if (duplicatesAllowed) {
    AppendBe32(entry.bytes, recordNumber);
    entry.keyLength = static_cast<uint16_t>(entry.bytes.size());
  } else {
    entry.keyLength = static_cast<uint16_t>(entry.bytes.size());
    AppendBe32(entry.bytes, recordNumber);
  }
  entry.SetHead();
  return entry;
}

uint32_t KeyEntryRecordNumber(const Record& entry, bool duplicatesAllowed) {
  std::string_view source = duplicatesAllowed ? entry.Key() : entry.Data();
  if (source.size() < 4) return 0;
  const auto* p = reinterpret_cast<const uint8_t*>(source.data());
  return duplicatesAllowed ? LoadBe32(p + source.size() - 4) : LoadBe32(p);
}

std::string CounterKey(uint32_t table, uint8_t keyNumberOrDataTag) {
  std::string key = TablePrefix(table);
  key.push_back(static_cast<char>(kCounterTag));
  key.push_back(static_cast<char>(keyNumberOrDataTag));
  return key;
}

Record CounterRecord(uint32_t table, uint8_t keyNumberOrDataTag, uint32_t count,
                     uint32_t missingFrom) {
  std::string data;
  AppendLe32(data, count);
  if (keyNumberOrDataTag != kDataTag) AppendLe32(data, missingFrom);
  return MakeRecord(CounterKey(table, keyNumberOrDataTag), data);
}

bool ReadCounter(const Record& record, bool forKey, CounterValue& value) {
  std::string_view data = record.Data();
  if (data.size() < (forKey ? 8u : 4u)) return false;
  const auto* p = reinterpret_cast<const uint8_t*>(data.data());
  value.count = LoadLe32(p);
  value.missingFrom = forKey ? LoadLe32(p + 4) : 0;
  return true;
}

bool StoreCounter(Record& record, bool forKey, const CounterValue& value) {
  if (record.bytes.size() - record.keyLength != (forKey ? 8u : 4u)) return false;
  auto* p = reinterpret_cast<uint8_t*>(record.bytes.data() + record.keyLength);
  StoreLe32(p, value.count);
  if (forKey) StoreLe32(p + 4, value.missingFrom);
  return true;
}

std::string DefinitionKey(uint32_t table, uint16_t piece) {
  std::string key = TablePrefix(table);
  key.push_back(static_cast<char>(kDefinitionTag));
  AppendLe16(key, piece);
  return key;
}

std::string MemoPrefix(uint32_t table, uint32_t recordNumber) {
  std::string key = TablePrefix(table);
  key.push_back(static_cast<char>(kMemoTag));
  AppendBe32(key, recordNumber);
  return key;
}

std::string MemoKey(uint32_t table, uint32_t recordNumber, uint8_t memo, uint16_t piece) {
  std::string key = MemoPrefix(table, recordNumber);
  key.push_back(static_cast<char>(memo));
  AppendBe16(key, piece);
  return key;
}

std::string TableNameKey(std::string_view name) {
  std::string key(1, static_cast<char>(kTableNameTag));
  key.append(name);
  return key;
}

std::string MarkerKey(uint32_t transactionKey) {
  std::string key(1, static_cast<char>(kMarkerTag));
  AppendLe32(key, transactionKey);
  return key;
}

}  // namespace rk::kmf
