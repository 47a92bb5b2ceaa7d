#include "runtime/core/time_value.h"

#include "runtime/platform/clock.h"

namespace rk {

int32_t TimeToValue(int32_t hours, int32_t minutes, int32_t seconds, int32_t hundredths) {
  if (hours == 0 && minutes == 0 && seconds == 0 && hundredths == 0) return 0;
  if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59) return -1;
  if (seconds < 0 || seconds > 59 || hundredths < 0 || hundredths > 99) return -1;
  return hours * 360000 + minutes * 6000 + seconds * 100 + hundredths + 1;
}

bool ValueToTime(int32_t timeValue, ClockTime& time) {
  time = {};
  if (timeValue < 1 || timeValue > kLastTimeValue) return false;
  int32_t t = timeValue - 1;
  time.hours = t / 360000;
  t %= 360000;
  time.minutes = t / 6000;
  t %= 6000;
  time.seconds = t / 100;
  time.hundredths = t % 100;
  return true;
}

int32_t PackedTimeToValue(uint32_t packed) {
  auto part = [packed](int shift) { return static_cast<int32_t>((packed >> shift) & 0xFF); };
  return TimeToValue(part(24), part(16), part(8), part(0));
}

uint32_t ValueToPackedTime(int32_t timeValue) {
  ClockTime time;
  if (!ValueToTime(timeValue, time)) return 0;
  return static_cast<uint32_t>(time.hundredths) | static_cast<uint32_t>(time.seconds) << 8 |
         static_cast<uint32_t>(time.minutes) << 16 | static_cast<uint32_t>(time.hours) << 24;
}

int32_t Clock() {
  platform::SystemTimeOfDay now = platform::CurrentTimeUtc();
  int32_t second = now.second > 59 ? 59 : now.second;  // a leap second stays in its minute
  return TimeToValue(now.hour, now.minute, second, now.hundredths);
}

}  // namespace rk
