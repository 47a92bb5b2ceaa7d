// The read buffer of a text file: one block of the file, read at the offset a
// reader asks for and kept until the reader moves past it. Readers go forward,
// so a block always starts where the first byte not yet held was wanted.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "runtime/platform/os_file.h"

namespace rk {

class AsciiReadBuffer {
 public:
  // A new size drops what is held.
  void Resize(uint32_t size);
  uint32_t size() const { return static_cast<uint32_t>(bytes_.size()); }
  // Forgets the held block (after a write, or when another program may have
  // changed the file).
  void Invalidate() { held_ = 0; }

  // The byte at offset, or -1 when offset is at or past limit, past the file's
  // real end, or the read failed (error() is then not 0).
  int At(platform::FileHandle handle, uint64_t offset, uint64_t limit);
  // The held bytes from offset up to limit; empty when offset is not held.
  std::span<const uint8_t> HeldFrom(uint64_t offset, uint64_t limit) const;
  // The Windows error number of the last failed read, 0 after a good one.
  uint32_t error() const { return error_; }

 private:
  bool Holds(uint64_t offset) const { return offset >= start_ && offset - start_ < held_; }

  std::vector<uint8_t> bytes_;
  uint64_t start_ = 0;  // file offset of bytes_[0]
  uint32_t held_ = 0;   // valid bytes from start_
  uint32_t error_ = 0;
};

}  // namespace rk
