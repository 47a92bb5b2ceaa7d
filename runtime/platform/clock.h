// Clock services of the file layer: the centisecond clock for lock and hold
// time-outs, the UTC time and date, and a time stamp in seconds.
#pragma once

#include <cstdint>

namespace rk::platform {

// Hundredths of a second since the program started.
uint32_t CentisecondClock();

struct SystemTimeOfDay {
  uint8_t hour, minute, second, hundredths;
};
struct SystemDate {
  int32_t year;
  uint8_t day, month;
};
SystemTimeOfDay CurrentTimeUtc();
SystemDate CurrentDateUtc();

// Seconds of the current UTC time counted from 1 January 1970.
uint32_t TimeStampSeconds();

}  // namespace rk::platform
