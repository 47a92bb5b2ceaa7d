#include "runtime/files/kmf_table.h"
#include "runtime/files/error_codes.h"

#include <algorithm>

#include "runtime/core/clipped_text.h"
#include "runtime/core/record_code_page.h"
#include "runtime/files/kmf_bytes.h"
#include "runtime/files/kmf_internal_error.h"
#include "runtime/files/kmf_open_files.h"
#include "runtime/files/kmf_record_kinds.h"
#include "runtime/files/kmf_table_schema.h"
#include "runtime/files/kmf_transaction.h"
#include "runtime/files/lock_wait.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/code_page.h"
#include "runtime/platform/last_error.h"
#include "runtime/platform/os_errors.h"
#include "runtime/platform/os_file.h"

namespace rk::kmf {
namespace {

constexpr const char kTableSeparator[] = "\\!";
constexpr const char kDefaultTable[] = "UNNAMED";

// Record and table locks: one byte at the base + 0x400 + v + 1, v being the
// stored big-endian number read as a little-endian one.
uint64_t NumberLockOffset(uint32_t number) {
  return kRecordLockBase + __builtin_bswap32(number);
}

void SplitName(const std::string& name, std::string& fileName, std::string& tableName) {
  size_t separator = name.find(kTableSeparator);
  fileName = name.substr(0, separator);
  tableName = separator == std::string::npos ? kDefaultTable : name.substr(separator + 2);
  fileName.resize(ClipRight(fileName).size());
}

int32_t OsFailure(uint32_t error) {
  platform::SetLastError(error);
  return kOsFailure;
}

}  // namespace

Table::Table(TableDeclaration declaration) : declaration_(std::move(declaration)) {
  SplitName(declaration_.name, fileName_, tableName_);
  if (!fileName_.empty()) fileName_ = KmfFileName(fileName_);
  for (const KeyDefinition& key : declaration_.definition.keys) {
    layouts_.push_back(
        KeyLayoutFor(declaration_.definition, key, declaration_.oem).value_or(KeyLayout{}));
  }
  keyLeaves_.resize(layouts_.size());
  record_.assign(declaration_.definition.recordLength, 0);
  for (const MemoDefinition& memo : declaration_.definition.memos)
    memos_.emplace_back((memo.flags & kMemoBlob) ? 0 : memo.size, ' ');
}

Table::~Table() {
  if (file_) Close();
}

int32_t Table::Begin(bool forWrite) {
  KMF_CHECK(file_ != nullptr);
  return file_->BeginAccess(forWrite);
}

int32_t Table::End(int32_t result) {
  uint32_t error = file_->EndOperation();
  if (error != 0 && result == 0) return OsFailure(error);
  return result;
}

// --- Creating, opening, closing ------------------------------------------------

int32_t Table::Create() {
  if (fileName_.empty()) return file_error::kInvalidFilename;
  if (!declaration_.mayCreate) return file_error::kNoCreateAttribute;
  bool storable = LongestDataRecord(declaration_.definition) <= kLargestStorableRecord;
  for (const KeyLayout& layout : layouts_)
    storable &= LongestKeyEntry(layout) <= kLargestStorableRecord;
  if (!storable) return file_error::kInvalidRecordDeclaration;
  File* file = nullptr;
  if (uint32_t error = AcquireFile(fileName_, 0x142, file)) return OsFailure(error);
  file_ = file;
  int32_t result = Begin(true);
  if (result == 0) {
    Tree tree(*file_);
    Record nameRecord;
    if (tree.Find(TableNameKey(tableName_), nameRecord) && nameRecord.Data().size() >= 4) {
      uint32_t old = LoadBe32(reinterpret_cast<const uint8_t*>(nameRecord.Data().data()));
      std::string prefix = TablePrefix(old);
      Record found;
      while (tree.SeekForward(prefix, false, found) && found.Key().substr(0, 4) == prefix) {
        tree.Remove(found.Key());
      }
    }
    tableNumber_ = file_->IssueNumber();
    std::string number;
    AppendBe32(number, tableNumber_);
    tree.Put(MakeRecord(TableNameKey(tableName_), number));
    std::string stream = EncodeDefinition(declaration_.definition);
    for (size_t piece = 0; piece * kDefinitionPieceSize < stream.size(); ++piece) {
      tree.Put(MakeRecord(DefinitionKey(tableNumber_, static_cast<uint16_t>(piece)),
                          stream.substr(piece * kDefinitionPieceSize, kDefinitionPieceSize)));
    }
    tree.Put(CounterRecord(tableNumber_, kDataTag, 0, 0));
    for (size_t k = 0; k < layouts_.size(); ++k) {
      tree.Put(CounterRecord(tableNumber_, static_cast<uint8_t>(k), 0, 0));
    }
    result = End(0);
  } else {
    file_->EndOperation();
  }
  uint32_t closeError = ReleaseFile(file_);
  file_ = nullptr;
  if (result == 0 && closeError != 0) return OsFailure(closeError);
  return result;
}

int32_t Table::Open(uint32_t mode) {
  if (fileName_.empty()) return file_error::kInvalidFilename;
  File* file = nullptr;
  uint32_t error = AcquireFile(fileName_, mode & ~platform::kModeCreate, file);
  if (error == platform::kErrorFileNotFound) return file_error::kFileNotFound;
  if (error != 0) return OsFailure(error);
  file_ = file;
  int32_t result = Begin(false);
  if (result == 0) {
    Tree tree(*file_);
    Record nameRecord;
    if (!tree.Find(TableNameKey(tableName_), nameRecord) || nameRecord.Data().size() < 4) {
      result = file_error::kFileNotFound;
    } else {
      tableNumber_ = LoadBe32(reinterpret_cast<const uint8_t*>(nameRecord.Data().data()));
      std::string stream;
      Record piece;
      for (uint16_t k = 0; tree.Find(DefinitionKey(tableNumber_, k), piece); ++k) {
        std::string bytes(piece.Data());
        bytes.resize(kDefinitionPieceSize, '\0');
        stream += bytes;
      }
      TableDefinition stored;
      std::string problem;
      if (!DecodeDefinition(stream, stored, problem) ||
          !SameDeclaration(stored, declaration_.definition)) {
        result = file_error::kInvalidRecordDeclaration;
      }
    }
    result = End(result);
  } else {
    file_->EndOperation();
  }
  if (result != 0) {
    ReleaseFile(file_);
    file_ = nullptr;
    return result;
  }
  ClearCurrent();
  sequenceSet_ = false;
  return 0;
}

int32_t Table::Close() {
  if (!file_) return file_error::kFileNotOpen;
  Release();
  if (tableLocked_) UnlockTable();
  uint32_t error = ReleaseFile(file_);
  file_ = nullptr;
  ClearCurrent();
  return error != 0 ? OsFailure(error) : 0;
}

// --- Reading -------------------------------------------------------------------

bool Table::ReadData(uint32_t recordNumber, std::string& data) {
  if (!tree().FetchData(DataKey(tableNumber_, recordNumber), data, &dataLeaf_)) return false;
  ConvertTexts(data, &RecordToAnsi);
  return true;
}

// The conversion walks the whole declared record, so a stored record shorter
// than the declaration is converted in a buffer of full length.
void Table::ConvertTexts(std::string& data, RecordConversion convert) const {
  if (!declaration_.oem) return;
  std::string buffer = data;
  buffer.resize(std::max(buffer.size(), record_.size()), '\0');
  convert(buffer.data(), declaration_.fieldList);
  data.assign(buffer, 0, data.size());
}

void Table::ClearCurrent() {
  current_ = 0;
  watching_ = false;
}

void Table::Release() {
  if (heldRecord_ != 0 && file_) file_->UnlockByte(NumberLockOffset(heldRecord_));
  heldRecord_ = 0;
}

int32_t Table::TakeHold(uint32_t recordNumber) {
  if (heldRecord_ == recordNumber) return 0;
  Release();
  uint64_t offset = NumberLockOffset(recordNumber);
  uint32_t error = RetryWhileLocked(holdSeconds_, [&] { return file_->LockByte(offset); });
  if (error == platform::kErrorLockViolation) return file_error::kRecordAlreadyHeld;
  if (error != 0) return OsFailure(error);
  heldRecord_ = recordNumber;
  return 0;
}

int32_t Table::LoadRecord(uint32_t recordNumber, std::string& data) {
  if (holdRequested_) {
    holdRequested_ = false;
    if (int32_t refused = TakeHold(recordNumber); refused != 0) {
      watchRequested_ = noMemoRequested_ = false;
      return refused;
    }
    // Other runtime threads ran while the hold waited: the holder may have
    // changed or deleted the record.
    if (!ReadData(recordNumber, data)) {
      Release();
      watchRequested_ = noMemoRequested_ = false;
      return file_error::kRecordNotFound;
    }
  }
  std::fill(record_.begin(), record_.end(), 0);
  std::copy_n(data.begin(), std::min(data.size(), record_.size()), record_.begin());
  saved_ = record_;
  current_ = recordNumber;
  watching_ = watchRequested_;
  if (!noMemoRequested_) LoadMemos(recordNumber);
  watchRequested_ = noMemoRequested_ = false;
  return 0;
}

int32_t Table::GetByNumber(uint32_t recordNumber) {
  int32_t result = Begin(false);
  if (result != 0) return End(result);
  if (recordNumber == 0) {
    ClearCurrent();
    return End(file_error::kRecordNotFound);
  }
  std::string& data = fetched_;
  if (!ReadData(recordNumber, data)) {
    ClearCurrent();
    return End(file_error::kRecordNotFound);
  }
  return End(LoadRecord(recordNumber, data));
}

int32_t Table::GetByKeyAndNumber(int /*key*/, uint32_t recordNumber) {
  return GetByNumber(recordNumber);
}

int32_t Table::GetByKey(int key) {
  int32_t result = Begin(false);
  if (result != 0) return End(result);
  std::string sought = EntryPrefix(key) + KeyValueOf(key, record_.data());
  bool dup = definition().keys[key].flags & kKeyDup;
  Record& entry = stepped_;
  std::string& data = fetched_;
  if (!tree().SeekForward(sought, false, entry) || entry.Key().substr(0, sought.size()) != sought ||
      entry.Key().size() != sought.size() + (dup ? 4 : 0)) {
    return End(file_error::kRecordNotFound);
  }
  uint32_t number = KeyEntryRecordNumber(entry, dup);
  if (!ReadData(number, data)) return End(file_error::kRecordNotFound);
  return End(LoadRecord(number, data));
}

int32_t Table::Reget(std::string_view position) {
  if (position.size() < 4) return file_error::kRecordNotFound;
  return GetByNumber(LoadBe32(reinterpret_cast<const uint8_t*>(position.data())));
}

// --- Keys and counters ------------------------------------------------------------

std::string Table::EntryPrefix(int key) const {
  return KeyEntryPrefix(tableNumber_, static_cast<uint8_t>(key));
}

std::string Table::KeyValueOf(int key, const uint8_t* buffer) const {
  return EncodeKeyValue(layouts_[key], buffer);
}

std::optional<Record> Table::EntryFor(int key, const uint8_t* buffer, uint32_t recordNumber) const {
  if (!buffer) return std::nullopt;
  const KeyDefinition& definition = declaration_.definition.keys[key];
  if ((definition.flags & kKeyOpt) && KeyFieldsEmpty(layouts_[key], buffer)) return std::nullopt;
  return KeyEntry(tableNumber_, static_cast<uint8_t>(key), KeyValueOf(key, buffer), recordNumber,
                  definition.flags & kKeyDup);
}

uint32_t Table::CounterValueOf(uint8_t which) {
  CounterValue value;
  if (const Record* found = tree().Lookup(CounterKey(tableNumber_, which)))
    ReadCounter(*found, which != kDataTag, value);
  return value.count;
}

void Table::AdjustCounter(uint8_t which, int32_t delta, std::optional<uint32_t> missingFrom) {
  bool forKey = which != kDataTag;
  auto adjusted = [&](CounterValue value) {
    value.count = static_cast<uint32_t>(static_cast<int64_t>(value.count) + delta);
    if (missingFrom) value.missingFrom = *missingFrom;
    return value;
  };
  // One descent: the counter is read and rewritten where it lies, in place
  // when it has the length of its kind.
  bool stored = tree().Modify(
      CounterKey(tableNumber_, which),
      [&](Record& counter) {
        CounterValue value;
        ReadCounter(counter, forKey, value);
        value = adjusted(value);
        if (!StoreCounter(counter, forKey, value))
          counter = CounterRecord(tableNumber_, which, value.count, value.missingFrom);
      },
      &counterLeaf_);
  if (!stored) {
    CounterValue value = adjusted(CounterValue{});
    tree().Put(CounterRecord(tableNumber_, which, value.count, value.missingFrom), &counterLeaf_);
  }
}

int32_t Table::MaintainKeys(const uint8_t* oldRecord, const uint8_t* newRecord,
                            uint32_t recordNumber) {
  // What each key changed so far, for an undo: an inserted entry is built
  // again from the new record, a removed one is kept.
  struct Change {
    bool inserted;
    uint8_t key;
    Record removed;
  };
  std::vector<Change> changes;
  Tree tree = this->tree();
  for (size_t k = 0; k < layouts_.size(); ++k) {
    const KeyDefinition& key = declaration_.definition.keys[k];
    if (!KeyMaintained(key)) continue;
    auto oldEntry = EntryFor(static_cast<int>(k), oldRecord, recordNumber);
    auto newEntry = EntryFor(static_cast<int>(k), newRecord, recordNumber);
    if (oldEntry && newEntry && *oldEntry == *newEntry) continue;
    int32_t delta = 0;
    if (newEntry) {
      bool stored = true;
      if (key.flags & kKeyDup) {
        tree.Put(std::move(*newEntry), &keyLeaves_[k]);
      } else {
        stored = tree.Insert(std::move(*newEntry), &keyLeaves_[k]);  // refused on a duplicate
      }
      if (!stored) {
        // Undo what the earlier keys already changed, newest first.
        for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
          if (it->inserted) {
            tree.Remove(EntryFor(it->key, newRecord, recordNumber)->Key());
            AdjustCounter(it->key, -1);
          } else {
            tree.Put(std::move(it->removed));
            AdjustCounter(it->key, 1);
          }
        }
        return file_error::kDuplicateKey;
      }
      changes.push_back({true, static_cast<uint8_t>(k), {}});
      ++delta;
    }
    if (oldEntry) {
      // A DUP entry carries the record number in its key and nothing after
      // it: the entry with that key is this record's, as built.
      bool dup = key.flags & kKeyDup;
      Record stored;
      if (dup ? tree.Remove(oldEntry->Key())
              : tree.Find(oldEntry->Key(), stored) &&
                    KeyEntryRecordNumber(stored, false) == recordNumber &&
                    tree.Remove(stored.Key())) {
        changes.push_back(
            {false, static_cast<uint8_t>(k), dup ? std::move(*oldEntry) : std::move(stored)});
        --delta;
      }
    }
    if (delta != 0) AdjustCounter(static_cast<uint8_t>(k), delta);
  }
  return 0;
}

