// Fills a directory with the six files of the collection, made through the file
// driver and filled with generated records; the same options give the same files.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace rk::seed {

// Serial numbers are SHORT fields: tapes past this one get serial 0, and no
// more videos than this are made.
inline constexpr int32_t kLastSerial = 32767;

struct SeedOptions {
  std::string directory = ".";
  int32_t tapes = 50;
  int32_t itemsPerTape = 6;
  int32_t videos = 40;
  int32_t castPerVideo = 4;
  uint64_t seed = 1;
};

// Creates the files (replacing what they held) and adds the records. Returns 0,
// or the file error that stopped it, after writing a line about it to errors.
int32_t SeedCollection(const SeedOptions& options, std::ostream& errors);

}  // namespace rk::seed
