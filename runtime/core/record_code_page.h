// Conversion of whole records between the OEM and Windows code pages, for data
// files that hold OEM text: every text member that the record's descriptor
// names is converted in place; numbers are left alone.
#pragma once

#include <cstdint>
#include <span>

namespace rk {

// STRING and the fixed text area over their declared length, CSTRING up to its
// NUL, PSTRING over its counted length; groups and dimensions member by member.
// Returns the number of bytes walked (0 for a malformed descriptor, which
// changes nothing).
uint32_t RecordToAnsi(void* record, std::span<const uint8_t> descriptor);
uint32_t RecordToOem(void* record, std::span<const uint8_t> descriptor);

}  // namespace rk