// --- Writing -------------------------------------------------------------------

void Table::InsertData(uint32_t recordNumber) {
  std::string data(record_.begin(), record_.end());
  ConvertTexts(data, &RecordToOem);
  tree().Put(MakeRecord(DataKey(tableNumber_, recordNumber), data), &dataLeaf_);
}

int32_t Table::StoreNew(uint32_t number) {
  InsertData(number);
  AdjustCounter(kDataTag, 1);
  saved_ = record_;
  current_ = number;
  WriteMemos(number, false);
  return 0;
}

int32_t Table::Add() {
  int32_t result = Begin(true);
  if (result != 0) return End(result);
  Release();
  uint32_t number = file_->IssueNumber();
  result = MaintainKeys(nullptr, record_.data(), number);
  if (result != 0) return End(result);
  return End(StoreNew(number));
}

int32_t Table::Append() {
  int32_t result = Begin(true);
  if (result != 0) return End(result);
  Release();
  uint32_t number = file_->IssueNumber();
  for (size_t k = 0; k < layouts_.size(); ++k) {
    if (!KeyMaintained(declaration_.definition.keys[k])) continue;
    Record found;
    CounterValue value;
    if (tree().Find(CounterKey(tableNumber_, static_cast<uint8_t>(k)), found))
      ReadCounter(found, true, value);
    if (value.missingFrom == 0 || number < value.missingFrom) {
      AdjustCounter(static_cast<uint8_t>(k), 0, number);
    }
  }
  return End(StoreNew(number));
}

