// One variable-length record of a KMF file: a key part, which orders it in the
// file's single B-tree, followed by a data part.
#pragma once

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace rk::kmf {

// The first 16 bytes of a key (zeros after a shorter key) as two big-endian
// words. Keys whose heads differ are ordered by their heads: a zero is the
// lowest byte, as the end of a shorter key is lower than any byte. Only keys
// with equal heads need their bytes compared. A record keeps its key's head
// beside its bytes, so that a search among a page's records mostly reads the
// records themselves and not the bytes they point to.
struct KeyHead {
  uint64_t high = 0;
  uint64_t low = 0;
  bool known = false;

  static KeyHead Of(std::string_view key) {
    KeyHead head;
    if (key.size() >= 16) {
      head.high = BigEndianWord(key.data());
      head.low = BigEndianWord(key.data() + 8);
    } else {
      char padded[16] = {};
      std::memcpy(padded, key.data(), key.size());
      head.high = BigEndianWord(padded);
      head.low = BigEndianWord(padded + 8);
    }
    head.known = true;
    return head;
  }

 private:
  static uint64_t BigEndianWord(const char* bytes) {
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    return word;
  }
};

struct Record {
  std::string bytes;  // key part, then data part
  uint16_t keyLength = 0;
  // Set by the functions that make records (MakeRecord, KeyEntry, decoding);
  // a record built field by field has none, and is compared by its bytes. The
  // key bytes of a record never change once it is made.
  KeyHead head;

  std::string_view Key() const { return std::string_view(bytes).substr(0, keyLength); }
  std::string_view Data() const { return std::string_view(bytes).substr(keyLength); }
  void SetHead() { head = KeyHead::Of(Key()); }
  bool operator==(const Record& other) const {
    return keyLength == other.keyLength && bytes == other.bytes;
  }
};

inline Record MakeRecord(std::string_view key, std::string_view data) {
  Record record;
  record.bytes.reserve(key.size() + data.size());
  record.bytes.append(key);
  record.bytes.append(data);
  record.keyLength = static_cast<uint16_t>(key.size());
  record.SetHead();
  return record;
}

// Key parts compare byte by byte, unsigned, over the shorter length; on equal
// bytes the shorter key sorts first.
inline int CompareKeys(std::string_view a, std::string_view b) {
  size_t common = std::min(a.size(), b.size());
  int diff = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
  if (diff != 0) return diff < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// Whether the record's head is the one of its key bytes (for assertions).
inline bool HeadHolds(const Record& record) {
  KeyHead head = KeyHead::Of(record.Key());
  return !record.head.known || (record.head.high == head.high && record.head.low == head.low);
}

// CompareKeys(record.Key(), key) < 0, through the heads where they decide.
inline bool KeyBefore(const Record& record, std::string_view key, const KeyHead& keyHead) {
  assert(HeadHolds(record));
  if (record.head.known) {
    if (record.head.high != keyHead.high) return record.head.high < keyHead.high;
    if (record.head.low != keyHead.low) return record.head.low < keyHead.low;
  }
  return CompareKeys(record.Key(), key) < 0;
}

// CompareKeys(key, record.Key()) < 0, through the heads where they decide.
inline bool KeyAfter(const Record& record, std::string_view key, const KeyHead& keyHead) {
  assert(HeadHolds(record));
  if (record.head.known) {
    if (record.head.high != keyHead.high) return keyHead.high < record.head.high;
    if (record.head.low != keyHead.low) return keyHead.low < record.head.low;
  }
  return CompareKeys(key, record.Key()) < 0;
}

// record.Key() == key, answered by the heads where they differ.
inline bool KeyEquals(const Record& record, std::string_view key, const KeyHead& keyHead) {
  assert(HeadHolds(record));
  if (record.head.known && (record.head.high != keyHead.high || record.head.low != keyHead.low))
    return false;
  return record.Key() == key;
}

// A record (key and data) must be shorter than this to be stored at all.
inline constexpr size_t kRecordLimit = 15094;
// A page whose size bound reaches this many bytes is split; no page written
// keeps such a bound.
inline constexpr uint32_t kSplitBound = 15095;
// The largest record that a page can hold alone without reaching the split
// bound: 13 header bytes + 4 child bytes + 5 bytes of record overhead + the
// record stay below it. Longer records are refused before anything changes.
inline constexpr size_t kLargestStorableRecord = kSplitBound - 1 - 13 - 4 - 5;

}  // namespace rk::kmf
