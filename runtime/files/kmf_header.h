// The 512-byte file header of a KMF file.
//
// Layout (little-endian unless noted):
//   0x000  4  0: the header's own offset (laid out like a page's first two fields,
//             so that it can travel through the pending area like a page)
//   0x004  2  header length, 0x200
//   0x006  4  end of the committed data (byte offset of the end of the last page)
//   0x00A  4  end of the pending area; equal to 0x006 outside a write-back
//   0x00E  4  signature "kElD"
//   0x012  2  0
//   0x014  4  last number issued, big-endian
//   0x018  4  change counter
//   0x01C  4  root page address; 0xFFFFFFFF when the tree is empty
//   0x020  60 x 4  range start of each size class 0..59 (entry 0 unused)
//   0x110  60 x 4  range end of each size class 0..59
#pragma once

#include <array>
#include <cstdint>

namespace rk::kmf {

inline constexpr uint32_t kHeaderSize = 0x200;
inline constexpr int kClassCount = 60;  // classes 1..59; entry 0 unused
inline constexpr uint32_t kUnitSize = 256;
inline constexpr uint32_t kMaxPageBytes = 59 * kUnitSize;  // 0x3B00
inline constexpr uint32_t kNoPage = 0xFFFFFFFF;

struct Header {
  uint32_t committedEnd = kHeaderSize;
  uint32_t pendingEnd = kHeaderSize;
  bool hasSignature = false;
  uint32_t lastNumberIssued = 0;
  uint32_t changeCounter = 0;
  uint32_t root = kNoPage;
  std::array<uint32_t, kClassCount> rangeStart{};
  std::array<uint32_t, kClassCount> rangeEnd{};
};

// A fresh header: signature, empty tree, no ranges, change counter 0.
Header NewHeader();
void EncodeHeader(const Header& header, uint8_t* out);  // writes kHeaderSize bytes
Header DecodeHeader(const uint8_t* in);                 // reads kHeaderSize bytes

// Byte offset of a page address, and the class whose range holds an address
// (0 when none does).
inline uint64_t PageOffset(uint32_t address) {
  return static_cast<uint64_t>(address) * kUnitSize + kHeaderSize;
}
int ClassOfAddress(const Header& header, uint32_t address);
// End of the highest non-empty range as a byte offset (kHeaderSize without pages).
uint32_t UsedEnd(const Header& header);

}  // namespace rk::kmf
