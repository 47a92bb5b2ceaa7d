#include "runtime/files/kmf_check.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "runtime/files/kmf_bytes.h"
#include "runtime/files/kmf_header.h"
#include "runtime/files/kmf_page.h"
#include "runtime/files/kmf_record_kinds.h"
#include "runtime/files/kmf_table_schema.h"
#include "runtime/platform/os_file.h"

namespace rk::kmf {
namespace {

std::string Hex(std::string_view bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes.substr(0, 24)) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

class Checker {
 public:
  Checker(platform::FileHandle handle, CheckReport& report) : handle_(handle), report_(report) {}

  void Run() {
    uint8_t raw[kHeaderSize];
    uint32_t got = 0;
    platform::ReadAt(handle_, 0, raw, kHeaderSize, got);
    if (got < kHeaderSize) return Problem("header cannot be read");
    header_ = DecodeHeader(raw);
    if (!header_.hasSignature) return Problem("header lacks the signature");
    CheckHeader();
    report_.fileBytes = header_.committedEnd;
    if (header_.root != kNoPage) WalkPage(header_.root, -1, nullptr);
    if (report_.problems.empty()) CheckTables();
  }

 private:
  void Problem(std::string text) { report_.problems.push_back(std::move(text)); }

  void CheckHeader() {
    if (LoadLe16Header() != kHeaderSize) Problem("header length is not 0x200");
    if (header_.committedEnd != header_.pendingEnd) Problem("an interrupted write-back is pending");
    uint32_t previousEnd = 0;
    for (int i = 1; i < kClassCount; ++i) {
      if (header_.rangeEnd[i] < header_.rangeStart[i]) {
        Problem("range of class " + std::to_string(i) + " ends before it starts");
      }
      if (header_.rangeEnd[i] > header_.rangeStart[i]) {
        if (header_.rangeStart[i] < previousEnd) {
          Problem("range of class " + std::to_string(i) + " overlaps a lower class");
        }
        previousEnd = header_.rangeEnd[i];
      }
    }
    if (header_.committedEnd != UsedEnd(header_))
      Problem("recorded end is not the end of the used ranges");
  }

  uint16_t LoadLe16Header() {
    uint8_t raw[8];
    uint32_t got = 0;
    platform::ReadAt(handle_, 0, raw, 8, got);
    return LoadLe16(raw + 4);
  }

  void WalkPage(uint32_t address, int expectedLevel, const Record* indexRecord) {
    std::string where = "page " + std::to_string(address);
    if (!visited_.insert(address).second) return Problem(where + " is reached twice");
    int pageClass = ClassOfAddress(header_, address);
    if (pageClass == 0) return Problem(where + " lies in no class range");
    if ((address - header_.rangeStart[pageClass]) % pageClass != 0) {
      Problem(where + " is not on a slot of its class");
    }
    std::string bytes(pageClass * kUnitSize, '\0');
    uint32_t got = 0;
    platform::ReadAt(handle_, PageOffset(address), bytes.data(),
                     static_cast<uint32_t>(bytes.size()), got);
    if (got != bytes.size()) return Problem(where + " runs past the end of the file");
    Page page;
    std::string problem;
    if (!DecodePage(Bytes(bytes), bytes.size(), page, problem))
      return Problem(where + ": " + problem);
    ++report_.pages;
    report_.liveBytes += bytes.size();
    PageHeaderFields fields = ReadPageHeader(Bytes(bytes));
    if (fields.ownOffset != PageOffset(address)) Problem(where + " carries another page's offset");
    if (fields.sizeBound != SizeBound(page))
      Problem(where + " size bound does not match its records");
    if (fields.uncompressedLength > fields.sizeBound) Problem(where + " exceeds its size bound");
    if (SizeBound(page) >= kSplitBound) Problem(where + " should have been split");
    for (size_t i = fields.storedLength; i < bytes.size(); ++i) {
      if (static_cast<uint8_t>(bytes[i]) != kPagePadding) {
        Problem(where + " padding is not 0xB0");
        break;
      }
    }
    if (expectedLevel >= 0 && page.level != expectedLevel) Problem(where + " has the wrong level");
    if (page.records.empty()) return Problem(where + " holds no records");
    if (indexRecord && indexRecord->Key() != page.records.front().Key()) {
      Problem(where + " first key differs from its index record");
    }
    for (size_t i = 1; i < page.records.size(); ++i) {
      if (CompareKeys(page.records[i - 1].Key(), page.records[i].Key()) >= 0) {
        Problem(where + " records out of order at " + std::to_string(i));
      }
    }
    if (page.IsIndex()) {
      for (size_t i = 0; i < page.records.size(); ++i) {
        WalkPage(page.children[i], page.level - 1, &page.records[i]);
      }
      return;
    }
    for (Record& record : page.records) {
      if (!records_.empty() && CompareKeys(records_.back().Key(), record.Key()) >= 0) {
        Problem(where + " key " + Hex(record.Key()) + " is not after the previous page's");
      }
      records_.push_back(std::move(record));
    }
    report_.records = records_.size();
  }

