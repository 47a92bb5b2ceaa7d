#include "runtime/platform/system_clock.h"

#include <ctime>

namespace rk::platform {

SystemTime CurrentSystemTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm fields{};
  gmtime_r(&now.tv_sec, &fields);
  SystemTime result;
  result.year = fields.tm_year + 1900;
  result.month = fields.tm_mon + 1;
  result.day = fields.tm_mday;
  result.hour = fields.tm_hour;
  result.minute = fields.tm_min;
  result.second = fields.tm_sec > 59 ? 59 : fields.tm_sec;  // a leap second stays in its minute
  result.millisecond = static_cast<int>(now.tv_nsec / 1000000);
  return result;
}

}  // namespace rk::platform
