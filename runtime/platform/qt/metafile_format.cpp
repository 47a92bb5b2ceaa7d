#include "runtime/platform/qt/metafile_format.h"

namespace rk::platform {

namespace {

void PutWord(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

}  // namespace

uint16_t PlaceableChecksum(const PlaceableHeader& header) {
  // Key (two words), handle 0, the box, the inch, reserved 0 (two words).
  uint16_t sum =
      static_cast<uint16_t>(kPlaceableKey & 0xFFFF) ^ static_cast<uint16_t>(kPlaceableKey >> 16);
  sum ^= static_cast<uint16_t>(header.left) ^ static_cast<uint16_t>(header.top);
  sum ^= static_cast<uint16_t>(header.right) ^ static_cast<uint16_t>(header.bottom);
  return sum ^ header.inch;
}

std::vector<uint8_t> PlaceableHeaderBytes(int16_t right, int16_t bottom, uint16_t inch) {
  PlaceableHeader header{0, 0, right, bottom, inch, 0};
  std::vector<uint8_t> out;
  out.reserve(kPlaceableHeaderBytes);
  PutWord(out, static_cast<uint16_t>(kPlaceableKey & 0xFFFF));
  PutWord(out, static_cast<uint16_t>(kPlaceableKey >> 16));
  PutWord(out, 0);  // handle
  PutWord(out, 0);  // left
  PutWord(out, 0);  // top
  PutWord(out, static_cast<uint16_t>(right));
  PutWord(out, static_cast<uint16_t>(bottom));
  PutWord(out, inch);
  PutWord(out, 0);  // reserved, two words
  PutWord(out, 0);
  PutWord(out, PlaceableChecksum(header));
  return out;
}

}  // namespace rk::platform