int32_t Table::Put() {
  int32_t result = Begin(true);
  if (result != 0) return End(result);
  if (current_ == 0) return End(file_error::kRecordNotAvailable);
  bool lockedHere = heldRecord_ != current_;
  if (lockedHere && file_->LockByte(NumberLockOffset(current_)) != 0)
    return End(file_error::kRecordAlreadyHeld);
  std::string stored;
  if (!ReadData(current_, stored)) {
    result = file_error::kRecordNotAvailable;
  } else if (watching_ && stored != std::string(saved_.begin(), saved_.end())) {
    result = file_error::kChangedByAnotherStation;
  } else {
    result = Rewrite(current_, stored);
  }
  if (lockedHere) file_->UnlockByte(NumberLockOffset(current_));
  if (result == 0) {
    Release();
    watching_ = false;
  }
  return End(result);
}

int32_t Table::PutAt(uint32_t recordNumber) {
  int32_t result = Begin(true);
  if (result != 0) return End(result);
  std::string stored;
  if (recordNumber == 0 || !ReadData(recordNumber, stored)) return End(file_error::kRecordNotFound);
  bool lockedHere = heldRecord_ != recordNumber;
  if (lockedHere && file_->LockByte(NumberLockOffset(recordNumber)) != 0)
    return End(file_error::kRecordAlreadyHeld);
  result = Rewrite(recordNumber, stored);
  if (lockedHere) file_->UnlockByte(NumberLockOffset(recordNumber));
  if (result == 0) {
    current_ = recordNumber;
    watching_ = false;
  }
  return End(result);
}

