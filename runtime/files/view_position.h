// POSITION, RESET and REGET of a view. The position text (numbers are 32-bit
// little-endian):
//
//   key:u32                  the ordering key's number, 0 for record order
//   { length:u32 part }      one per level, level 0 first: the level's
//                            POSITION(key) (level 0 in record order:
//                            POSITION(file)); length 0 for a level that
//                            contributed an empty record
//
// Bytes after the last part are ignored, so a position kept in a space-padded
// field reads back as it was written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/files/view.h"
#include "runtime/files/view_state.h"

namespace rk {

// 0 with the text, 33 "Record Not Available" when the view is not positioned,
// or kSilentFailure when a level's driver has posted its own error.
int32_t PositionOfView(View& view, ViewState& state, std::string& text);
// Every level RESET to its part (an empty part: GET(file, 0), not started); the
// next NEXT or PREVIOUS reads the remembered combination again. 81 "Unknown Error
// Posted" for a malformed text.
int32_t ResetView(View& view, ViewState& state, std::string_view text);
// Every level read again from its part (an empty part: the record cleared);
// read mode 2. 81 "Unknown Error Posted" for a malformed text.
int32_t RegetView(View& view, ViewState& state, std::string_view text);

}  // namespace rk
