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
#include <string>
#include <string_view>
#include <vector>

#include "runtime/files/kmf_record.h"

namespace rk::kmf {

inline constexpr uint32_t kPageHeaderSize = 13;
inline constexpr uint8_t kPagePadding = 0xB0;

struct Page {
  uint8_t level = 0;
  std::vector<Record> records;
  std::vector<uint32_t> children;  // index pages: one per record
  // SizeBound of the records as they stand, or 0 when not known. Code that
  // changes `records` keeps it exact or sets it to 0, so that the split test
  // after an insertion need not add up the whole page.
  uint32_t bound = 0;

  bool IsIndex() const { return level > 0; }
};

// The size bound counted afresh from the records.
uint32_t SizeBound(const Page& page);
// What one record adds to the size bound of this page.
inline uint32_t RecordBound(const Page& page, const Record& record) {
  return static_cast<uint32_t>(record.bytes.size()) + 5 + (page.IsIndex() ? 4 : 0);
}
// The size bound through the kept value, which is set when not known.
uint32_t KeptSizeBound(Page& page);

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
