// Run-length compression of a KMF page body.
//
// Compressed layout: literal count, that many literal bytes, repeat count, literal
// count, literal bytes, repeat count, ... ending after the literal block that
// completes the uncompressed length. A repeat count n stands for n more copies of
// the last byte written. Counts are base-128 numbers, low 7 bits first, bit 0x80
// set on every byte but the last.
//
// The compressor looks for runs of at least 4 equal bytes; for each run it emits
// the literals up to and including the run's first byte, then the run's length
// minus 1 as repeat count; the bytes after the last run form the final literal
// block (possibly empty).
#pragma once

#include <string>
#include <string_view>

namespace rk::kmf {

// Writes the compressed body to `out` (replacing what it held); false when the
// body holds no run of 4 equal bytes.
bool CompressRuns(std::string_view body, std::string& out);

// Expands into exactly expectedLength bytes. False when the input is malformed:
// a count running past the input, a repeat before any byte, output overflowing
// the expected length, or bytes left over.
bool ExpandRuns(std::string_view compressed, size_t expectedLength, std::string& body);

}  // namespace rk::kmf
