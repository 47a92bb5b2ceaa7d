// One variable-length record of a KMF file: a key part, which orders it in the
// file's single B-tree, followed by a data part.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace rk::kmf {

struct Record {
  std::string bytes;  // key part, then data part
  uint16_t keyLength = 0;

  std::string_view Key() const { return std::string_view(bytes).substr(0, keyLength); }
  std::string_view Data() const { return std::string_view(bytes).substr(keyLength); }
  bool operator==(const Record&) const = default;
};

inline Record MakeRecord(std::string_view key, std::string_view data) {
  Record record;
  record.bytes.reserve(key.size() + data.size());
  record.bytes.append(key);
  record.bytes.append(data);
  record.keyLength = static_cast<uint16_t>(key.size());
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
