// The ASCII driver's options, given as texts "NAME=value": in the file
// declaration ("/CLIP=OFF/TAB=4", applied in order at OPEN) or one at a time
// through SEND. Each answers its value before the change, so that the name
// alone asks for the value:
//
//   FILEBUFFERS=n              read buffer of n x 512 bytes     the buffer size in bytes
//   QUICKSCAN=ON|OFF           trust the cached file size       "ON" or "OFF"
//   ENDOFRECORD=n,b1,...,bn    line terminator of n bytes       the terminator's bytes
//   CLIP=ON|OFF                drop trailing spaces on writing  "ON" or "OFF"
//   TAB=n                      tab handling on reading          n in decimal
//
// The text is upper-cased first. Characters between "=" and the first one from
// "0" upward are skipped before a number (a "-" just before its digits is its
// sign). A setting that cannot be read changes nothing; an unknown option
// changes nothing and answers the empty text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/files/ascii_state.h"

namespace rk {

// FILEBUFFERS accepts at most this many blocks.
inline constexpr uint32_t kAsciiMaxBufferBlocks = 1024;

std::string ApplyAsciiOption(AsciiOptions& options, std::string_view text, uint32_t recordLength);
// Each option of a declaration's option text, introduced by "/", in order.
void ApplyAsciiOptionList(AsciiOptions& options, std::string_view list, uint32_t recordLength);

// The buffer size for a number of blocks: at least twice the record length.
uint32_t AsciiBufferSize(uint32_t blocks, uint32_t recordLength);

}  // namespace rk
