#include "runtime/files/kmf_page.h"

#include <algorithm>
#include <cassert>
#include <iterator>
#include <utility>

#include "runtime/files/kmf_bytes.h"
#include "runtime/files/kmf_header.h"
#include "runtime/files/kmf_record_coding.h"
#include "runtime/files/kmf_run_length.h"

namespace rk::kmf {
namespace {

size_t LowerBoundWith(const Page& page, std::string_view key, const KeyHead& head) {
  auto it = std::lower_bound(
      page.records.begin(), page.records.end(), key,
      [&head](const Record& r, std::string_view k) { return KeyBefore(r, k, head); });
  return static_cast<size_t>(it - page.records.begin());
}

}  // namespace

size_t LowerBound(const Page& page, std::string_view key) {
  return LowerBoundWith(page, key, KeyHead::Of(key));
}

Placement PlaceKey(const Page& page, std::string_view key) {
  const KeyHead head = KeyHead::Of(key);
  size_t position = LowerBoundWith(page, key, head);
  return {position, position < page.records.size() && KeyEquals(page.records[position], key, head)};
}

size_t UpperBound(const Page& page, std::string_view key) {
  const KeyHead head = KeyHead::Of(key);
  auto it = std::upper_bound(
      page.records.begin(), page.records.end(), key,
      [&head](std::string_view k, const Record& r) { return KeyAfter(r, k, head); });
  return static_cast<size_t>(it - page.records.begin());
}

size_t ChildIndex(const Page& page, std::string_view key) {
  size_t upper = UpperBound(page, key);
  return upper == 0 ? 0 : upper - 1;
}

uint32_t Page::KeptSizeBound() {
  assert(bound_ == 0 || bound_ == SizeBound(*this));
  if (bound_ == 0) bound_ = SizeBound(*this);
  return bound_;
}

uint32_t Page::RecordBoundOf(const Record& record) const {
  return RecordBound(*this, record);
}

void Page::Insert(size_t position, Record record) {
  assert(!IsIndex());
  CountIn(record);
  records.insert(records.begin() + static_cast<ptrdiff_t>(position), std::move(record));
}

void Page::InsertWithChild(size_t position, Record record, uint32_t child) {
  assert(IsIndex());
  CountIn(record);
  records.insert(records.begin() + static_cast<ptrdiff_t>(position), std::move(record));
  children.insert(children.begin() + static_cast<ptrdiff_t>(position), child);
}

void Page::Replace(size_t position, Record record) {
  Exchange(position, std::move(record));
}

Record Page::Exchange(size_t position, Record record) {
  CountOut(records[position]);
  CountIn(record);
  std::swap(records[position], record);
  return record;
}

Record Page::Take(size_t position) {
  Record taken = std::move(records[position]);
  CountOut(taken);
  records.erase(records.begin() + static_cast<ptrdiff_t>(position));
  if (IsIndex()) children.erase(children.begin() + static_cast<ptrdiff_t>(position));
  return taken;
}

void Page::Erase(size_t position) {
  Take(position);
}

void Page::Change(size_t position, const std::function<void(Record&)>& change) {
  Record& record = records[position];
  CountOut(record);
  change(record);
  CountIn(record);
}

// Both pages are counted afresh when next asked: moving many records at once
// is no cheaper to count one by one.
void Page::MoveTailTo(size_t cut, Page& right) {
  const auto from = static_cast<ptrdiff_t>(cut);
  right.records.insert(right.records.end(), std::make_move_iterator(records.begin() + from),
                       std::make_move_iterator(records.end()));
  records.resize(cut);
  if (IsIndex()) {
    right.children.insert(right.children.end(), children.begin() + from, children.end());
    children.resize(cut);
  }
  bound_ = 0;
  right.bound_ = 0;
}

void Page::Absorb(Page& from) {
  records.insert(records.end(), std::make_move_iterator(from.records.begin()),
                 std::make_move_iterator(from.records.end()));
  children.insert(children.end(), from.children.begin(), from.children.end());
  from.records.clear();
  from.children.clear();
  bound_ = 0;
  from.bound_ = 0;
}

uint32_t SizeBound(const Page& page) {
  uint32_t bound = kPageHeaderSize;
  if (page.IsIndex()) bound += 4 * static_cast<uint32_t>(page.records.size());
  for (const Record& record : page.records) bound += static_cast<uint32_t>(record.bytes.size()) + 5;
  return bound;
}

// The header, child array and prefix-compressed body are laid out in place;
// the body is then swapped for its compressed form when that saves a unit.
std::string EncodePageImage(const Page& page) {
  assert(!page.IsIndex() || page.children.size() == page.records.size());
  const uint32_t bound = SizeBound(page);
  const size_t fixedPart = kPageHeaderSize + (page.IsIndex() ? 4 * page.records.size() : 0);
  std::string image;
  // Room for the padding that FinishPage adds, so the image grows only once.
  image.reserve((bound + 255) / 256 * 256);
  image.resize(fixedPart, '\0');
  EncodeRecords(page.records, image);
  const size_t uncompressedLength = image.size();
  assert(uncompressedLength <= bound);

  thread_local std::string compressed;
  std::string_view body(image.data() + fixedPart, uncompressedLength - fixedPart);
  if (CompressRuns(body, compressed) &&
      (fixedPart + compressed.size() + 255) / 256 < (uncompressedLength + 255) / 256) {
    image.resize(fixedPart);
    image.append(compressed);
  }
  auto* p = reinterpret_cast<uint8_t*>(image.data());
  StoreLe16(p + 0x04, static_cast<uint16_t>(image.size()));
  StoreLe16(p + 0x06, static_cast<uint16_t>(uncompressedLength));
  StoreLe16(p + 0x08, static_cast<uint16_t>(bound));
  StoreLe16(p + 0x0A, static_cast<uint16_t>(page.records.size()));
  p[0x0C] = page.level;
  if (page.IsIndex()) StoreChildAddresses(image, page);
  return image;
}

void StoreChildAddresses(std::string& image, const Page& page) {
  assert(image.size() >= kPageHeaderSize + 4 * page.children.size());
  auto* p = reinterpret_cast<uint8_t*>(image.data()) + kPageHeaderSize;
  for (uint32_t child : page.children) {
    StoreLe32(p, child);
    p += 4;
  }
}

void FinishPage(std::string& image, uint64_t byteOffset) {
  size_t classBytes = (image.size() + 255) / 256 * 256;
  image.resize(classBytes, static_cast<char>(kPagePadding));
  StoreLe32(reinterpret_cast<uint8_t*>(image.data()), static_cast<uint32_t>(byteOffset));
}

PageHeaderFields ReadPageHeader(const uint8_t* data) {
  return {LoadLe32(data),        LoadLe16(data + 0x04), LoadLe16(data + 0x06),
          LoadLe16(data + 0x08), LoadLe16(data + 0x0A), data[0x0C]};
}

bool OpenPage(const uint8_t* data, size_t size, OpenedPage& page, std::string& problem) {
  if (size < kPageHeaderSize || size % 256 != 0 || size > kMaxPageBytes) {
    problem = "page size is not a size class";
    return false;
  }
  PageHeaderFields fields = ReadPageHeader(data);
  if ((fields.storedLength + 255u) / 256 * 256 != size) {
    problem = "stored length does not match the page's class";
    return false;
  }
  size_t fixedPart = kPageHeaderSize + (fields.level > 0 ? 4u * fields.recordCount : 0u);
  if (fields.storedLength < fixedPart || fields.uncompressedLength < fixedPart ||
      fields.storedLength > fields.uncompressedLength) {
    problem = "page lengths are inconsistent";
    return false;
  }
  page.fields = fields;
  page.children = data + kPageHeaderSize;
  page.body = std::string_view(reinterpret_cast<const char*>(data) + fixedPart,
                               fields.storedLength - fixedPart);
  // Pages are opened one at a time; the expanded body is reused, not
  // allocated for every page read.
  thread_local std::string expanded;
  if (fields.storedLength < fields.uncompressedLength) {
    if (!ExpandRuns(page.body, fields.uncompressedLength - fixedPart, expanded)) {
      problem = "compressed body is malformed";
      return false;
    }
    page.body = expanded;
  }
  return true;
}

bool DecodePage(const uint8_t* data, size_t size, Page& page, std::string& problem) {
  OpenedPage opened;
  if (!OpenPage(data, size, opened, problem)) return false;
  page.level = opened.fields.level;
  page.bound_ = 0;
  page.children.clear();
  if (page.IsIndex()) {
    page.children.reserve(opened.fields.recordCount);
    for (size_t i = 0; i < opened.fields.recordCount; ++i) {
      page.children.push_back(LoadLe32(opened.children + 4 * i));
    }
  }
  if (!DecodeRecords(opened.body, opened.fields.recordCount, page.records)) {
    problem = "records do not end at the uncompressed length";
    return false;
  }
  return true;
}

}  // namespace rk::kmf
