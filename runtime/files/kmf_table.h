// One declared table of a KMF file as the driver works on it: its number, key
// layouts, record buffer and memos, the current record, the sequence and the
// pending read requests. The handlers return the driver's error codes (0 for
// success; 0 with the OS last error set for an operating-system failure is
// returned as kOsFailure).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/files/kmf_btree.h"
#include "runtime/files/kmf_definition.h"
#include "runtime/files/kmf_file.h"
#include "runtime/files/kmf_key_value.h"

namespace rk::kmf {

struct TableDeclaration {
  std::string name;  // file name, optionally "\!" and a table name
  TableDefinition definition;
  bool oem = false;
  bool mayCreate = false;
  // The record's type descriptor: which bytes are text (converted on OEM files).
  std::vector<uint8_t> fieldList;
};

class Table {
 public:
  explicit Table(TableDeclaration declaration);
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  // The record buffer and memo buffers that the application reads and writes.
  // A text memo's buffer has the memo's declared size; a blob's holds exactly
  // its content.
  std::vector<uint8_t>& record() { return record_; }
  std::vector<std::string>& memos() { return memos_; }
  bool isBlob(size_t memo) const { return declaration_.definition.memos[memo].flags & kMemoBlob; }

  // Blobs, numbered from 1 with the memos; written with the record by ADD and
  // PUT. Read answers the bytes first to last (from 0) that the blob has.
  int32_t BlobRead(int32_t blob, int32_t first, int32_t last, std::string& bytes) const;
  int32_t BlobWrite(int32_t blob, int32_t first, int32_t last, std::string_view bytes);
  int32_t BlobSize(int32_t blob, int32_t& size) const;
  bool isOpen() const { return file_ != nullptr; }
  File* file() { return file_; }

  int32_t Create();
  int32_t Open(uint32_t mode);
  int32_t Close();

  int32_t Add();
  int32_t Append();
  int32_t Put();
  // PUT(file, n): rewrites record n from the record buffer; it becomes current.
  int32_t PutAt(uint32_t recordNumber);
  int32_t Delete();

  int32_t GetByKey(int key);
  int32_t GetByNumber(uint32_t recordNumber);
  int32_t GetByKeyAndNumber(int key, uint32_t recordNumber);
  int32_t Reget(std::string_view position);

  // Sequences.
  void SetFile();
  void SetFileFrom(uint32_t recordNumber);
  int32_t SetFileByKey(int key);
  void SetKey(int key);
  void SetKeyFromValue(int key);
  void SetKeyFromValueAndNumber(int key, uint32_t recordNumber);
  void SetKeyFromRecord(int key, uint32_t recordNumber);
  int32_t ResetFile(std::string_view position);
  int32_t ResetKey(int key, std::string_view position);
  int32_t Next() { return Move(true); }
  int32_t Previous() { return Move(false); }
  int32_t Skip(int32_t count);
  bool AtEnd() { return !TestMove(true); }
  bool AtBeginning() { return !TestMove(false); }
  int sequenceKey() const { return sequenceKey_; }

  uint32_t Pointer() const { return current_; }
  std::string Position() const;
  std::string KeyPosition(int key) const;
  uint32_t Records();
  uint32_t KeyRecords(int key);
  uint32_t Bytes();
  int32_t Duplicate(int key);
  int32_t DuplicateAny();

  void Hold(int32_t seconds) {
    holdRequested_ = true;
    holdSeconds_ = seconds;
  }
  void Watch() { watchRequested_ = true; }
  void NoMemo() { noMemoRequested_ = true; }
  void Release();
  int32_t LockTable(int32_t seconds);  // seconds < 0: wait while refused
  int32_t UnlockTable();

  int32_t Stream();
  int32_t Flush();
  int32_t Empty();
  int32_t Build();
  // Rebuilds the entries of one key (not a dynamic index).
  int32_t BuildKey(int key);
  int32_t Pack();
  // Whole-file copies, each a rebuilt, compact file. COPY works on a file that
  // this declaration has not open; the copy of an open file may name the file
  // (oldName, or empty); the rebuild writes the copy (named copyName, or beside
  // the file) and takes the records back from it.
  int32_t CopyTo(const std::string& newName);
  int32_t WriteCopy(const std::string& oldName, const std::string& newName);
  int32_t RebuildThroughCopy(const std::string& copyName);
  // SEND with an option text other than "REGISTER".
  std::string Send(std::string_view option);

  const TableDefinition& definition() const { return declaration_.definition; }
  uint32_t tableNumber() const { return tableNumber_; }

