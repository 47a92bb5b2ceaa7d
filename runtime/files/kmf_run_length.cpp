#include "runtime/files/kmf_run_length.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace rk::kmf {
namespace {

constexpr size_t kMinimumRun = 4;

void AppendCount(std::string& out, size_t count) {
  do {
    uint8_t byte = count & 0x7F;
    count >>= 7;
    if (count != 0) byte |= 0x80;
    out.push_back(static_cast<char>(byte));
  } while (count != 0);
}

bool ReadCount(std::string_view in, size_t& pos, size_t& count) {
  count = 0;
  for (int shift = 0; shift < 35; shift += 7) {
    if (pos >= in.size()) return false;
    uint8_t byte = static_cast<uint8_t>(in[pos++]);
    count |= static_cast<size_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) return true;
  }
  return false;
}

// The scan below reads eight bytes at a time where the machine is
// little-endian: byte i of a loaded word is then its bits 8i to 8i+7.
constexpr bool kWordScan = std::endian::native == std::endian::little;
constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighBits = 0x8080808080808080ULL;

uint64_t LoadWord(const char* at) {
  uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// The first position from `pos` whose byte equals the next one (no other can
// start a run), or a position within the last nine bytes.
size_t SkipToEqualPair(const char* bytes, size_t pos, size_t size) {
  if constexpr (kWordScan) {
    while (pos + 9 <= size) {
      uint64_t diff = LoadWord(bytes + pos) ^ LoadWord(bytes + pos + 1);
      // The lowest flagged byte is the first zero byte of diff (flags above a
      // zero byte may be false, never below one).
      uint64_t zero = (diff - kOnes) & ~diff & kHighBits;
      if (zero != 0) return pos + static_cast<size_t>(std::countr_zero(zero)) / 8;
      pos += 8;
    }
  }
  return pos;
}

// The end of the run of `value` that goes on at least up to `end`.
size_t RunEnd(const char* bytes, size_t end, size_t size, char value) {
  if constexpr (kWordScan) {
    const uint64_t pattern = kOnes * static_cast<uint8_t>(value);
    while (end + 8 <= size) {
      uint64_t diff = LoadWord(bytes + end) ^ pattern;
      if (diff != 0) return end + static_cast<size_t>(std::countr_zero(diff)) / 8;
      end += 8;
    }
  }
  while (end < size && bytes[end] == value) ++end;
  return end;
}

}  // namespace

bool CompressRuns(std::string_view body, std::string& out) {
  out.clear();
  out.reserve(body.size() + body.size() / 64 + 8);
  const char* bytes = body.data();
  const size_t size = body.size();
  size_t literalStart = 0;
  bool foundRun = false;
  size_t pos = 0;
  // Most bytes differ from the next one; only a pair is measured as a run.
  while (pos + kMinimumRun <= size) {
    pos = SkipToEqualPair(bytes, pos, size);
    if (pos + kMinimumRun > size) break;
    const char first = bytes[pos];
    if (bytes[pos + 1] != first) {
      ++pos;
      continue;
    }
    size_t end = RunEnd(bytes, pos + 2, size, first);
    if (end - pos >= kMinimumRun) {
      foundRun = true;
      AppendCount(out, pos + 1 - literalStart);
      out.append(bytes + literalStart, pos + 1 - literalStart);
      AppendCount(out, end - pos - 1);
      literalStart = end;
    }
    pos = end;
  }
  if (!foundRun) return false;
  AppendCount(out, size - literalStart);
  out.append(bytes + literalStart, size - literalStart);
  return true;
}

namespace {

// Most blocks of a page body are short: copies of up to this many bytes go as
// one fixed-size move when both buffers have room for it, which the compiler
// turns into two register moves instead of a call.
constexpr size_t kShortCopy = 16;

// A count of one byte (below 128) is the common case.
inline bool ReadShortCount(std::string_view in, size_t& pos, size_t& count) {
  if (pos < in.size() && static_cast<uint8_t>(in[pos]) < 0x80) {
    count = static_cast<uint8_t>(in[pos++]);
    return true;
  }
  return ReadCount(in, pos, count);
}

}  // namespace

bool ExpandRuns(std::string_view compressed, size_t expectedLength, std::string& body) {
  // Written through a pointer into a buffer of the final length (and room for
  // one short move beyond it): a page body holds many short blocks, and
  // appending each would check the capacity again.
  body.resize(expectedLength + kShortCopy);
  char* out = body.data();
  size_t written = 0;
  size_t pos = 0;
  bool complete = false;
  for (;;) {
    size_t literals = 0;
    if (!ReadShortCount(compressed, pos, literals)) break;
    if (literals > compressed.size() - pos || literals > expectedLength - written) break;
    if (literals <= kShortCopy && compressed.size() - pos >= kShortCopy) {
      std::memcpy(out + written, compressed.data() + pos, kShortCopy);
    } else {
      std::memcpy(out + written, compressed.data() + pos, literals);
    }
    written += literals;
    pos += literals;
    if (written == expectedLength) {
      complete = pos == compressed.size();
      break;
    }
    size_t repeats = 0;
    if (!ReadShortCount(compressed, pos, repeats)) break;
    if (written == 0 || repeats > expectedLength - written) break;
    if (repeats <= kShortCopy) {
      std::memset(out + written, out[written - 1], kShortCopy);
    } else {
      std::memset(out + written, out[written - 1], repeats);
    }
    written += repeats;
  }
  body.resize(expectedLength);
  return complete;
}

}  // namespace rk::kmf
