#include "runtime/files/kmf_header.h"

#include <cstring>

#include "runtime/files/kmf_bytes.h"

namespace rk::kmf {
namespace {
constexpr char kSignature[4] = {'k', 'E', 'l', 'D'};
}

Header NewHeader() {
  Header header;
  header.hasSignature = true;
  return header;
}

void EncodeHeader(const Header& header, uint8_t* out) {
  std::memset(out, 0, kHeaderSize);
  StoreLe32(out + 0x000, 0);
  StoreLe16(out + 0x004, kHeaderSize);
  StoreLe32(out + 0x006, header.committedEnd);
  StoreLe32(out + 0x00A, header.pendingEnd);
  if (header.hasSignature) std::memcpy(out + 0x00E, kSignature, 4);
  StoreBe32(out + 0x014, header.lastNumberIssued);
  StoreLe32(out + 0x018, header.changeCounter);
  StoreLe32(out + 0x01C, header.root);
  for (int i = 0; i < kClassCount; ++i) {
    StoreLe32(out + 0x020 + 4 * i, header.rangeStart[i]);
    StoreLe32(out + 0x110 + 4 * i, header.rangeEnd[i]);
  }
}

Header DecodeHeader(const uint8_t* in) {
  Header header;
  header.committedEnd = LoadLe32(in + 0x006);
  header.pendingEnd = LoadLe32(in + 0x00A);
  header.hasSignature = std::memcmp(in + 0x00E, kSignature, 4) == 0;
  header.lastNumberIssued = LoadBe32(in + 0x014);
  header.changeCounter = LoadLe32(in + 0x018);
  header.root = LoadLe32(in + 0x01C);
  for (int i = 0; i < kClassCount; ++i) {
    header.rangeStart[i] = LoadLe32(in + 0x020 + 4 * i);
    header.rangeEnd[i] = LoadLe32(in + 0x110 + 4 * i);
  }
  return header;
}

int ClassOfAddress(const Header& header, uint32_t address) {
  for (int i = 1; i < kClassCount; ++i) {
    if (address >= header.rangeStart[i] && address < header.rangeEnd[i]) return i;
  }
  return 0;
}

uint32_t UsedEnd(const Header& header) {
  for (int i = kClassCount - 1; i >= 1; --i) {
    if (header.rangeEnd[i] > header.rangeStart[i]) {
      return static_cast<uint32_t>(PageOffset(header.rangeEnd[i]));
    }
  }
  return kHeaderSize;
}

}  // namespace rk::kmf
