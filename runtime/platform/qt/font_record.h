// A font as the window system describes it, without the platform's font
// object: face, size in points, weight on the 100-900 scale (0 means normal),
// italic, underline and strike-out. MakeFont (fonts.h) makes the platform's font
// of it.
#pragma once

#include <string>

namespace rk::platform {

struct FontRecord {
  std::string face;  // Windows-1252
  int points = 8;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

}  // namespace rk::platform
