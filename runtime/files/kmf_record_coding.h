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

// Decodes count records from body; false when a record runs past the body, a
// prefix exceeds the previous record, a key length exceeds its record, or the
// records do not end exactly at the end of the body.
bool DecodeRecords(std::string_view body, size_t count, std::vector<Record>& records);

}  // namespace rk::kmf
