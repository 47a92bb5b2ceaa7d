// The memos and blobs of a KMF record, stored as memo records (table, 0xFC,
// record number, memo number, piece number big-endian) of up to 256 bytes each:
//   text memo  the text with its trailing spaces removed, piece k holding bytes
//              k x 256 to k x 256 + 255; files with OEM text keep it in the OEM
//              code page
//   blob       its exact content; piece 0 begins with the content's length
//              (4 bytes, little-endian) before its 256 bytes
// An empty memo or blob has no records.
#include <algorithm>
#include <cstring>

#include "runtime/core/clipped_text.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_descriptor.h"
#include "runtime/files/kmf_bytes.h"
#include "runtime/files/kmf_record_kinds.h"
#include "runtime/files/kmf_table.h"
#include "runtime/platform/code_page.h"

namespace rk::kmf {
namespace {

constexpr size_t kBlobLengthBytes = 4;

}  // namespace

// The stored pieces joined, at most limit bytes of content.
std::string Table::LoadMemoContent(Tree& tree, uint32_t recordNumber, size_t memo, size_t limit) {
  std::string content;
  std::string piece;
  size_t length = limit;
  for (uint16_t k = 0;
       content.size() < length &&
       tree.FetchData(MemoKey(tableNumber_, recordNumber, static_cast<uint8_t>(memo), k), piece,
                      &memoLeaf_);
       ++k) {
    std::string_view data = piece;
    if (k == 0 && isBlob(memo)) {
      if (data.size() < kBlobLengthBytes) break;
      length = std::min<size_t>(LoadLe32(reinterpret_cast<const uint8_t*>(data.data())), limit);
      data.remove_prefix(kBlobLengthBytes);
    }
    content.append(data.substr(0, length - content.size()));
  }
  return content;
}

void Table::LoadMemos(uint32_t recordNumber) {
  Tree tree = this->tree();
  for (size_t m = 0; m < memos_.size(); ++m) {
    std::string& memo = memos_[m];
    if (isBlob(m)) {
      memo = LoadMemoContent(tree, recordNumber, m, kMaxMemoSize);
      continue;
    }
    std::string text = LoadMemoContent(tree, recordNumber, m, memo.size());
    if (declaration_.oem) platform::OemToAnsiBuffer(text.data(), text.size());
    std::fill(std::copy(text.begin(), text.end(), memo.begin()), memo.end(), ' ');
  }
}

// A piece equal to the stored one is left alone; pieces beyond the new end go.
void Table::WriteMemoContent(Tree& tree, uint32_t recordNumber, size_t memo,
                             std::string_view content, bool stored) {
  std::string prefixed;
  if (isBlob(memo) && !content.empty()) {
    AppendLe32(prefixed, static_cast<uint32_t>(content.size()));
    prefixed.append(content);
    content = prefixed;
  }
  size_t firstPiece = prefixed.empty() ? kMemoPieceSize : kMemoPieceSize + kBlobLengthBytes;
  uint16_t pieces = 0;
  for (size_t pos = 0; pos < content.size(); ++pieces) {
    size_t length = pieces == 0 ? firstPiece : kMemoPieceSize;
    std::string key = MemoKey(tableNumber_, recordNumber, static_cast<uint8_t>(memo), pieces);
    std::string_view bytes = content.substr(pos, length);
    pos += length;
    if (stored) {
      const Record* piece = tree.Lookup(key);
      if (piece && piece->Data() == bytes) continue;
    }
    tree.Put(MakeRecord(key, bytes));
  }
  for (uint16_t k = pieces; stored; ++k) {
    std::string key = MemoKey(tableNumber_, recordNumber, static_cast<uint8_t>(memo), k);
    if (!tree.Remove(key, &memoLeaf_)) break;
  }
}

void Table::WriteMemos(uint32_t recordNumber, bool stored) {
  Tree tree = this->tree();
  for (size_t m = 0; m < memos_.size(); ++m) {
    if (isBlob(m)) {
      WriteMemoContent(tree, recordNumber, m, memos_[m], stored);
      continue;
    }
    std::string_view text = ClipRight(memos_[m]);
    if (!declaration_.oem) {
      WriteMemoContent(tree, recordNumber, m, text, stored);
      continue;
    }
    std::string converted(text);
    platform::AnsiToOemBuffer(converted.data(), converted.size());
    WriteMemoContent(tree, recordNumber, m, converted, stored);
  }
}

void Table::DeleteMemos(uint32_t recordNumber) {
  std::string prefix = MemoPrefix(tableNumber_, recordNumber);
  Tree tree = this->tree();
  Record found;
  while (tree.SeekForward(prefix, false, found) && found.Key().substr(0, prefix.size()) == prefix) {
    tree.Remove(found.Key());
  }
}

const std::string* Table::BlobContent(int32_t blob) const {
  if (blob < 1 || static_cast<size_t>(blob) > memos_.size() || !isBlob(blob - 1)) return nullptr;
  return &memos_[blob - 1];
}

int32_t Table::BlobRead(int32_t blob, int32_t first, int32_t last, std::string& bytes) const {
  const std::string* content = BlobContent(blob);
  if (!content || first < 0 || last < first) return file_error::kInvalidParameterCount;
  if (static_cast<size_t>(first) < content->size())
    bytes = content->substr(first, static_cast<size_t>(last - first) + 1);
  return 0;
}

int32_t Table::BlobWrite(int32_t blob, int32_t first, int32_t last, std::string_view bytes) {
  if (!BlobContent(blob) || first < 0 || last < first) return file_error::kInvalidParameterCount;
  size_t count = std::min(bytes.size(), static_cast<size_t>(last - first) + 1);
  if (static_cast<size_t>(first) + count > kMaxMemoSize) return file_error::kInvalidParameterCount;
  std::string& content = memos_[blob - 1];
  if (content.size() < first + count) content.resize(first + count, '\0');
  std::copy_n(bytes.begin(), count, content.begin() + first);
  return 0;
}

int32_t Table::BlobSize(int32_t blob, int32_t& size) const {
  const std::string* content = BlobContent(blob);
  if (!content) return file_error::kInvalidParameterCount;
  size = static_cast<int32_t>(content->size());
  return 0;
}

}  // namespace rk::kmf
