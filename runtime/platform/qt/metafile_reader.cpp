#include "runtime/platform/qt/metafile_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace rk::platform {

namespace {

bool Fail(std::string& error, std::string text) {
  error = std::move(text);
  return false;
}

bool ReadPlaceable(std::span<const uint8_t> bytes, PlaceableHeader& header, std::string& error) {
  if (bytes.size() < kPlaceableHeaderBytes)
    return Fail(error, "page file too short for its header");
  if (DoubleWord(bytes, 0) != kPlaceableKey) return Fail(error, "page file has no placeable key");
  header.left = static_cast<int16_t>(Word(bytes, 6));
  header.top = static_cast<int16_t>(Word(bytes, 8));
  header.right = static_cast<int16_t>(Word(bytes, 10));
  header.bottom = static_cast<int16_t>(Word(bytes, 12));
  header.inch = Word(bytes, 14);
  header.checksum = Word(bytes, 20);
  if (header.checksum != PlaceableChecksum(header)) {
    return Fail(error, "page file header checksum does not match");
  }
  if (header.right <= header.left || header.bottom <= header.top || header.inch == 0) {
    return Fail(error, "page file header gives an empty page");
  }
  return true;
}

bool ReadRecords(std::span<const uint8_t> body, std::vector<MetafileRecord>& records,
                 std::string& error) {
  if (body.size() < meta::kHeaderBytes) return Fail(error, "metafile header is truncated");
  uint16_t headerWords = Word(body, 2);
  if (headerWords != meta::kHeaderBytes / 2) return Fail(error, "metafile header size is wrong");
  size_t at = meta::kHeaderBytes;
  while (true) {
    if (at + meta::kRecordHeaderWords * 2 > body.size()) {
      return Fail(error, "metafile ends without its end record (offset " +
                             std::to_string(at + kPlaceableHeaderBytes) + ")");
    }
    uint32_t words = DoubleWord(body, at);
    uint16_t function = Word(body, at + 4);
    if (words < meta::kRecordHeaderWords || (body.size() - at) / 2 < words) {
      return Fail(error, "metafile record at offset " + std::to_string(at + kPlaceableHeaderBytes) +
                             " has a bad size");
    }
    if (function == meta::kEof) return true;
    MetafileRecord record{function, {}};
    record.parameters.reserve(words - meta::kRecordHeaderWords);
    for (size_t i = meta::kRecordHeaderWords; i < words; ++i) {
      record.parameters.push_back(Word(body, at + 2 * i));
    }
    records.push_back(std::move(record));
    at += static_cast<size_t>(words) * 2;
  }
}

}  // namespace

std::optional<PageImage> ReadPageImage(std::span<const uint8_t> bytes, std::string& error) {
  PageImage image;
  if (!ReadPlaceable(bytes, image.header, error)) return std::nullopt;
  if (!ReadRecords(bytes.subspan(kPlaceableHeaderBytes), image.records, error)) return std::nullopt;
  return image;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = "cannot read page file " + path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + n);
  bool failed = std::ferror(file) != 0;
  int readErrno = errno;
  std::fclose(file);
  if (failed) {
    error = "cannot read page file " + path + ": " + std::strerror(readErrno);
    return std::nullopt;
  }
  return bytes;
}

}  // namespace rk::platform
