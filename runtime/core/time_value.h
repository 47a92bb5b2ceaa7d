// Time values: hours x 360000 + minutes x 6000 + seconds x 100 + hundredths + 1,
// so midnight is 1 and 23:59:59.99 is 8640000. 0 means "no time".
#pragma once

#include <cstdint>

namespace rk {

inline constexpr int32_t kLastTimeValue = 8640000;

struct ClockTime {
  int32_t hours = 0;
  int32_t minutes = 0;
  int32_t seconds = 0;
  int32_t hundredths = 0;
};

// 0 when all four parts are 0; -1 when any part is out of range.
int32_t TimeToValue(int32_t hours, int32_t minutes, int32_t seconds, int32_t hundredths);
// False (and all-zero parts) for a value outside 1..8640000.
bool ValueToTime(int32_t timeValue, ClockTime& time);

// The packed TIME field read as a little-endian 32-bit integer: byte 0
// hundredths, byte 1 seconds, byte 2 minutes, byte 3 hours. All zero reads as 0
// (no time); any other invalid packing reads as -1.
int32_t PackedTimeToValue(uint32_t packed);
// An invalid time value packs as all zero.
uint32_t ValueToPackedTime(int32_t timeValue);

// The current time of day (the system clock in Coordinated Universal Time).
int32_t Clock();

}  // namespace rk
