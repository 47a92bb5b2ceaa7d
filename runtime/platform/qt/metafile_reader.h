// Reads a page file back: checks the placeable header (key and checksum), the
// metafile header and every record's size against the file, so that a damaged or
// truncated file gives an error text and never a read outside the bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/platform/qt/metafile_format.h"

namespace rk::platform {

struct MetafileRecord {
  uint16_t function = 0;
  std::vector<uint16_t> parameters;
};

struct PageImage {
  PlaceableHeader header;
  std::vector<MetafileRecord> records;  // up to the end record, which is left out
};

std::optional<PageImage> ReadPageImage(std::span<const uint8_t> bytes, std::string& error);

// Reads a whole file; nothing, with an error naming the file, when it cannot be
// read.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, std::string& error);

}  // namespace rk::platform
