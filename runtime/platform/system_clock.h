// The operating system's clock, read in Coordinated Universal Time (the system
// time, not the local time), broken into calendar fields.
#pragma once

namespace rk::platform {

struct SystemTime {
  int year = 0;
  int month = 0;  // 1-12
  int day = 0;    // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

SystemTime CurrentSystemTime();

}  // namespace rk::platform
