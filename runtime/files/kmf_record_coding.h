// Prefix compression of the records of one page body.
//
// Each record is written relative to the record before it on the same page:
//   flag byte: 0x80 = a 2-byte record length follows, 0x40 = a 2-byte key length
//              follows, low 6 bits = leading bytes (0..63) shared with the
//              previous record
//   [record length, 2 bytes LE]  when 0x80; otherwise the previous record's length
//   [key length, 2 bytes LE]     when 0x40; otherwise the previous key length
//   the record's bytes after the shared prefix
// The writer sets 0x80 / 0x40 when there is no previous record or the length
// differs, and shares the equal leading bytes among the first
// min(63, this length, previous length) bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/files/kmf_record.h"

namespace rk::kmf {

void EncodeRecords(const std::vector<Record>& records, std::string& body);

// Walks the records of a body one at a time without allocating for each: the
// current record is rebuilt in one scratch buffer that the caller lends (its
// capacity is kept between pages). A record view is good until the next call
// of Next.
class RecordReader {
 public:
  RecordReader(std::string_view body, size_t count, std::string& scratch);
  // Moves to the next record; false after the last one or at the first
  // inconsistency (then failed()).
  bool Next();
  std::string_view bytes() const { return current_; }
  std::string_view key() const { return std::string_view(current_).substr(0, keyLength_); }
  uint16_t keyLength() const { return static_cast<uint16_t>(keyLength_); }
  bool failed() const { return failed_; }
  // Every record read and the body used up exactly.
  bool complete() const { return !failed_ && read_ == count_ && pos_ == body_.size(); }

 private:
  bool Fail();

  std::string_view body_;
  size_t count_;
  std::string& current_;
  size_t read_ = 0;
  size_t pos_ = 0;
  size_t length_ = 0;
  size_t keyLength_ = 0;
  bool failed_ = false;
};

// Decodes count records from body; false when a record runs past the body, a
// prefix exceeds the previous record, a key length exceeds its record, or the
// records do not end exactly at the end of the body.
bool DecodeRecords(std::string_view body, size_t count, std::vector<Record>& records);

}  // namespace rk::kmf