int32_t Table::Rewrite(uint32_t recordNumber, const std::string& stored) {
  std::vector<uint8_t> old(stored.begin(), stored.end());
  old.resize(record_.size(), 0);
  int32_t result = MaintainKeys(old.data(), record_.data(), recordNumber);
  if (result != 0) return result;
  InsertData(recordNumber);
  WriteMemos(recordNumber, true);
  saved_ = record_;
  return 0;
}

int32_t Table::Delete() {
  int32_t result = Begin(true);
  if (result != 0) return End(result);
  std::string stored;
  if (current_ == 0 || !ReadData(current_, stored)) return End(file_error::kRecordNotAvailable);
  if (watching_ && stored != std::string(saved_.begin(), saved_.end()))
    return End(file_error::kChangedByAnotherStation);
  std::vector<uint8_t> old(stored.begin(), stored.end());
  old.resize(record_.size(), 0);
  MaintainKeys(old.data(), nullptr, current_);
  AdjustCounter(kDataTag, -1);
  tree().Remove(DataKey(tableNumber_, current_));
  DeleteMemos(current_);
  Release();
  ClearCurrent();
  return End(0);
}

// --- Counts, positions, duplicates --------------------------------------------------

uint32_t Table::Records() {
  if (Begin(false) != 0) return End(0), 0;
  uint32_t count = CounterValueOf(kDataTag);
  End(0);
  return count;
}

