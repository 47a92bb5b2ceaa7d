// Where a record stands in a key or a view, as the procedures keep it in their
// queues: POSITION's text, space padded to a fixed 512 bytes so that positions
// compare as whole strings and fit a queue field.
#pragma once

#include <cstddef>
#include <string>

namespace rk {

inline constexpr size_t kPositionSize = 512;

inline std::string PaddedPosition(std::string position) {
  position.resize(kPositionSize, ' ');
  return position;
}

}  // namespace rk
