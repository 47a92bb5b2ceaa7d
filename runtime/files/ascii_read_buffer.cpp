#include "runtime/files/ascii_read_buffer.h"

#include <algorithm>

namespace rk {

void AsciiReadBuffer::Resize(uint32_t size) {
  bytes_.assign(std::max<uint32_t>(size, 1), 0);
  held_ = 0;
}

int AsciiReadBuffer::At(platform::FileHandle handle, uint64_t offset, uint64_t limit) {
  error_ = 0;
  if (offset >= limit) return -1;
  if (!Holds(offset)) {
    if (bytes_.empty()) Resize(1);
    uint32_t wanted = static_cast<uint32_t>(std::min<uint64_t>(bytes_.size(), limit - offset));
    uint32_t got = 0;
    error_ = platform::ReadAt(handle, offset, bytes_.data(), wanted, got);
    start_ = offset;
    held_ = error_ == 0 ? got : 0;
    if (held_ == 0) return -1;
  }
  return bytes_[offset - start_];
}

std::span<const uint8_t> AsciiReadBuffer::HeldFrom(uint64_t offset, uint64_t limit) const {
  if (!Holds(offset) || offset >= limit) return {};
  uint64_t count = std::min<uint64_t>(held_ - (offset - start_), limit - offset);
  return {bytes_.data() + (offset - start_), static_cast<size_t>(count)};
}

}  // namespace rk
