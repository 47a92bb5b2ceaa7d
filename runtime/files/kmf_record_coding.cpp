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

bool DecodeRecords(std::string_view body, size_t count, std::vector<Record>& records) {
  records.clear();
  records.reserve(count);
  size_t pos = 0;
  size_t length = 0;
  size_t keyLength = 0;
  for (size_t i = 0; i < count; ++i) {
    if (pos >= body.size()) return false;
    uint8_t flag = static_cast<uint8_t>(body[pos++]);
    size_t prefix = flag & 0x3F;
    if (i == 0 &&
        (flag & (kLengthFollows | kKeyLengthFollows)) != (kLengthFollows | kKeyLengthFollows)) {
      return false;
    }
    if (flag & kLengthFollows) {
      if (body.size() - pos < 2) return false;
      length = LoadLe16(reinterpret_cast<const uint8_t*>(body.data() + pos));
      pos += 2;
    }
    if (flag & kKeyLengthFollows) {
      if (body.size() - pos < 2) return false;
      keyLength = LoadLe16(reinterpret_cast<const uint8_t*>(body.data() + pos));
      pos += 2;
    }
    if (keyLength > length || prefix > length) return false;
    if (prefix > 0 && (i == 0 || prefix > records.back().bytes.size())) return false;
    size_t rest = length - prefix;
    if (body.size() - pos < rest) return false;
    Record record;
    record.bytes.reserve(length);
    if (prefix > 0) record.bytes.append(records.back().bytes, 0, prefix);
    record.bytes.append(body.substr(pos, rest));
    record.keyLength = static_cast<uint16_t>(keyLength);
    pos += rest;
    records.push_back(std::move(record));
  }
  return pos == body.size();
}

}  // namespace rk::kmf
