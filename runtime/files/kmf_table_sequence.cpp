// Sequential reading of a KMF table: SET and RESET choose where the first NEXT,
// PREVIOUS, SKIP, EOF or BOF starts; that first move turns the sequence into
// record order (data records by number) or key order (the entries of one key).
#include "runtime/files/error_codes.h"
#include "runtime/files/kmf_bytes.h"
#include "runtime/files/kmf_internal_error.h"
#include "runtime/files/kmf_record_kinds.h"
#include "runtime/files/kmf_table.h"

namespace rk::kmf {
namespace {

// The smallest key above every key that starts with the prefix (the prefix's
// last byte is never 0xFF here: it is a record-kind tag or a key number).
std::string PrefixEnd(std::string prefix) {
  KMF_CHECK(!prefix.empty() && static_cast<uint8_t>(prefix.back()) != 0xFF);
  prefix.back() = static_cast<char>(prefix.back() + 1);
  return prefix;
}

bool HasPrefix(std::string_view key, std::string_view prefix) {
  return key.substr(0, prefix.size()) == prefix;
}

}  // namespace

void Table::SetFile() {
  mode_ = Mode::kFromStart;
  sequenceKey_ = -1;
  sequenceSet_ = true;
}

void Table::SetFileFrom(uint32_t recordNumber) {
  mode_ = Mode::kFromNumber;
  sequenceNumber_ = recordNumber;
  sequenceKey_ = -1;
  sequenceSet_ = true;
}

int32_t Table::SetFileByKey(int key) {
  mode_ = Mode::kFromKeyValue;
  sequenceKey_ = key;
  sequenceValue_ = KeyValueOf(key, record_.data());
  sequenceSet_ = true;
  return 0;
}

void Table::SetKey(int key) {
  mode_ = Mode::kKeyStart;
  sequenceKey_ = key;
  sequenceSet_ = true;
}

void Table::SetKeyFromValue(int key) {
  mode_ = Mode::kKeyValue;
  sequenceKey_ = key;
  sequenceValue_ = KeyValueOf(key, record_.data());
  sequenceSet_ = true;
}

void Table::SetKeyFromValueAndNumber(int key, uint32_t recordNumber) {
  mode_ = Mode::kKeyEntry;
  sequenceKey_ = key;
  sequenceValue_ = KeyValueOf(key, record_.data());
  sequenceNumber_ = recordNumber;
  sequenceSet_ = true;
}

void Table::SetKeyFromRecord(int key, uint32_t recordNumber) {
  if (static_cast<int32_t>(recordNumber) <= 0) return SetKey(key);
  mode_ = Mode::kKeyFromRecord;
  sequenceKey_ = key;
  sequenceNumber_ = recordNumber;
  sequenceSet_ = true;
}

int32_t Table::ResetFile(std::string_view position) {
  if (position.size() < 4) return file_error::kRecordNotFound;
  SetFileFrom(LoadBe32(reinterpret_cast<const uint8_t*>(position.data())));
  return 0;
}

int32_t Table::ResetKey(int key, std::string_view position) {
  if (position.size() < 4) return file_error::kRecordNotFound;
  mode_ = Mode::kKeyEntry;
  sequenceKey_ = key;
  sequenceNumber_ = LoadBe32(reinterpret_cast<const uint8_t*>(position.data()));
  sequenceValue_ = std::string(position.substr(4));
  sequenceSet_ = true;
  return 0;
}

bool Table::StepFrom(const std::string& key, bool forward, bool inclusive,
                     const std::string& prefix, Found& found) {
  Record& record = stepped_;
  bool any = forward ? tree().SeekForward(key, !inclusive, record, &cursor_)
                     : tree().SeekBackward(key, !inclusive, record, &cursor_);
  if (!any || !HasPrefix(record.Key(), prefix)) return false;
  found.positionKey.assign(record.Key());
  if (prefix.size() == 5 && static_cast<uint8_t>(prefix[4]) == kDataTag) {
    found.recordNumber = LoadBe32(reinterpret_cast<const uint8_t*>(record.Key().data() + 5));
    return true;
  }
  return ResolveEntry(record, sequenceKey_, found);
}

bool Table::ResolveEntry(const Record& entry, int key, Found& found) {
  found.recordNumber = KeyEntryRecordNumber(entry, definition().keys[key].flags & kKeyDup);
  return true;
}

bool Table::FirstMove(bool forward, Found& found) {
  std::string dataPrefix = TablePrefix(tableNumber_) + static_cast<char>(kDataTag);
  auto fromStart = [&] {
    return forward ? StepFrom(dataPrefix, true, true, dataPrefix, found)
                   : StepFrom(PrefixEnd(dataPrefix), false, false, dataPrefix, found);
  };
  switch (mode_) {
    case Mode::kFromStart:
      return fromStart();
    case Mode::kFromNumber:
      return StepFrom(DataKey(tableNumber_, sequenceNumber_), forward, true, dataPrefix, found) ||
             fromStart();
    case Mode::kFromKeyValue: {
      std::string prefix = EntryPrefix(sequenceKey_);
      bool dup = definition().keys[sequenceKey_].flags & kKeyDup;
      if (!StepFrom(prefix + sequenceValue_, forward, dup, prefix, found)) return false;
      found.positionKey = DataKey(tableNumber_, found.recordNumber);
      return true;
    }
    case Mode::kKeyStart: {
      std::string prefix = EntryPrefix(sequenceKey_);
      return forward ? StepFrom(prefix, true, true, prefix, found)
                     : StepFrom(PrefixEnd(prefix), false, false, prefix, found);
    }
    case Mode::kKeyEntry: {
      std::string prefix = EntryPrefix(sequenceKey_);
      std::string entry = prefix + sequenceValue_;
      if (definition().keys[sequenceKey_].flags & kKeyDup) AppendBe32(entry, sequenceNumber_);
      return StepFrom(entry, forward, true, prefix, found);
    }
    case Mode::kKeyValue: {
      std::string prefix = EntryPrefix(sequenceKey_);
      std::string value = prefix + sequenceValue_;
      if (!forward && (definition().keys[sequenceKey_].flags & kKeyDup))
        value += std::string(4, '\xFF');
      return StepFrom(value, forward, true, prefix, found);
    }
    case Mode::kKeyFromRecord: {
      std::string prefix = EntryPrefix(sequenceKey_);
      std::string data;
      std::optional<Record> entry;
      if (ReadData(sequenceNumber_, data)) {
        std::vector<uint8_t> buffer(data.begin(), data.end());
        buffer.resize(record_.size(), 0);
        entry = EntryFor(sequenceKey_, buffer.data(), sequenceNumber_);
      }
      if (!entry) {
        return forward ? StepFrom(prefix, true, true, prefix, found)
                       : StepFrom(PrefixEnd(prefix), false, false, prefix, found);
      }
      return StepFrom(std::string(entry->Key()), forward, true, prefix, found);
    }
    case Mode::kRecordOrder:
    case Mode::kKeyOrder:
      break;
  }
  return false;
}

bool Table::Step(bool forward, Found& found) {
  bool pending = mode_ != Mode::kRecordOrder && mode_ != Mode::kKeyOrder;
  if (pending) return FirstMove(forward, found);
  if (mode_ == Mode::kRecordOrder) {
    std::string dataPrefix = TablePrefix(tableNumber_) + static_cast<char>(kDataTag);
    return StepFrom(sequencePosition_, forward, false, dataPrefix, found);
  }
  return StepFrom(sequencePosition_, forward, false, EntryPrefix(sequenceKey_), found);
}

void Table::Advance(const Found& found) {
  bool keyOrder = mode_ == Mode::kKeyOrder || mode_ == Mode::kKeyStart ||
                  mode_ == Mode::kKeyEntry || mode_ == Mode::kKeyValue ||
                  mode_ == Mode::kKeyFromRecord;
  mode_ = keyOrder ? Mode::kKeyOrder : Mode::kRecordOrder;
  sequencePosition_ = found.positionKey;
}

bool Table::StepToRecord(bool forward, Found& found, std::string& data) {
  for (;;) {
    if (!Step(forward, found)) return false;
    Advance(found);
    // An entry whose record has vanished is passed over.
    if (ReadData(found.recordNumber, data)) return true;
  }
}

bool Table::TestMove(bool forward) {
  if (Begin(false) != 0) return End(0), false;
  Mode savedMode = mode_;
  std::string savedPosition = sequencePosition_;
  Found found;
  std::string data;
  bool any = StepToRecord(forward, found, data);
  mode_ = savedMode;
  sequencePosition_ = savedPosition;
  End(0);
  return any;
}

int32_t Table::Move(bool forward) {
  int32_t result = Begin(false);
  if (result != 0) return End(result);
  if (!sequenceSet_) return End(file_error::kRecordNotAvailable);
  Found& found = moved_;
  std::string& data = fetched_;
  if (!StepToRecord(forward, found, data)) {
    ClearCurrent();
    return End(file_error::kRecordNotAvailable);
  }
  return End(LoadRecord(found.recordNumber, data));
}

int32_t Table::Skip(int32_t count) {
  int32_t result = Begin(false);
  if (result != 0) return End(result);
  bool forward = count >= 0;
  Found found;
  std::string data;
  for (int32_t moved = 0; moved < (forward ? count : -count); ++moved) {
    if (!StepToRecord(forward, found, data)) {
      ClearCurrent();
      return End(file_error::kRecordNotAvailable);
    }
  }
  ClearCurrent();
  return End(0);
}

}  // namespace rk::kmf
