#include "runtime/platform/clock.h"

#include <chrono>
#include <ctime>

namespace rk::platform {
namespace {

const std::chrono::steady_clock::time_point kProgramStart = std::chrono::steady_clock::now();

std::tm UtcNow(int& milliseconds) {
  auto now = std::chrono::system_clock::now();
  auto sinceEpoch = now.time_since_epoch();
  milliseconds = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000);
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm parts{};
  gmtime_r(&seconds, &parts);
  return parts;
}

}  // namespace

uint32_t CentisecondClock() {
  auto elapsed = std::chrono::steady_clock::now() - kProgramStart;
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() / 10);
}

SystemTimeOfDay CurrentTimeUtc() {
  int milliseconds = 0;
  std::tm parts = UtcNow(milliseconds);
  return {static_cast<uint8_t>(parts.tm_hour), static_cast<uint8_t>(parts.tm_min),
          static_cast<uint8_t>(parts.tm_sec), static_cast<uint8_t>(milliseconds / 10)};
}

SystemDate CurrentDateUtc() {
  int milliseconds = 0;
  std::tm parts = UtcNow(milliseconds);
  return {parts.tm_year + 1900, static_cast<uint8_t>(parts.tm_mday),
          static_cast<uint8_t>(parts.tm_mon + 1)};
}

uint32_t TimeStampSeconds() {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::seconds>(now).count());
}

}  // namespace rk::platform