uint32_t Table::KeyRecords(int key) {
  if (Begin(false) != 0) return End(0), 0;
  uint32_t count = CounterValueOf(static_cast<uint8_t>(key));
  End(0);
  return count;
}

uint32_t Table::Bytes() {
  if (current_ != 0) return static_cast<uint32_t>(record_.size());
  return Records() * static_cast<uint32_t>(record_.size());
}

std::string Table::Position() const {
  std::string position;
  AppendBe32(position, current_);
  return position;
}

std::string Table::KeyPosition(int key) const {
  return Position() + KeyValueOf(key, record_.data());
}

int32_t Table::Duplicate(int key) {
  if (Begin(false) != 0) return End(0);
  std::string sought = EntryPrefix(key) + KeyValueOf(key, record_.data());
  bool dup = definition().keys[key].flags & kKeyDup;
  std::string from = sought;
  bool strictly = false;
  Record entry;
  int32_t answer = 0;
  while (tree().SeekForward(from, strictly, entry) &&
         entry.Key().substr(0, sought.size()) == sought &&
         entry.Key().size() == sought.size() + (dup ? 4 : 0)) {
    if (KeyEntryRecordNumber(entry, dup) != current_) {
      answer = 1;
      break;
    }
    from = std::string(entry.Key());
    strictly = true;
  }
  End(0);
  return answer;
}

int32_t Table::DuplicateAny() {
  for (size_t k = 0; k < layouts_.size(); ++k) {
    if (definition().keys[k].flags & kKeyDup) continue;
    if (Duplicate(static_cast<int>(k))) return 1;
  }
  return 0;
}

// --- Locks and modes -----------------------------------------------------------------

int32_t Table::LockTable(int32_t seconds) {
  uint64_t offset = NumberLockOffset(tableNumber_);
  uint32_t error = RetryWhileLocked(seconds, [&] { return file_->LockByte(offset); });
  if (error == platform::kErrorLockViolation) return file_error::kFileAlreadyLocked;
  if (error != 0) return OsFailure(error);
  tableLocked_ = true;
  return 0;
}

int32_t Table::UnlockTable() {
  if (tableLocked_) file_->UnlockByte(NumberLockOffset(tableNumber_));
  tableLocked_ = false;
  return 0;
}

int32_t Table::Stream() {
  file_->SetStream(true);
  streamOwner_ = true;
  return 0;
}