  // Index of the first record whose key is not below the key.
  size_t LowerBound(std::string_view key) const {
    auto it = std::lower_bound(
        records_.begin(), records_.end(), key,
        [](const Record& r, std::string_view k) { return CompareKeys(r.Key(), k) < 0; });
    return static_cast<size_t>(it - records_.begin());
  }

  std::optional<Record> FindRecord(std::string_view key) const {
    size_t lo = LowerBound(key);
    if (lo < records_.size() && records_[lo].Key() == key) return records_[lo];
    return std::nullopt;
  }

  // Records from the first key at or after `from` while they start with `prefix`.
  template <typename Fn>
  void ForPrefix(const std::string& prefix, Fn fn) const {
    size_t lo = LowerBound(prefix);
    for (size_t i = lo; i < records_.size() && records_[i].Key().substr(0, prefix.size()) == prefix;
         ++i) {
      fn(records_[i]);
    }
  }

  void CheckTables() {
    for (const Record& record : records_) {
      if (record.Key().empty() || static_cast<uint8_t>(record.Key()[0]) != kTableNameTag) continue;
      if (record.Data().size() < 4) {
        Problem("table-name record " + Hex(record.Key()) + " lacks its number");
        continue;
      }
      CheckTable(std::string(record.Key().substr(1)), LoadBe32(Bytes(std::string(record.Data()))));
    }
  }

  std::optional<TableDefinition> ReadDefinition(uint32_t table) {
    std::string stream;
    ForPrefix(TablePrefix(table) + static_cast<char>(kDefinitionTag), [&](const Record& r) {
      std::string piece(r.Data());
      piece.resize(kDefinitionPieceSize, '\0');
      stream += piece;
    });
    TableDefinition definition;
    std::string problem;
    if (!DecodeDefinition(stream, definition, problem)) return std::nullopt;
    return definition;
  }

  void CheckTable(const std::string& name, uint32_t table) {
    std::string where = "table " + name;
    auto definition = ReadDefinition(table);
    if (!definition) return Problem(where + " definition cannot be read");
    std::map<uint32_t, std::string> data;
    ForPrefix(TablePrefix(table) + static_cast<char>(kDataTag), [&](const Record& r) {
      std::string numberBytes(r.Key().substr(5));
      numberBytes.resize(4, '\0');
      uint32_t number = LoadBe32(Bytes(numberBytes));
      // The driver finds a record by exactly this key; under a longer or
      // shorter one it would be counted but could never be read.
      if (r.Key() != DataKey(table, number)) {
        return Problem(where + " data record " + Hex(r.Key()) + " is not under its number's key");
      }
      data[number] = std::string(r.Data());
    });
    auto counter = FindRecord(CounterKey(table, kDataTag));
    CounterValue value;
    if (!counter || !ReadCounter(*counter, false, value)) {
      Problem(where + " has no data counter");
    } else if (value.count != data.size()) {
      Problem(where + " data counter " + std::to_string(value.count) + " but " +
              std::to_string(data.size()) + " records");
    }
    for (size_t k = 0; k < definition->keys.size(); ++k) {
      CheckKey(where, table, *definition, static_cast<uint8_t>(k), data);
    }
    CheckMemos(where, table, *definition, data);
  }

