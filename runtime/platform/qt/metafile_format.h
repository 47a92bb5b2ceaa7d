// The page-file format: a 22-byte placeable header, then a Windows metafile (an
// 18-byte header and records of 16-bit words). Every record starts with its size
// in words (32 bits, the 3 words of the record header included) and its function
// number; the parameters follow. Coordinates are 16-bit, and the records that take
// a point give y before x.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace rk::platform {

namespace meta {

inline constexpr uint16_t kEof = 0x0000;
inline constexpr uint16_t kSetBkMode = 0x0102;
inline constexpr uint16_t kSelectObject = 0x012D;
inline constexpr uint16_t kSetTextAlign = 0x012E;
inline constexpr uint16_t kDeleteObject = 0x01F0;
inline constexpr uint16_t kSetTextColor = 0x0209;
inline constexpr uint16_t kSetWindowOrg = 0x020B;
inline constexpr uint16_t kSetWindowExt = 0x020C;
inline constexpr uint16_t kLineTo = 0x0213;
inline constexpr uint16_t kMoveTo = 0x0214;
inline constexpr uint16_t kCreatePenIndirect = 0x02FA;
inline constexpr uint16_t kCreateFontIndirect = 0x02FB;
inline constexpr uint16_t kCreateBrushIndirect = 0x02FC;
inline constexpr uint16_t kRectangle = 0x041B;
inline constexpr uint16_t kTextOut = 0x0521;
inline constexpr uint16_t kStretchDib = 0x0F43;

inline constexpr uint16_t kTransparent = 1;
inline constexpr uint16_t kAlignCenter = 6;
inline constexpr uint16_t kAlignRight = 2;
inline constexpr uint16_t kPenSolid = 0;
inline constexpr uint16_t kPenNull = 5;
inline constexpr uint16_t kBrushSolid = 0;
inline constexpr uint16_t kBrushHollow = 1;
inline constexpr uint32_t kSourceCopy = 0x00CC0020;

inline constexpr uint32_t kRecordHeaderWords = 3;
inline constexpr uint32_t kHeaderBytes = 18;
inline constexpr uint32_t kFaceNameBytes = 32;
inline constexpr uint32_t kLogFontBytes = 18 + kFaceNameBytes;
inline constexpr uint32_t kBitmapInfoBytes = 40;

}  // namespace meta

inline constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
inline constexpr size_t kPlaceableHeaderBytes = 22;

// What the placeable header says: the page's size in device pixels and the
// device's pixels per inch.
struct PlaceableHeader {
  int16_t left = 0;
  int16_t top = 0;
  int16_t right = 0;
  int16_t bottom = 0;
  uint16_t inch = 0;
  uint16_t checksum = 0;
};

// XOR of the first ten 16-bit words of the header.
uint16_t PlaceableChecksum(const PlaceableHeader& header);
// The 22 bytes, with the checksum computed.
std::vector<uint8_t> PlaceableHeaderBytes(int16_t right, int16_t bottom, uint16_t inch);

// Little-endian reading from a byte span; the caller checks the bounds.
inline uint16_t Word(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}
inline uint32_t DoubleWord(std::span<const uint8_t> bytes, size_t at) {
  return Word(bytes, at) | (static_cast<uint32_t>(Word(bytes, at + 2)) << 16);
}

}  // namespace rk::platform
