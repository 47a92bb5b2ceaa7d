// The memos of a KMF record: each memo's text, trailing spaces removed, cut into
// 256-byte pieces stored as memo records (table, 0xFC, record number, memo
// number, piece number big-endian). An empty memo has no records.
#include <algorithm>

#include "runtime/files/kmf_record_kinds.h"
#include "runtime/files/kmf_table.h"

namespace rk::kmf {

void Table::LoadMemos(uint32_t recordNumber) {
  Tree tree = this->tree();
  for (size_t m = 0; m < memos_.size(); ++m) {
    std::string& memo = memos_[m];
    std::fill(memo.begin(), memo.end(), ' ');
    Record piece;
    size_t pos = 0;
    for (uint16_t k = 0;
         pos < memo.size() &&
         tree.Find(MemoKey(tableNumber_, recordNumber, static_cast<uint8_t>(m), k), piece);
         ++k) {
      size_t length = std::min(piece.Data().size(), memo.size() - pos);
      std::copy_n(piece.Data().begin(), length, memo.begin() + pos);
      pos += length;
    }
  }
}

void Table::WriteMemos(uint32_t recordNumber) {
  Tree tree = this->tree();
  for (size_t m = 0; m < memos_.size(); ++m) {
    std::string_view text = memos_[m];
    size_t end = text.find_last_not_of(' ');
    text = end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
    uint16_t pieces = static_cast<uint16_t>((text.size() + kMemoPieceSize - 1) / kMemoPieceSize);
    for (uint16_t k = 0; k < pieces; ++k) {
      std::string key = MemoKey(tableNumber_, recordNumber, static_cast<uint8_t>(m), k);
      std::string_view content = text.substr(k * kMemoPieceSize, kMemoPieceSize);
      Record stored;
      if (tree.Find(key, stored) && stored.Data() == content) continue;  // unchanged piece
      tree.Put(MakeRecord(key, content));
    }
    // Pieces beyond the new end go.
    for (uint16_t k = pieces;; ++k) {
      if (!tree.Remove(MemoKey(tableNumber_, recordNumber, static_cast<uint8_t>(m), k))) break;
    }
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

}  // namespace rk::kmf