int32_t Table::Flush() {
  file_->SetStream(false);
  streamOwner_ = false;
  if (Begin(true) != 0) return End(0);
  return End(0);
}

int32_t Table::Pack() {
  int32_t result = Begin(true);
  result = End(result);
  if (result == 0) {
    if (uint32_t error = file_->CutToUsedEnd()) return OsFailure(error);
  }
  return result;
}

int32_t Table::Empty() {
  int32_t result = Begin(true);
  if (result != 0) return End(result);
  Tree tree = this->tree();
  std::string prefix = TablePrefix(tableNumber_);
  // The definition and the counters stay: the table keeps existing, empty.
  std::string from = prefix;
  Record found;
  while (tree.SeekForward(from, false, found) && found.Key().substr(0, 4) == prefix) {
    uint8_t tag = static_cast<uint8_t>(found.Key()[4]);
    if (tag == kCounterTag || tag == kDefinitionTag) {
      from = std::string(found.Key()) + '\0';
      continue;
    }
    tree.Remove(found.Key());
  }
  tree.Put(CounterRecord(tableNumber_, kDataTag, 0, 0));
  for (size_t k = 0; k < layouts_.size(); ++k) {
    tree.Put(CounterRecord(tableNumber_, static_cast<uint8_t>(k), 0, 0));
  }
  ClearCurrent();
  return End(0);
}

int32_t Table::Build() {
  int32_t result = Begin(true);
  if (result != 0) return End(result);
  Tree tree = this->tree();
  for (size_t k = 0; k < layouts_.size(); ++k) {
    if (!KeyMaintained(declaration_.definition.keys[k])) continue;
    if (int32_t answer = RebuildKey(tree, k); answer != 0) result = answer;
  }
  return End(result);
}

int32_t Table::BuildKey(int key) {
  int32_t result = Begin(true);
  if (result != 0) return End(result);
  if (key < 0 || static_cast<size_t>(key) >= layouts_.size()) return End(file_error::kUnsupported);
  Tree tree = this->tree();
  if (KeyMaintained(declaration_.definition.keys[key])) result = RebuildKey(tree, key);
  return End(result);
}

// Drops every entry of the key and makes one for each data record. A unique key
// that the records duplicate keeps its first entry and answers 40.
int32_t Table::RebuildKey(Tree& tree, size_t k) {
  int32_t result = 0;
  std::string prefix = EntryPrefix(static_cast<int>(k));
  Record found;
  while (tree.SeekForward(prefix, false, found) && found.Key().substr(0, prefix.size()) == prefix) {
    tree.Remove(found.Key());
  }
  uint32_t count = 0;
  std::string dataPrefix = TablePrefix(tableNumber_) + static_cast<char>(kDataTag);
  std::string from = dataPrefix;
  bool strictly = false;
  while (tree.SeekForward(from, strictly, found) &&
         found.Key().substr(0, dataPrefix.size()) == dataPrefix) {
    from = std::string(found.Key());
    strictly = true;
    uint32_t number = LoadBe32(reinterpret_cast<const uint8_t*>(found.Key().data() + 5));
    std::string data(found.Data());
    ConvertTexts(data, &RecordToAnsi);
    std::vector<uint8_t> buffer(data.begin(), data.end());
    buffer.resize(record_.size(), 0);
    auto entry = EntryFor(static_cast<int>(k), buffer.data(), number);
    if (!entry) continue;
    Record existing;
    if (!(declaration_.definition.keys[k].flags & kKeyDup) && tree.Find(entry->Key(), existing)) {
      result = file_error::kDuplicateKey;
      continue;
    }
    tree.Put(*entry);
    ++count;
  }
  tree.Put(CounterRecord(tableNumber_, static_cast<uint8_t>(k), count, 0));
  return result;
}

std::string Table::Send(std::string_view option) {
  std::string upper(option);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper.rfind("TCF=", 0) == 0) {
    SetControlFileName(std::string(option.substr(4)));
    return {};
  }
  if (upper.rfind("PNM=", 0) == 0 && file_) {
    std::string after = TableNameKey(option.substr(4));
    std::string answer;
    Record found;
    if (Begin(false) == 0 && tree().SeekForward(after, option.size() > 4, found) &&
        !found.Key().empty() && static_cast<uint8_t>(found.Key()[0]) == kTableNameTag) {
      answer = std::string(found.Key().substr(1));
    }
    End(0);
    return answer;
  }
  return "SEND arg not recognised";
}

}  // namespace rk::kmf
