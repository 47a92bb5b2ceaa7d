// Encoding and decoding of one KMF page.
//
// Layout (little-endian):
//   0x00  4  the page's own byte offset in the file (address x 256 + 0x200)
//   0x04  2  stored length: header, child array and body as written
//   0x06  2  uncompressed length: header, child array and uncompressed body
//   0x08  2  size bound: 13 + 4 x count (index pages only) + sum(record length + 5)
//   0x0A  2  record count
//   0x0C  1  level: 0 leaf, 1 and up index
//   0x0D  4 x count  index pages only: child page address of each record
//   then  the body: prefix-compressed records (kmf_record_coding.h), run-length
//         compressed as a whole (kmf_run_length.h) when that saves 256-byte units
// The bytes from the stored length to the end of the page's class size are 0xB0.
// A reader expands exactly when the stored length is below the uncompressed one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/files/kmf_record.h"

namespace rk::kmf {

inline constexpr uint32_t kPageHeaderSize = 13;
inline constexpr uint8_t kPagePadding = 0xB0;

// One page's records. A page is filled through its fields while it is built
// (decoded, or made up by hand); once it is in a tree every change to its
// records goes through the operations below, which keep the size bound: a
// split test after an insertion need not add up the whole page.
class Page {
 public:
  uint8_t level = 0;
  std::vector<Record> records;
  std::vector<uint32_t> children;  // index pages: one per record

  bool IsIndex() const { return level > 0; }

  // The size bound, counted afresh the first time and kept from then on.
  uint32_t KeptSizeBound();

  // Record operations. On an index page a record comes and goes with its
  // child; Insert is for leaves, InsertWithChild for index pages.
  void Insert(size_t position, Record record);
  void InsertWithChild(size_t position, Record record, uint32_t child);
  void Replace(size_t position, Record record);
  // Puts the record in the place of the one there and hands that one back.
  Record Exchange(size_t position, Record record);
  // Removes the record (and its child) and hands it back.
  Record Take(size_t position);
  void Erase(size_t position);
  // Changes the record in place; its key stays.
  void Change(size_t position, const std::function<void(Record&)>& change);
  // Moves the records (and children) from `cut` on to the end of `right`.
  void MoveTailTo(size_t cut, Page& right);
  // Moves every record (and child) of `from` to the end of this page.
  void Absorb(Page& from);

 private:
  friend bool DecodePage(const uint8_t* data, size_t size, Page& page, std::string& problem);

  // Keep a known bound in step with a record going in or out; a bound not
  // yet counted stays so.
  void CountIn(const Record& record) {
    if (bound_ != 0) bound_ += RecordBoundOf(record);
  }
  void CountOut(const Record& record) {
    if (bound_ != 0) bound_ -= RecordBoundOf(record);
  }
  uint32_t RecordBoundOf(const Record& record) const;

  // SizeBound of the records as they stand, or 0 when not yet counted.
  uint32_t bound_ = 0;
};

// The size bound counted afresh from the records.
uint32_t SizeBound(const Page& page);
// What one record adds to the size bound of this page.
inline uint32_t RecordBound(const Page& page, const Record& record) {
  return static_cast<uint32_t>(record.bytes.size()) + 5 + (page.IsIndex() ? 4 : 0);
}

// Searches among a page's records: the first record whose key is not before
// (LowerBound) or is after (UpperBound) the key.
size_t LowerBound(const Page& page, std::string_view key);
size_t UpperBound(const Page& page, std::string_view key);
// LowerBound, and whether the record there has exactly the key.
struct Placement {
  size_t position;
  bool equal;
};
Placement PlaceKey(const Page& page, std::string_view key);
// On an index page: the last record not greater than the key, or the first;
// its child is where the key belongs.
size_t ChildIndex(const Page& page, std::string_view key);

// The page up to its stored length, compressed when that saves a 256-byte unit;
// the offset field is left 0 (FinishPage sets it).
std::string EncodePageImage(const Page& page);
// Size class of an encoded image: its length rounded up to 256, in units.
inline int ClassOfImage(const std::string& image) {
  return static_cast<int>((image.size() + 255) / 256);
}
// Rewrites the child addresses of an index page's image (never compressed)
// after children were renamed; the image keeps its length.
void StoreChildAddresses(std::string& image, const Page& page);
// Pads the image with 0xB0 to its class size and stores the page's byte offset.
void FinishPage(std::string& image, uint64_t byteOffset);

// Decodes a page of `size` bytes (its class size). Returns false with a short
// description of the first inconsistency found; never reads outside the buffer.
bool DecodePage(const uint8_t* data, size_t size, Page& page, std::string& problem);

// Fields of the page header as stored, for checks that compare them.
struct PageHeaderFields {
  uint32_t ownOffset;
  uint16_t storedLength;
  uint16_t uncompressedLength;
  uint16_t sizeBound;
  uint16_t recordCount;
  uint8_t level;
};
PageHeaderFields ReadPageHeader(const uint8_t* data);  // needs kPageHeaderSize bytes

// A page whose lengths were checked and whose body was expanded, its records
// still prefix-compressed (read them with a RecordReader). The body views the
// page's bytes, or a per-thread expansion buffer that the next OpenPage on
// the thread reuses.
struct OpenedPage {
  PageHeaderFields fields;
  const uint8_t* children;  // index pages: the little-endian child addresses
  std::string_view body;
};
// The first half of DecodePage: false with the problem as there.
bool OpenPage(const uint8_t* data, size_t size, OpenedPage& page, std::string& problem);

}  // namespace rk::kmf
