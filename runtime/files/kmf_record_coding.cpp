#include "runtime/files/kmf_record_coding.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

#include "runtime/files/kmf_bytes.h"

namespace rk::kmf {
namespace {

constexpr uint8_t kLengthFollows = 0x80;
constexpr uint8_t kKeyLengthFollows = 0x40;
constexpr size_t kMaxPrefix = 63;

// Eight bytes at a time: keys of neighbouring records share long prefixes.
size_t SharedPrefix(const char* a, const char* b, size_t limit) {
  size_t shared = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; shared + 8 <= limit; shared += 8) {
      uint64_t x, y;
      std::memcpy(&x, a + shared, 8);
      std::memcpy(&y, b + shared, 8);
      if (x != y) return shared + static_cast<size_t>(std::countr_zero(x ^ y)) / 8;
    }
  }
  while (shared < limit && a[shared] == b[shared]) ++shared;
  return shared;
}

}  // namespace

void EncodeRecords(const std::vector<Record>& records, std::string& body) {
  // At most a flag and two lengths per record besides its bytes.
  size_t start = body.size();
  size_t most = 0;
  for (const Record& record : records) most += record.bytes.size() + 5;
  body.resize(start + most);
  char* out = body.data() + start;
  const Record* previous = nullptr;
  for (const Record& record : records) {
    assert(record.keyLength <= record.bytes.size());
    const size_t length = record.bytes.size();
    size_t prefix = 0;
    if (previous) {
      size_t limit = std::min({kMaxPrefix, length, previous->bytes.size()});
      prefix = SharedPrefix(record.bytes.data(), previous->bytes.data(), limit);
    }
    uint8_t flag = static_cast<uint8_t>(prefix);
    bool writeLength = !previous || previous->bytes.size() != length;
    bool writeKeyLength = !previous || previous->keyLength != record.keyLength;
    if (writeLength) flag |= kLengthFollows;
    if (writeKeyLength) flag |= kKeyLengthFollows;
    *out++ = static_cast<char>(flag);
    if (writeLength) {
      StoreLe16(reinterpret_cast<uint8_t*>(out), static_cast<uint16_t>(length));
      out += 2;
    }
    if (writeKeyLength) {
      StoreLe16(reinterpret_cast<uint8_t*>(out), record.keyLength);
      out += 2;
    }
    std::memcpy(out, record.bytes.data() + prefix, length - prefix);
    out += length - prefix;
    previous = &record;
  }
  body.resize(static_cast<size_t>(out - body.data()));
}

RecordReader::RecordReader(std::string_view body, size_t count, std::string& scratch)
    : body_(body), count_(count), current_(scratch) {
  current_.clear();
}

bool RecordReader::Fail() {
  failed_ = true;
  return false;
}

bool RecordReader::Next() {
  if (failed_ || read_ == count_) return false;
  if (pos_ >= body_.size()) return Fail();
  uint8_t flag = static_cast<uint8_t>(body_[pos_++]);
  size_t prefix = flag & 0x3F;
  constexpr uint8_t kBothLengths = kLengthFollows | kKeyLengthFollows;
  if (read_ == 0 && (flag & kBothLengths) != kBothLengths) return Fail();
  if (flag & kLengthFollows) {
    if (body_.size() - pos_ < 2) return Fail();
    length_ = LoadLe16(reinterpret_cast<const uint8_t*>(body_.data() + pos_));
    pos_ += 2;
  }
  if (flag & kKeyLengthFollows) {
    if (body_.size() - pos_ < 2) return Fail();
    keyLength_ = LoadLe16(reinterpret_cast<const uint8_t*>(body_.data() + pos_));
    pos_ += 2;
  }
  // The shared prefix is still at the front of the buffer: it held the
  // previous record.
  if (keyLength_ > length_ || prefix > length_ || prefix > current_.size()) return Fail();
  size_t rest = length_ - prefix;
  if (body_.size() - pos_ < rest) return Fail();
  current_.resize(prefix);
  current_.append(body_.substr(pos_, rest));
  pos_ += rest;
  ++read_;
  return true;
}

bool DecodeRecords(std::string_view body, size_t count, std::vector<Record>& records) {
  records.clear();
  records.reserve(count);
  thread_local std::string scratch;
  RecordReader reader(body, count, scratch);
  while (reader.Next()) {
    Record& record = records.emplace_back();
    record.bytes.assign(reader.bytes());
    record.keyLength = reader.keyLength();
    record.SetHead();
  }
  return reader.complete();
}

}  // namespace rk::kmf