  // The driver reads a memo's pieces by their exact keys from piece 0 until
  // one is missing: a piece under another key, of no record or no memo of the
  // table, or after a gap, can never be read.
  void CheckMemos(const std::string& tableWhere, uint32_t table, const TableDefinition& definition,
                  const std::map<uint32_t, std::string>& data) {
    std::map<std::pair<uint32_t, uint8_t>, uint32_t> nextPiece;  // record and memo
    ForPrefix(TablePrefix(table) + static_cast<char>(kMemoTag), [&](const Record& r) {
      std::string fields(r.Key().substr(5));
      fields.resize(7, '\0');
      const uint8_t* bytes = Bytes(fields);
      uint32_t number = LoadBe32(bytes);
      uint8_t memo = bytes[4];
      uint16_t piece = static_cast<uint16_t>(bytes[5] << 8 | bytes[6]);
      std::string where = tableWhere + " memo piece " + Hex(r.Key());
      if (r.Key() != MemoKey(table, number, memo, piece)) {
        return Problem(where + " is not under its own key");
      }
      if (!data.count(number)) Problem(where + " belongs to no record");
      if (memo >= definition.memos.size()) Problem(where + " belongs to no memo of the table");
      uint32_t& expected = nextPiece[{number, memo}];
      if (piece != expected) Problem(where + " follows a missing piece");
      expected = piece + 1u;
    });
  }

  void CheckKey(const std::string& tableWhere, uint32_t table, const TableDefinition& definition,
                uint8_t keyNumber, const std::map<uint32_t, std::string>& data) {
    const KeyDefinition& key = definition.keys[keyNumber];
    std::string where = tableWhere + " key " + std::to_string(keyNumber);
    bool dup = key.flags & kKeyDup;
    size_t entries = 0;
    std::set<uint32_t> referenced;
    ForPrefix(KeyEntryPrefix(table, keyNumber), [&](const Record& r) {
      ++entries;
      uint32_t number = KeyEntryRecordNumber(r, dup);
      if (!data.count(number)) Problem(where + " entry " + Hex(r.Key()) + " names no record");
      referenced.insert(number);
    });
    auto counter = FindRecord(CounterKey(table, keyNumber));
    CounterValue value;
    if (!counter || !ReadCounter(*counter, true, value)) return Problem(where + " has no counter");
    if (value.count != entries) {
      Problem(where + " counter " + std::to_string(value.count) + " but " +
              std::to_string(entries) + " entries");
    }
    if (!KeyMaintained(key)) return;
    auto layout = KeyLayoutFor(definition, key, false);
    if (!layout) return Problem(where + " names a field outside the record");
    for (const auto& [number, buffer] : data) {
      if (value.missingFrom != 0 && number >= value.missingFrom) continue;
      if (buffer.size() < definition.recordLength) continue;
      const auto* bytes = Bytes(buffer);
      if ((key.flags & kKeyOpt) && KeyFieldsEmpty(*layout, bytes)) continue;
      Record entry = KeyEntry(table, keyNumber, EncodeKeyValue(*layout, bytes), number, dup);
      auto stored = FindRecord(entry.Key());
      if (!stored || KeyEntryRecordNumber(*stored, dup) != number) {
        Problem(where + " lacks the entry of record " + std::to_string(number));
      }
    }
  }

  platform::FileHandle handle_;
  CheckReport& report_;
  Header header_;
  std::set<uint32_t> visited_;
  std::vector<Record> records_;
};

}  // namespace

CheckReport CheckFile(const std::string& path) {
  CheckReport report;
  platform::FileHandle handle = platform::kNoHandle;
  uint32_t error = platform::OpenExisting(path, 0x40, handle);
  if (error != 0) {
    report.problems.push_back("cannot open " + path + ": OS error " + std::to_string(error));
    return report;
  }
  Checker(handle, report).Run();
  platform::CloseFile(handle);
  return report;
}

}  // namespace rk::kmf
