#include "runtime/files/kmf_record_coding.h"

#include <algorithm>
#include <cassert>

#include "runtime/files/kmf_bytes.h"

namespace rk::kmf {
namespace {

constexpr uint8_t kLengthFollows = 0x80;
constexpr uint8_t kKeyLengthFollows = 0x40;
constexpr size_t kMaxPrefix = 63;

size_t SharedPrefix(const std::string& a, const std::string& b) {
  size_t limit = std::min({kMaxPrefix, a.size(), b.size()});
  size_t shared = 0;
  while (shared < limit && a[shared] == b[shared]) ++shared;
  return shared;
}

}  // namespace

void EncodeRecords(const std::vector<Record>& records, std::string& body) {
  const Record* previous = nullptr;
  for (const Record& record : records) {
    assert(record.keyLength <= record.bytes.size());
    size_t prefix = previous ? SharedPrefix(record.bytes, previous->bytes) : 0;
    uint8_t flag = static_cast<uint8_t>(prefix);
    bool writeLength = !previous || previous->bytes.size() != record.bytes.size();
    bool writeKeyLength = !previous || previous->keyLength != record.keyLength;
    if (writeLength) flag |= kLengthFollows;
    if (writeKeyLength) flag |= kKeyLengthFollows;
    body.push_back(static_cast<char>(flag));
    if (writeLength) AppendLe16(body, static_cast<uint16_t>(record.bytes.size()));
    if (writeKeyLength) AppendLe16(body, record.keyLength);
    body.append(record.bytes, prefix, std::string::npos);
    previous = &record;
  }
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
  }
  return reader.complete();
}

}  // namespace rk::kmf
