// KMF pages, the file header and key values from any bytes.
//
// The first byte chooses what the rest is: a page of a size class (which must
// decode or be refused, and once decoded encode back to the same records), a
// header (which must encode back to the bytes it decodes the same from), or a
// key layout with two records (whose encoded values must have the layout's
// length, and sort as their integer fields do).
#include <cstring>
#include <string>

#include "runtime/core/type_codes.h"
#include "runtime/files/kmf_header.h"
#include "runtime/files/kmf_key_value.h"
#include "runtime/files/kmf_page.h"
#include "tools/fuzz/fuzz_inputs.h"

namespace rk::fuzz {
namespace {

using namespace rk::kmf;

void PageRoundTrip(const uint8_t* data, size_t size) {
  size_t classBytes = size / 256 * 256;
  if (classBytes == 0 || classBytes > kMaxPageBytes) return;
  Page page;
  std::string problem;
  if (!DecodePage(data, classBytes, page, problem)) return;
  if (SizeBound(page) > 0xFFFF) return;
  std::string image = EncodePageImage(page);
  if (image.size() > kMaxPageBytes) return;
  FinishPage(image, 0x200);
  Page again;
  if (!DecodePage(reinterpret_cast<const uint8_t*>(image.data()), image.size(), again, problem) ||
      again.records != page.records || again.children != page.children) {
    Broken();
  }
}

bool SameHeader(const Header& a, const Header& b) {
  return a.committedEnd == b.committedEnd && a.pendingEnd == b.pendingEnd &&
         a.hasSignature == b.hasSignature && a.lastNumberIssued == b.lastNumberIssued &&
         a.changeCounter == b.changeCounter && a.root == b.root && a.rangeStart == b.rangeStart &&
         a.rangeEnd == b.rangeEnd;
}

void HeaderRoundTrip(const uint8_t* data, size_t size) {
  uint8_t bytes[kHeaderSize] = {};
  std::memcpy(bytes, data, std::min<size_t>(size, kHeaderSize));
  Header header = DecodeHeader(bytes);
  uint8_t again[kHeaderSize];
  EncodeHeader(header, again);
  if (!SameHeader(DecodeHeader(again), header)) Broken();
}

// Integer types whose values order their key bytes, with how to read one.
int64_t IntegerAt(uint8_t type, const uint8_t* p) {
  switch (type) {
    case kShort: {
      int16_t v;
      std::memcpy(&v, p, 2);
      return v;
    }
    case kUShort: {
      uint16_t v;
      std::memcpy(&v, p, 2);
      return v;
    }
    case kLong: {
      int32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
    default: {
      uint32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
  }
}

void KeyValues(const uint8_t* data, size_t size) {
  static constexpr uint8_t kTypes[] = {kByte,     kShort,  kUShort,  kDate,    kTime,
                                       kLong,     kULong,  kSReal,   kReal,    kDecimal,
                                       kPDecimal, kString, kCString, kPString, kTextArea};
  static constexpr size_t kRecord = 64;
  if (size < 4 + 2 * kRecord) return;
  const uint8_t* first = data + size - 2 * kRecord;
  const uint8_t* second = first + kRecord;
  KeyLayout layout;
  layout.noCase = data[0] & 1;
  layout.oem = data[0] & 2;
  size_t describing = std::min<size_t>((size - 2 * kRecord - 1) / 3, 8);
  for (size_t i = 0; i < describing; ++i) {
    const uint8_t* d = data + 1 + 3 * i;
    KeyComponent c;
    c.type = kTypes[d[0] % sizeof kTypes];
    c.descending = d[0] & 0x80;
    c.length = 1 + d[1] % 32;
    c.offset = d[2] % (kRecord - c.length + 1);
    layout.components.push_back(c);
  }
  if (layout.components.empty()) return;
  std::string a = EncodeKeyValue(layout, first);
  std::string b = EncodeKeyValue(layout, second);
  if (a.size() != KeyValueLength(layout) || b.size() != a.size()) Broken();
  KeyFieldsEmpty(layout, first);
  // A single integer component: the bytes sort as the numbers do.
  const KeyComponent& only = layout.components[0];
  bool integer =
      only.type == kShort || only.type == kUShort || only.type == kLong || only.type == kULong;
  if (layout.components.size() != 1 || !integer) return;
  uint32_t width = (only.type == kShort || only.type == kUShort) ? 2 : 4;
  if (only.length != width) return;
  int64_t x = IntegerAt(only.type, first + only.offset);
  int64_t y = IntegerAt(only.type, second + only.offset);
  int byValue = (x > y) - (x < y);
  int byKey = a.compare(b);
  byKey = (byKey > 0) - (byKey < 0);
  if (only.descending) byValue = -byValue;
  if (byValue != byKey) Broken();
}

}  // namespace

int KmfPageInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  switch (data[0] % 3) {
    case 0:
      PageRoundTrip(data + 1, size - 1);
      break;
    case 1:
      HeaderRoundTrip(data + 1, size - 1);
      break;
    default:
      KeyValues(data + 1, size - 1);
  }
  return 0;
}

}  // namespace rk::fuzz