 private:
  enum class Mode {
    kRecordOrder,
    kKeyOrder,
    kFromStart,
    kFromNumber,
    kFromKeyValue,
    kKeyStart,
    kKeyEntry,
    kKeyValue,
    kKeyFromRecord
  };
  struct Found {
    uint32_t recordNumber = 0;
    std::string positionKey;  // data key or key-entry key of the place reached
  };

  int32_t Begin(bool forWrite);
  int32_t End(int32_t result);
  Tree tree() { return Tree(*file_); }
  // The stored data record as the application sees it (OEM texts converted).
  bool ReadData(uint32_t recordNumber, std::string& data);
  using RecordConversion = uint32_t (*)(void* record, std::span<const uint8_t> descriptor);
  // OEM files: converts the texts of a record image between the code pages.
  void ConvertTexts(std::string& data, RecordConversion convert) const;
  // Key maintenance, data record and memos of a rewrite of a stored record.
  int32_t Rewrite(uint32_t recordNumber, const std::string& stored);
  int32_t RebuildKey(Tree& tree, size_t key);
  // Copies the record read into the record buffer; `data` is read again when a
  // hold had to wait.
  int32_t LoadRecord(uint32_t recordNumber, std::string& data);
  int32_t TakeHold(uint32_t recordNumber);
  void ClearCurrent();

  std::optional<Record> EntryFor(int key, const uint8_t* buffer, uint32_t recordNumber) const;
  int32_t MaintainKeys(const uint8_t* oldRecord, const uint8_t* newRecord, uint32_t recordNumber);
  void AdjustCounter(uint8_t which, int32_t delta, std::optional<uint32_t> missingFrom = {});
  uint32_t CounterValueOf(uint8_t which);
  // A record just numbered (not `stored`) has no pieces to compare or remove.
  void WriteMemos(uint32_t recordNumber, bool stored);
  std::string LoadMemoContent(Tree& tree, uint32_t recordNumber, size_t memo, size_t limit);
  void WriteMemoContent(Tree& tree, uint32_t recordNumber, size_t memo, std::string_view content,
                        bool stored);
  const std::string* BlobContent(int32_t blob) const;
  void LoadMemos(uint32_t recordNumber);
  void DeleteMemos(uint32_t recordNumber);
  void InsertData(uint32_t recordNumber);
  // The data record, counter and memos of a record just numbered; it becomes current.
  int32_t StoreNew(uint32_t number);

  bool Step(bool forward, Found& found);
  bool FirstMove(bool forward, Found& found);
  bool StepFrom(const std::string& key, bool forward, bool inclusive, const std::string& prefix,
                Found& found);
  bool ResolveEntry(const Record& entry, int key, Found& found);
  int32_t Move(bool forward);
  // Moves on to the next place whose record exists, making the move the
  // sequence's position.
  bool StepToRecord(bool forward, Found& found, std::string& data);
  void Advance(const Found& found);
  bool TestMove(bool forward);
  std::string EntryPrefix(int key) const;
  std::string KeyValueOf(int key, const uint8_t* buffer) const;

  TableDeclaration declaration_;
  std::string fileName_;
  std::string tableName_;
  std::vector<KeyLayout> layouts_;
  File* file_ = nullptr;
  uint32_t tableNumber_ = 0;
  std::vector<uint8_t> record_;
  std::vector<uint8_t> saved_;
  std::vector<std::string> memos_;
  uint32_t current_ = 0;

  Mode mode_ = Mode::kRecordOrder;
  int sequenceKey_ = -1;
  std::string sequencePosition_;  // the key reached in modes 0 and 1
  std::string sequenceValue_;     // the value or entry a pending first move starts from
  uint32_t sequenceNumber_ = 0;
  bool sequenceSet_ = false;
  Tree::Cursor cursor_;  // where the sequence's last move ended in the tree
  // The leaves where the last data record and memo piece were read or
  // written, and where each key's entry and the counters were last written.
  Tree::Cursor dataLeaf_;
  Tree::Cursor memoLeaf_;
  Tree::Cursor counterLeaf_;
  std::vector<Tree::Cursor> keyLeaves_;
  // Buffers of the reads, kept so that every read reuses their room.
  Record stepped_;
  Found moved_;
  std::string fetched_;

  bool holdRequested_ = false;
  int32_t holdSeconds_ = -1;
  uint32_t heldRecord_ = 0;
  bool watchRequested_ = false;
  bool watching_ = false;
  bool noMemoRequested_ = false;
  bool tableLocked_ = false;
  bool streamOwner_ = false;
};

}  // namespace rk::kmf
